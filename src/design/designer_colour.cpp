// Colour application: a click on a palette cell paints the selected area.
#include "design/designer.h"

#include "catalogue/catalogue.h"
#include "design/history.h"
#include "design/palette.h"
#include "state/palette_click.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/palettesurface.h"
#include "toolkit/picturesurface.h"

#include <QLabel>
#include <QString>

namespace design {

void Designer::applyPaletteCell(int m, cat::PaletteHit hit)
{
    if (!cat::isModelIndex(m))
        return;
    state::ModelDesign& design = m_state[m];
    const bool back = m == cat::kBrisa && !frontViewShown();
    const int areaRow =
        m_controls.areaLists[back ? cat::kBrisaBack : static_cast<std::size_t>(m)]->selectedIndex();
    const int slot = areaRow >= 0 ? areaRow + (back ? cat::kBackOffset : 0) : -1;
    const SlotValues before =
        slot >= 0 && slot < cat::slotCount(m) ? m_history->valuesOf(m, slot) : SlotValues{};

    const state::ColourApplication change = state::applyColour(design, m, back, areaRow, hit);
    if (!change.taken)
        return;
    tk::PictureSurface* palette = m_controls.palettes[static_cast<std::size_t>(m)];
    if (change.eraseMarker)
        drawMarker(*palette, change.previousColumn, change.previousRow, change.previousColour,
                   change.previousColour);
    drawMarker(*palette, design.paletteColumn, design.paletteRow, cat::kBoundary, cat::kWhite);
    palette->makePersistent();
    if (change.slot < 0)
        return;

    const auto point = static_cast<std::size_t>(change.keyPoint);
    fillKeySlot(change.key, design.currentColour, m_state.keyX[point], m_state.keyY[point]);
    rewriteColourList(m);
    if (change.paintsDrawing)
        paintSeeds(m, change.slot, design.currentColour);
    // One step of the edit history: the slot as it was, and as it is now.
    m_history->record(m, change.slot, before);
}

void Designer::pointPaletteCell(int m, cat::PaletteHit hit)
{
    if (!cat::isModelIndex(m))
        return;
    state::ModelDesign& design = m_state[m];
    if (hit.column >= 0)
        design.hoverColumn = static_cast<std::int16_t>(hit.column);
    if (hit.row >= 0)
        design.hoverRow = static_cast<std::int16_t>(hit.row);
    if (!cat::isFabricIndex(design.currentFabric))
        return;
    const cat::PaletteColour* hovered =
        cat::paletteColour(design.currentFabric, cat::cellIndex(design.hoverColumn, design.hoverRow));
    QLabel* label = m_controls.colourLabels[static_cast<std::size_t>(m)];
    label->setText(hovered != nullptr ? tk::qs(hovered->name) : QString());
}

} // namespace design
