// Area fill and repaint: areas are regions of the drawing around fixed seeds.
#include "design/designer.h"

#include "catalogue/catalogue.h"
#include "toolkit/listbox.h"
#include "toolkit/picturesurface.h"

#include <algorithm>

namespace design {

void Designer::fillbox(int key, cat::Colour colour, int x, int y)
{
    if (key < 0 || key > cat::kBrisaBack)
        return;
    tk::PictureSurface* surface = m_controls.cbbfrontPb[static_cast<std::size_t>(key)];
    surface->floodFill(x, y, colour);
    surface->makePersistent();
}

void Designer::paintSeeds(int m, int slot, cat::Colour colour)
{
    const cat::AreaSeeds* row = cat::seedsOf(m, slot);
    if (row == nullptr)
        return;
    tk::PictureSurface* drawing = m_controls.MainPB[static_cast<std::size_t>(m)];
    for (const cat::SeedPoint& seed : row->seeds())
        drawing->floodFill(seed.x, seed.y, colour);
}

void Designer::fillsuit(int m, cat::Colour colour)
{
    if (!cat::isModelIndex(m))
        return;
    const bool back = m == cat::kBrisa && !frontViewShown();
    const tk::ListBox* areas = m_controls.suitlist[back ? cat::kBrisaBack : static_cast<std::size_t>(m)];
    const auto list = back ? cat::kModels[m].backAreas : cat::kModels[m].areas;
    const int p = cat::areaPosition(list, areas->selectedText().toStdString());
    if (p >= 0)
        paintSeeds(m, p + (back ? cat::kBackOffset : 0), colour);
    m_controls.MainPB[static_cast<std::size_t>(m)]->makePersistent();
}

void Designer::fillopensuit(int m, int slot, cat::Colour colour)
{
    if (!cat::isModelIndex(m))
        return;
    paintSeeds(m, slot, colour);
    m_controls.MainPB[static_cast<std::size_t>(m)]->makePersistent();
}

void Designer::rebuild(int m)
{
    if (!cat::isModelIndex(m))
        return;
    ModelDesign& design = m_state[m];
    const cat::SuitModel& model = cat::kModels[m];
    const int areas = cat::hasTape(m) ? cat::slotCount(m) - 1 : cat::slotCount(m);

    for (int i = 0; i < areas; ++i) {
        const auto s = static_cast<std::size_t>(i);
        if (design.areaColour[s] == cat::kNoColour)
            continue;
        // The area's own fabric chooses its palette; no model's current
        // fabric is touched. Values that no palette holds (a damaged or
        // foreign file) leave the area unpainted.
        const int fabric = design.areaFabric[s];
        const bool recognised = std::find(model.rebuildFabrics.begin(), model.rebuildFabrics.end(), fabric) !=
                                model.rebuildFabrics.end();
        const cat::PaletteColour* colour =
            recognised ? cat::paletteColour(fabric, design.areaColour[s]) : nullptr;
        if (colour == nullptr)
            continue;
        design.currentColour = colour->value;
        design.areaFabricCode[s] = std::string(1, cat::kFabrics[fabric].letter);
        fillopensuit(m, i, colour->value);
        design.areaColourName[s] = colour->name;
        const bool backKey = m == cat::kBrisa && i >= cat::kBackOffset;
        const auto point = static_cast<std::size_t>(backKey ? i - cat::kBackOffset : i);
        fillbox(backKey ? cat::kBrisaBack : m, colour->value, m_state.keyX[point], m_state.keyY[point]);
    }

    if (cat::hasTape(m)) {
        const auto t = static_cast<std::size_t>(cat::tapeSlot(m));
        if (design.areaColour[t] != cat::kNoColour) {
            if (const cat::PaletteColour* tape = cat::paletteColour(cat::kTape, design.areaColour[t])) {
                design.currentColour = tape->value;
                fillbox(m, tape->value, m_state.keyX[t], m_state.keyY[t]);
                design.areaColourName[t] = tape->name;
            }
        }
    }
    filltext(m);
}

} // namespace design
