#include "state/rebuild_plan.h"

#include "catalogue/fabrics.h"

#include <algorithm>

namespace state {

RebuildPlan planRebuild(int m, const ModelDesign& design)
{
    RebuildPlan plan;
    if (!cat::isModelIndex(m))
        return plan;
    const cat::SuitModel& model = cat::kModels[m];
    const int areas = cat::hasTape(m) ? cat::slotCount(m) - 1 : cat::slotCount(m);

    for (int i = 0; i < areas; ++i) {
        const auto s = static_cast<std::size_t>(i);
        if (design.areaColour[s] == cat::kNoColour)
            continue;
        // The area's own fabric chooses its palette; no model's current
        // fabric is touched.
        const int fabric = design.areaFabric[s];
        const bool recognised = std::find(model.rebuildFabrics.begin(), model.rebuildFabrics.end(), fabric) !=
                                model.rebuildFabrics.end();
        const cat::PaletteColour* colour =
            recognised ? cat::paletteColour(fabric, design.areaColour[s]) : nullptr;
        if (colour == nullptr)
            continue;
        const bool backKey = m == cat::kBrisa && i >= cat::kBackOffset;
        plan.repaints[static_cast<std::size_t>(plan.count++)] = {i,
                                                                 colour->value,
                                                                 colour->name,
                                                                 cat::kFabrics[fabric].letter,
                                                                 true,
                                                                 backKey ? cat::kBrisaBack : m,
                                                                 backKey ? i - cat::kBackOffset : i};
    }

    if (cat::hasTape(m)) {
        const int t = cat::tapeSlot(m);
        const std::int16_t stored = design.areaColour[static_cast<std::size_t>(t)];
        if (stored != cat::kNoColour)
            if (const cat::PaletteColour* tape = cat::paletteColour(cat::kTape, stored))
                plan.repaints[static_cast<std::size_t>(plan.count++)] = {t,     tape->value, tape->name, 0,
                                                                         false, m,           t};
    }
    return plan;
}

void applyNamesAndCodes(const RebuildPlan& plan, ModelDesign& design)
{
    for (int r = 0; r < plan.count; ++r) {
        const SlotRepaint& repaint = plan.repaints[static_cast<std::size_t>(r)];
        const auto s = static_cast<std::size_t>(repaint.slot);
        design.areaColourName[s] = std::string(repaint.colourName);
        if (repaint.fabricCode != 0)
            design.areaFabricCode[s] = std::string(1, repaint.fabricCode);
        design.currentColour = repaint.colour;
    }
}

} // namespace state
