// Area, fabric and view choice, and the palettes they draw.
#include "design/designer.h"

#include "catalogue/catalogue.h"
#include "design/palette.h"
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

// The fabric a recorded code selects, or -1 when the code selects nothing:
// codes the model does not look up, and anything that is not one letter.
int fabricForCode(std::string_view lookupCodes, const std::string& code)
{
    if (code.size() != 1 || lookupCodes.find(code[0]) == std::string_view::npos)
        return -1;
    if (code[0] == '1')
        return cat::kCottonFelt; // an old code for CottonFelt
    for (const cat::Fabric& fabric : cat::kFabrics)
        if (fabric.letter == code[0])
            return fabric.index;
    return -1;
}

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
    state::ModelDesign& design = m_state[m];
    tk::ListBox* fabrics = m_controls.fabricLists[mi];
    tk::PictureSurface* palette = m_controls.palettes[mi];

    int listIndex = m;
    int areaOffset = 0;
    if (m == cat::kBrisa) {
        // Brisa has no tape and no fabric rules; its view decides the list.
        if (!frontViewShown()) {
            listIndex = cat::kBrisaBack;
            areaOffset = cat::kBackOffset;
        }
    } else {
        const std::string area = m_controls.areaLists[mi]->selectedText().toStdString();
        if (area == cat::kBindingTape) {
            fabrics->clearEntries();
            fabrics->addEntry(qs(cat::kFabrics[cat::kTape].name));
            fabrics->selectByText(qs(cat::kFabrics[cat::kTape].name));
            design.currentFabric = cat::kTape;
            palette->clear();
            drawTapePalette(m);
            return;
        }
        if (const cat::FabricRule* rule = cat::fabricRuleFor(m, area)) {
            fabrics->clearEntries();
            for (std::string_view name : rule->fabrics)
                fabrics->addEntry(qs(name));
        }
    }

    const int position = m_controls.areaLists[static_cast<std::size_t>(listIndex)]->selectedIndex();
    if (position >= 0) {
        const std::string& code = design.areaFabricCode[static_cast<std::size_t>(position + areaOffset)];
        const int fabric = fabricForCode(cat::kModels[m].lookupCodes, code);
        if (fabric >= 0) {
            design.currentFabric = static_cast<std::int16_t>(fabric);
            fabrics->selectByText(qs(cat::kFabrics[fabric].name));
        }
    }
    palette->clear();
    drawFabricPalette(m);
}

void Designer::onFabricChosen(int index)
{
    if (!cat::isModelIndex(index))
        return;
    const auto mi = static_cast<std::size_t>(index);
    const int fabric = cat::fabricByName(m_controls.fabricLists[mi]->selectedText().toStdString());
    if (fabric >= 0) {
        m_state[index].currentFabric = static_cast<std::int16_t>(fabric);
        m_state.fallRate = cat::kFabrics[fabric].fallRate;
    }
    m_controls.palettes[mi]->clear();
    drawFabricPalette(index);
    m_controls.fabricLabels[mi]->setText(qs(cat::kFabricLabel) + QString::fromStdString(m_state.fallRate));
}

void Designer::onFrontViewChosen()
{
    m_controls.areaLists[cat::kBrisaBack]->hide();
    m_controls.colourLists[cat::kBrisaBack]->hide();
    m_controls.colourKeys[cat::kBrisaBack]->hide();
    m_controls.areaLists[cat::kBrisa]->show();
    m_controls.colourLists[cat::kBrisa]->show();
    m_controls.colourKeys[cat::kBrisa]->show();
    onAreaChosen(cat::kBrisa);
}

void Designer::onBackViewChosen()
{
    // The back key lies inside the front key, so the front key stays shown.
    m_controls.areaLists[cat::kBrisa]->hide();
    m_controls.colourLists[cat::kBrisa]->hide();
    m_controls.areaLists[cat::kBrisaBack]->show();
    m_controls.colourLists[cat::kBrisaBack]->show();
    m_controls.colourKeys[cat::kBrisaBack]->show();
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
