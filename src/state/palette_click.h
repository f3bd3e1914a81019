#pragma once

#include "catalogue/colour.h"
#include "catalogue/palette_geometry.h"
#include "state/state.h"

namespace state {

// What a palette click changed, for the controls to show.
struct ColourApplication {
    bool taken = false; // false: an empty place of the palette, nothing changed
    // The marker of the cell taken before goes (drawn over in its colour).
    bool eraseMarker = false;
    int previousColumn = 0;
    int previousRow = 0;
    cat::Colour previousColour = 0;
    int slot = -1;              // the area slot painted, -1 when no area is chosen
    bool paintsDrawing = false; // the binding tape shows only in the key and the list
    int key = 0;                // colour-key control: the model, or 8 for Brisa's back key
    int keyPoint = 0;           // fill point of the key slot
};

// A click on the current fabric's palette of model m at `hit`, applied to
// row `areaRow` of the area list (Brisa's back list when `backView`), -1
// when no area is chosen. An empty place changes nothing. Otherwise the
// palette cell, the taken colour and the flags change even without an area,
// and the area's slot takes the colour, its fabric, the fabric's code letter
// and the colour's name.
ColourApplication applyColour(ModelDesign& design, int m, bool backView, int areaRow, cat::PaletteHit hit);

} // namespace state
