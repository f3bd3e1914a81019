#include "state/choices.h"

#include "catalogue/fabrics.h"
#include "catalogue/models.h"
#include "catalogue/rules.h"

#include <string>

namespace state {

namespace {

// The fabric a recorded code selects, or -1 when the code selects nothing:
// codes the model does not look up, and anything that is not one letter.
int fabricForCode(std::string_view lookupCodes, const std::string& code)
{
    if (code.size() != 1 || lookupCodes.find(code[0]) == std::string_view::npos)
        return -1;
    if (code[0] == '1')
        return cat::kCottonFelt;
    for (const cat::Fabric& fabric : cat::kFabrics)
        if (fabric.letter == code[0])
            return fabric.index;
    return -1;
}

inline constexpr std::string_view kTapeOnly[] = {cat::kFabrics[cat::kTape].name};

} // namespace

AreaChoice chooseArea(ModelDesign& design, int m, bool backView, int row)
{
    AreaChoice choice;
    if (!cat::isModelIndex(m))
        return choice;
    const cat::SuitModel& model = cat::kModels[m];
    const bool back = m == cat::kBrisa && backView;
    const int rows = static_cast<int>(back ? model.backAreas.size() : model.areas.size());
    if (row >= rows)
        row = -1;
    const int slot = row < 0 ? -1 : row + (back ? cat::kBackOffset : 0);

    if (m != cat::kBrisa) {
        const std::string_view area = slot >= 0 ? model.areas[static_cast<std::size_t>(slot)].name : "";
        if (area == cat::kBindingTape) {
            design.currentFabric = cat::kTape;
            choice.listFabrics = true;
            choice.fabrics = kTapeOnly;
            choice.selectFabric = cat::kTape;
            choice.tapePalette = true;
            return choice;
        }
        if (const cat::FabricRule* rule = cat::fabricRuleFor(m, area)) {
            choice.listFabrics = true;
            choice.fabrics = rule->fabrics;
        }
    }
    if (slot >= 0) {
        const int fabric =
            fabricForCode(model.lookupCodes, design.areaFabricCode[static_cast<std::size_t>(slot)]);
        if (fabric >= 0) {
            design.currentFabric = static_cast<std::int16_t>(fabric);
            choice.selectFabric = fabric;
        }
    }
    return choice;
}

void chooseFabric(DesignState& state, int m, int fabric)
{
    if (!cat::isModelIndex(m) || !cat::isFabricIndex(fabric))
        return;
    state[m].currentFabric = static_cast<std::int16_t>(fabric);
    state.fallRate = cat::kFabrics[fabric].fallRate;
}

} // namespace state
