#include "state/state.h"

#include "catalogue/texts.h"

#include <cmath>

namespace state {

std::int16_t roundToInt16(double value)
{
    // The default rounding mode rounds halves to even.
    return static_cast<std::int16_t>(std::nearbyint(value));
}

void resetToStartValues(DesignState& state)
{
    for (int m = 0; m < cat::kModelCount; ++m) {
        ModelDesign& design = state[m];
        design = ModelDesign{};
        design.areaColour.fill(cat::kNoColour);
        design.areaFabric.fill(0);
        design.fileName = cat::kUntitled;
    }
    state.keyX.fill(0);
    state.keyY.fill(0);
    state.fallRate.clear();
    state.dialogFolder.clear();
}

void setDefaultLetters(ModelDesign& design, int model)
{
    for (int slot = 0; slot < cat::slotCount(model); ++slot)
        design.areaFabricCode[static_cast<std::size_t>(slot)] =
            std::string(1, cat::defaultLetter(model, slot));
}

void clearAreas(ModelDesign& design, int model)
{
    for (int slot = 0; slot < cat::slotCount(model); ++slot) {
        const auto s = static_cast<std::size_t>(slot);
        design.areaColour[s] = cat::kNoColour;
        design.areaFabric[s] = cat::kNoColour;
        design.areaColourName[s].clear();
    }
}

void computeKeyPoints(DesignState& state, int keyWidth, int keyHeight)
{
    for (int k = 0; k < 10; ++k) {
        state.keyX[static_cast<std::size_t>(k)] = roundToInt16(keyWidth / 2.0);
        state.keyY[static_cast<std::size_t>(k)] = roundToInt16(keyHeight / 10.0 * (k + 1) - 1);
    }
}

} // namespace state
