// Fuzzes what a design file can do to the designer: the first input byte picks
// the model, the rest is the file's content. It runs the read, the rebuild's
// decisions (slots, colours, names, codes, colour-list lines), the order
// details after the record and the save of what was read, all without a window
// or a disk.
#include "catalogue/catalogue.h"
#include "files/order_block.h"
#include "files/record.h"
#include "order/summary.h"
#include "state/rebuild_plan.h"
#include "state/state.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

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

    // One order row per slot; a row shows a colour exactly where the rebuild
    // repaints, and in the colour the rebuild paints.
    const std::vector<order::OrderRow> rows = order::rows(m, design);
    check(rows.size() == static_cast<std::size_t>(cat::slotCount(m)));
    std::array<const state::SlotRepaint*, cat::kMaxSlots> repaintOf{};
    for (int r = 0; r < plan.count; ++r)
        repaintOf[static_cast<std::size_t>(plan.repaints[static_cast<std::size_t>(r)].slot)] =
            &plan.repaints[static_cast<std::size_t>(r)];
    for (const order::OrderRow& row : rows) {
        const state::SlotRepaint* repaint = repaintOf[static_cast<std::size_t>(row.slot)];
        check(row.coloured() == (repaint != nullptr) && (row.cell != nullptr) == (repaint != nullptr));
        check(!row.area.empty() && (row.line().empty() || row.line().back() == ')'));
        if (repaint != nullptr)
            check(row.cell->value == repaint->colour && row.colour == repaint->colourName &&
                  !row.fabric.empty());
    }

    // Saving what was read gives back the record exactly, odd words included.
    const files::RecordBytes saved = files::packDesignRecord(m, design);
    check(saved.size == files::recordBytes(m));
    check(std::memcmp(saved.bytes.data(), content.data(), static_cast<std::size_t>(saved.size)) == 0);

    // What follows the record: a block only when every part checks, and the
    // details it gives write a block that reads back as the same details.
    const std::span<const std::uint8_t> after = content.subspan(static_cast<std::size_t>(saved.size));
    const std::optional<files::FoundBlock> found = files::findOrderBlock(after);
    if (!found)
        return 0;
    check(found->size >= files::kOrderFrameSize && static_cast<std::size_t>(found->size) <= after.size());
    check(found->size - files::kOrderFrameSize <= files::kMaxOrderPayload);
    const state::OrderDetails details = files::orderFromJson(found->object);
    const std::optional<QByteArray> block = files::orderBlock(details);
    if (!block || block->isEmpty())
        return 0; // a payload grown by re-encoding, or an empty object
    const std::optional<files::FoundBlock> again = files::findOrderBlock(
        {reinterpret_cast<const std::uint8_t*>(block->constData()), static_cast<std::size_t>(block->size())});
    check(again && again->size == block->size());
    state::OrderDetails reread = files::orderFromJson(again->object);
    reread.stored = details.stored;
    check(reread == details);
    return 0;
}
