// Area, fabric and view choice, and the palettes they draw.
#include "design/designer.h"

#include "catalogue/catalogue.h"
#include "design/palette.h"
#include "state/choices.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/palettesurface.h"
#include "toolkit/picturesurface.h"

#include <QLabel>
#include <QString>
#include <QStringList>

namespace design {

namespace {

using tk::qs;

// The cells a palette shows, by colour name, for the keyboard and screen
// readers; -1 shows none.
void showCellNames(tk::PaletteSurface& palette, int fabric)
{
    QStringList names;
    if (cat::isFabricIndex(fabric)) {
        const cat::Fabric& f = cat::kFabrics[fabric];
        const auto places = static_cast<std::size_t>(f.gridRows * cat::kPaletteColumns);
        for (std::size_t k = 0; k < places && k < f.palette.size(); ++k)
            names << qs(f.palette[k].name);
    }
    palette.setCellNames(names);
}

} // namespace

void Designer::onAreaChosen(int index)
{
    const int m = index == cat::kBrisaBack ? cat::kBrisa : index;
    if (!cat::isModelIndex(m))
        return;
    const auto mi = static_cast<std::size_t>(m);
    const bool back = m == cat::kBrisa && !frontViewShown();
    const int row = m_controls.areaLists[back ? cat::kBrisaBack : mi]->selectedIndex();
    const state::AreaChoice choice = state::chooseArea(m_state[m], m, back, row);

    tk::ListBox* fabrics = m_controls.fabricLists[mi];
    if (choice.listFabrics) {
        fabrics->clearEntries();
        for (std::string_view name : choice.fabrics)
            fabrics->addEntry(qs(name));
    }
    // Selecting an entry runs the fabric choice, as the user's click would.
    if (choice.selectFabric >= 0)
        fabrics->selectByText(qs(cat::kFabrics[choice.selectFabric].name));
    m_controls.palettes[mi]->clear();
    if (choice.tapePalette)
        drawTapePalette(m);
    else
        drawFabricPalette(m);
}

void Designer::onFabricChosen(int index)
{
    if (!cat::isModelIndex(index))
        return;
    const auto mi = static_cast<std::size_t>(index);
    state::chooseFabric(m_state, index,
                        cat::fabricByName(m_controls.fabricLists[mi]->selectedText().toStdString()));
    m_controls.palettes[mi]->clear();
    drawFabricPalette(index);
    m_controls.fabricLabels[mi]->setText(qs(cat::kFabricLabel) + QString::fromStdString(m_state.fallRate));
}

void Designer::onFrontViewChosen()
{
    showBrisaView(false);
}

void Designer::onBackViewChosen()
{
    showBrisaView(true);
}

void Designer::showBrisaView(bool back)
{
    const auto shown = static_cast<std::size_t>(back ? cat::kBrisaBack : cat::kBrisa);
    const auto hidden = static_cast<std::size_t>(back ? cat::kBrisa : cat::kBrisaBack);
    m_controls.areaLists[hidden]->hide();
    m_controls.colourLists[hidden]->hide();
    // The back key lies inside the front key, so the front key stays shown.
    if (!back)
        m_controls.colourKeys[cat::kBrisaBack]->hide();
    m_controls.areaLists[shown]->show();
    m_controls.colourLists[shown]->show();
    m_controls.colourKeys[shown]->show();
    onAreaChosen(cat::kBrisa);
}

void Designer::drawFabricPalette(int m)
{
    state::ModelDesign& design = m_state[m];
    tk::PaletteSurface* palette = m_controls.palettes[static_cast<std::size_t>(m)];
    if (design.currentFabric != cat::kTape)
        drawPaletteCells(*palette, design.currentFabric);
    showCellNames(*palette, design.currentFabric != cat::kTape ? design.currentFabric : -1);
    palette->makePersistent();
    design.currentColour = 0;
}

void Designer::drawTapePalette(int m)
{
    tk::PaletteSurface* palette = m_controls.palettes[static_cast<std::size_t>(m)];
    drawPaletteCells(*palette, cat::kTape);
    showCellNames(*palette, cat::kTape);
    palette->makePersistent();
    m_state[m].currentColour = 0;
}

} // namespace design
