#include "state/palette_click.h"

#include "catalogue/fabrics.h"
#include "catalogue/models.h"
#include "catalogue/palette_geometry.h"

#include <string>

namespace state {

ColourApplication applyColour(ModelDesign& design, int m, bool backView, int areaRow, cat::PaletteHit hit)
{
    ColourApplication change;
    if (!cat::isModelIndex(m))
        return change;
    design.previousColumn = design.paletteColumn;
    design.previousRow = design.paletteRow;
    if (hit.column >= 0)
        design.paletteColumn = static_cast<std::int16_t>(hit.column);
    if (hit.row >= 0)
        design.paletteRow = static_cast<std::int16_t>(hit.row);
    const int colourIndex = cat::cellIndex(design.paletteColumn, design.paletteRow);
    const cat::PaletteColour* taken = cat::paletteColour(design.currentFabric, colourIndex);
    if (taken == nullptr) {
        // A place beyond the palette's last colour: the marker and the taken colour stay.
        design.paletteColumn = design.previousColumn;
        design.paletteRow = design.previousRow;
        return change;
    }

    change.taken = true;
    change.eraseMarker = design.hasColour();
    change.previousColumn = design.previousColumn;
    change.previousRow = design.previousRow;
    change.previousColour = design.currentColour;
    design.currentColour = taken->value;
    design.changed = true;
    design.saved = false;

    const bool back = m == cat::kBrisa && backView;
    const auto areas = back ? cat::kModels[m].backAreas : cat::kModels[m].areas;
    if (areaRow < 0 || areaRow >= static_cast<int>(areas.size()))
        return change; // no area chosen: nothing to apply the colour to
    const int slot = areaRow + (back ? cat::kBackOffset : 0);
    const auto s = static_cast<std::size_t>(slot);
    // The code names the fabric whose colour is applied, the one stored with
    // it, even where an opened file gave the area a fabric its list does not offer.
    design.areaFabricCode[s] = std::string(1, cat::kFabrics[design.currentFabric].letter);
    design.areaColourName[s] = std::string(taken->name);
    design.areaFabric[s] = design.currentFabric;
    design.areaColour[s] = static_cast<std::int16_t>(colourIndex);
    change.slot = slot;
    change.paintsDrawing = areas[static_cast<std::size_t>(areaRow)].name != cat::kBindingTape;
    change.key = back ? cat::kBrisaBack : m;
    change.keyPoint = areaRow;
    return change;
}

} // namespace state
