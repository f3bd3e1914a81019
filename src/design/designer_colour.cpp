// Colour application: a click on a palette cell paints the selected area.
#include "design/designer.h"

#include "catalogue/catalogue.h"
#include "design/history.h"
#include "design/palette.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/palettesurface.h"
#include "toolkit/picturesurface.h"

#include <QLabel>
#include <QString>

namespace design {

void Designer::onPaletteReleased(int m, int button, int /*shift*/, float x, float y)
{
    if (!cat::isModelIndex(m) || button != 1 || y > cat::kLastClickableY)
        return;
    const auto mi = static_cast<std::size_t>(m);
    state::ModelDesign& design = m_state[m];
    tk::PictureSurface* palette = m_controls.palettes[mi];

    design.previousColumn = design.paletteColumn;
    design.previousRow = design.paletteRow;
    // A coordinate between cells keeps the column (or row) it had.
    if (const int column = cat::columnAt(x); column >= 0)
        design.paletteColumn = static_cast<std::int16_t>(column);
    if (const int row = cat::rowAt(y); row >= 0)
        design.paletteRow = static_cast<std::int16_t>(row);
    const int colourIndex = cat::cellIndex(design.paletteColumn, design.paletteRow);

    // A place beyond the palette's last colour is an empty cell: the click is
    // ignored, the marker and the taken colour stay.
    const cat::PaletteColour* taken = cat::paletteColour(design.currentFabric, colourIndex);
    if (taken == nullptr) {
        design.paletteColumn = design.previousColumn;
        design.paletteRow = design.previousRow;
        return;
    }

    if (design.hasColour())
        drawMarker(*palette, design.previousColumn, design.previousRow, design.currentColour,
                   design.currentColour);
    design.currentColour = taken->value;
    const std::string colourName(taken->name);
    drawMarker(*palette, design.paletteColumn, design.paletteRow, cat::kBoundary, cat::kWhite);
    palette->makePersistent();

    design.changed = true;
    design.saved = false;

    const bool back = m == cat::kBrisa && !frontViewShown();
    const int listIndex = back ? cat::kBrisaBack : m;
    const int areaOffset = back ? cat::kBackOffset : 0;
    tk::ListBox* areas = m_controls.areaLists[static_cast<std::size_t>(listIndex)];
    const int selected = areas->selectedIndex();
    if (selected < 0)
        return; // no area chosen: nothing to apply the colour to

    // One step of the edit history: this slot as it was, and as it is when the handler ends.
    const StepRecorder step(*m_history, m, selected + areaOffset);

    // The code names the fabric whose colour is applied, the one stored
    // with it. The fabric list's selection names the same fabric, except where
    // an opened file gave the area a fabric its list does not offer: the list
    // then selects nothing, or still the fabric it selected before.
    design.areaFabricCode[static_cast<std::size_t>(selected + areaOffset)] =
        std::string(1, cat::kFabrics[design.currentFabric].letter);

    const std::string area = areas->selectedText().toStdString();
    const auto list = back ? cat::kModels[m].backAreas : cat::kModels[m].areas;
    const int p = cat::areaPosition(list, area);
    if (p < 0)
        return;
    const auto slot = static_cast<std::size_t>(p + areaOffset);
    fillKeySlot(listIndex, design.currentColour, m_state.keyX[static_cast<std::size_t>(p)],
                m_state.keyY[static_cast<std::size_t>(p)]);
    design.areaColourName[slot] = colourName;
    design.areaFabric[slot] = design.currentFabric;
    rewriteColourList(m);
    if (area != cat::kBindingTape)
        fillDrawingArea(m, design.currentColour);
    design.areaColour[slot] = static_cast<std::int16_t>(colourIndex);
}

void Designer::onPaletteHover(int m, int /*button*/, int /*shift*/, float x, float y)
{
    if (!cat::isModelIndex(m) || y > cat::kLastClickableY)
        return;
    state::ModelDesign& design = m_state[m];
    if (const int column = cat::columnAt(x); column >= 0)
        design.hoverColumn = static_cast<std::int16_t>(column);
    if (const int row = cat::rowAt(y); row >= 0)
        design.hoverRow = static_cast<std::int16_t>(row);
    if (!cat::isFabricIndex(design.currentFabric))
        return;
    const cat::PaletteColour* hovered =
        cat::paletteColour(design.currentFabric, cat::cellIndex(design.hoverColumn, design.hoverRow));
    QLabel* label = m_controls.colourLabels[static_cast<std::size_t>(m)];
    label->setText(hovered != nullptr ? tk::qs(hovered->name) : QString());
}

} // namespace design
