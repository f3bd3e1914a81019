// Fuzzes what a design file can do to the designer: the first input byte picks
// the model, the rest is the file's content. It runs the read, the rebuild's
// decisions (slots, colours, names, codes, colour-list lines) and the save of
// what was read, all without a window or a disk.
#include "catalogue/catalogue.h"
#include "files/record.h"
#include "order/summary.h"
#include "state/rebuild_plan.h"
#include "state/state.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

namespace {

// A model's design as New leaves it, which is what Open reads into.
state::DesignState afterNew()
{
    state::DesignState state;
    state::resetToStartValues(state);
    for (int m = 0; m < cat::kModelCount; ++m) {
        state::setDefaultLetters(state[m], m);
        state::clearAreas(state[m], m);
    }
    return state;
}

void check(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const state::DesignState fresh = afterNew();
    if (size < 1)
        return 0;
    const int m = data[0] % cat::kModelCount;
    const std::span<const std::uint8_t> content(data + 1, size - 1);
    state::ModelDesign design = fresh[m];

    const bool read = files::unpackDesignRecord(m, content, design);
    check(read == (content.size() >= static_cast<std::size_t>(files::recordBytes(m))));
    if (!read)
        return 0;

    const state::RebuildPlan plan = state::planRebuild(m, design);
    check(plan.count >= 0 && plan.count <= cat::slotCount(m));
    for (int r = 0; r < plan.count; ++r) {
        const state::SlotRepaint& repaint = plan.repaints[static_cast<std::size_t>(r)];
        check(repaint.slot >= 0 && repaint.slot < cat::slotCount(m));
        check(repaint.colour != cat::kBoundary && !repaint.colourName.empty());
        check(repaint.keyPoint >= 0 && repaint.keyPoint < cat::keySlots(repaint.key));
        check(repaint.paintsDrawing == (repaint.slot != cat::tapeSlot(m)));
    }
    const state::ModelDesign before = design;
    state::applyNamesAndCodes(plan, design);
    check(design.areaColour == before.areaColour && design.areaFabric == before.areaFabric);

    const order::OrderSummary summary = order::summaryLines(m, design);
    check(summary.front.size() == cat::kModels[m].areas.size());
    check(summary.back.size() == cat::kModels[m].backAreas.size());
    for (const auto* lines : {&summary.front, &summary.back})
        for (const std::string& line : *lines)
            check(line.empty() || line.back() == ')');

    // Saving what was read gives back the record exactly, odd words included.
    const files::RecordBytes saved = files::packDesignRecord(m, design);
    check(saved.size == files::recordBytes(m));
    check(std::memcmp(saved.bytes.data(), content.data(), static_cast<std::size_t>(saved.size)) == 0);
    return 0;
}
