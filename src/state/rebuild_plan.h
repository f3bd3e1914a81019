#pragma once

#include "catalogue/colour.h"
#include "catalogue/models.h"
#include "state/state.h"

#include <array>
#include <string_view>

namespace state {

// What rebuilding one stored slot does: its colour goes into the drawing
// (unless it is the binding tape) and into one slot of a colour key, and the
// slot takes the colour's name and, for areas, its fabric's code letter.
struct SlotRepaint {
    int slot = 0;
    cat::Colour colour = 0;
    std::string_view colourName;
    char fabricCode = 0; // 0: the code is left as it is (the tape slot)
    bool paintsDrawing = true;
    int key = 0;      // colour-key control: the model, or 8 for Brisa's back key
    int keyPoint = 0; // fill point of the key slot
};

// The repaints of a whole stored design, in the order they are done.
struct RebuildPlan {
    std::array<SlotRepaint, cat::kMaxSlots> repaints{};
    int count = 0;
};

// Decides the rebuild of model m from its stored colours and fabrics. A slot
// is repainted only when its colour names a real cell of a palette: 99, a
// fabric the model's rebuild does not recognise, and a colour beyond the
// palette (or negative) leave the slot untouched. Reads nothing outside the
// catalogue's tables, whatever the design holds.
RebuildPlan planRebuild(int m, const ModelDesign& design);

// Records the plan's names and codes in the design; the colour of the last
// repaint becomes the model's current colour, as a rebuild leaves it.
void applyNamesAndCodes(const RebuildPlan& plan, ModelDesign& design);

} // namespace state
