// The pages at start-up and as New and Open leave them, and which page is shown.
#include "design/designer.h"

#include "bitmaps.h"
#include "catalogue/catalogue.h"
#include "render/drawing.h"
#include "render/qtcolour.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/palettesurface.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"

#include <QLabel>
#include <QRadioButton>

#include <span>
#include <string_view>

namespace design {

using tk::qs;

namespace {

// Clearing with the one-pixel picture leaves the whole surface in its colour.
void clearWithPicture(tk::PictureSurface* surface, const QImage& clearing)
{
    if (!clearing.isNull())
        surface->setBackground(render::fromQRgb(clearing.pixel(0, 0)));
    surface->clear();
}

// The pristine drawing on a clean surface, the one the renderer paints on.
void showPristineDrawing(tk::PictureSurface* drawing, int m, const QImage& clearing)
{
    clearWithPicture(drawing, clearing);
    drawing->drawBitmap(render::pristineDrawing(m));
    drawing->makePersistent();
}

} // namespace

void Designer::startPages()
{
    // 1. The area and fabric lists, model by model.
    auto addAreas = [](tk::ListBox* list, std::span<const cat::AreaDefault> areas) {
        for (const cat::AreaDefault& area : areas)
            list->addEntry(qs(area.name));
    };
    for (int m = 0; m < cat::kModelCount; ++m) {
        const auto mi = static_cast<std::size_t>(m);
        const cat::SuitModel& model = cat::kModels[m];
        addAreas(m_controls.areaLists[mi], model.areas);
        if (m == cat::kBrisa)
            addAreas(m_controls.areaLists[cat::kBrisaBack], model.backAreas);
        for (std::string_view fabric : model.startFabrics)
            m_controls.fabricLists[mi]->addEntry(qs(fabric));
    }

    // 2. Clear the palettes and keys with the one-pixel picture.
    const QImage clearing = builtInBitmap(cat::kClearingPictureId);
    for (std::size_t mi = 0; mi < cat::kModelCount; ++mi) {
        clearWithPicture(m_controls.palettes[mi], clearing);
        clearWithPicture(m_controls.colourKeys[mi], clearing);
    }
    clearWithPicture(m_controls.colourKeys[cat::kBrisaBack], clearing);

    // 3. The drawings, as the renderer gives them, on a clean surface.
    for (int m = 0; m < cat::kModelCount; ++m)
        showPristineDrawing(m_controls.drawings[static_cast<std::size_t>(m)], m, clearing);

    // 4. File bookkeeping.
    for (state::ModelDesign& model : m_state.models) {
        model.fileName = cat::kUntitled;
        model.saved = false;
    }

    // 5. First area and start-up fabric of every model; their selection
    // events run before the area letters get their start values.
    for (int m = 0; m < cat::kModelCount; ++m) {
        const auto mi = static_cast<std::size_t>(m);
        const cat::SuitModel& model = cat::kModels[m];
        state::ModelDesign& design = m_state[m];
        m_controls.areaLists[mi]->selectByText(qs(model.areas.front().name));
        m_controls.fabricLists[mi]->selectByText(qs(model.startFabric));
        state::setDefaultLetters(design, m);
        for (int slot = 0; slot < cat::slotCount(m); ++slot)
            design.areaColour[static_cast<std::size_t>(slot)] = cat::kNoColour;
        if (m == cat::kBrisa)
            m_controls.areaLists[cat::kBrisaBack]->selectByText(qs(model.backAreas.front().name));
    }

    // 6. Divide the colour keys into their slots: keys 0-6, Brisa's back key, key 7.
    constexpr int kKeyOrder[] = {0, 1, 2, 3, 4, 5, 6, cat::kBrisaBack, 7};
    for (int key : kKeyOrder) {
        tk::PictureSurface* surface = m_controls.colourKeys[static_cast<std::size_t>(key)];
        const int slotsInKey = cat::keySlots(key);
        const int h = state::roundToInt16(static_cast<double>(surface->drawableHeight()) / slotsInKey);
        for (int i = 1; i < slotsInKey; ++i)
            surface->line(0, i * h, surface->drawableWidth(), i * h, cat::kBoundary);
        surface->makePersistent();
        if (key == cat::kBrisaBack)
            surface->hide();
    }

    // 7. The key fill points, from the ten-slot key.
    const tk::PictureSurface* tenSlots = m_controls.colourKeys[cat::kBrisa];
    state::computeKeyPoints(m_state, tenSlots->drawableWidth(), tenSlots->drawableHeight());
}

int Designer::currentModel() const
{
    const int tab = m_controls.tabs != nullptr ? m_controls.tabs->currentTab() : 0;
    return cat::isModelIndex(tab) ? tab : 0;
}

void Designer::showModel(int m)
{
    if (cat::isModelIndex(m) && currentModel() != m)
        m_controls.tabs->setCurrentTab(m);
}

void Designer::clearColourName(int m)
{
    if (cat::isModelIndex(m))
        m_controls.colourLabels[static_cast<std::size_t>(m)]->clear();
}

void Designer::showNewDesign(int m)
{
    if (!cat::isModelIndex(m))
        return;
    const auto mi = static_cast<std::size_t>(m);
    const cat::SuitModel& model = cat::kModels[m];

    showPristineDrawing(m_controls.drawings[mi], m, builtInBitmap(cat::kClearingPictureId));
    showCaption(m);

    if (m == cat::kBrisa) {
        for (int k = 0; k < static_cast<int>(model.areas.size()); ++k) {
            const auto point = static_cast<std::size_t>(k);
            fillKeySlot(cat::kBrisa, cat::kLightGrey, m_state.keyX[point], m_state.keyY[point]);
            fillKeySlot(cat::kBrisaBack, cat::kLightGrey, m_state.keyX[point], m_state.keyY[point]);
        }
    } else {
        for (int k = 0; k < cat::slotCount(m); ++k) {
            const auto point = static_cast<std::size_t>(k);
            fillKeySlot(m, cat::kLightGrey, m_state.keyX[point], m_state.keyY[point]);
        }
    }
    m_controls.colourLists[mi]->clearEntries();

    m_controls.areaLists[mi]->selectByText(qs(model.areas.front().name));
    m_controls.fabricLists[mi]->selectByText(qs(model.startFabric));
    if (m == cat::kBrisa) {
        m_controls.areaLists[cat::kBrisaBack]->selectByText(qs(model.backAreas.front().name));
        m_controls.colourLists[cat::kBrisaBack]->clearEntries();
    }
    // A selection that changes nothing raises no event, so the page may still
    // show another fabric's palette: the fabric the list shows becomes
    // current, with its label and palette, whatever state the page was in.
    onFabricChosen(m);
}

void Designer::showOpenedDesign(int m)
{
    if (!cat::isModelIndex(m))
        return;
    rebuild(m);
    // The first area's fabric becomes current through the list's own
    // selection event, which also draws its palette. A fabric the list does
    // not offer (or 99) selects nothing, and the current fabric stays the one
    // whose palette is shown, so a palette click always applies what it shows.
    if (m == cat::kBrisa) {
        m_controls.frontView->setChecked(true);
        m_controls.backView->setChecked(false);
        onFrontViewChosen();
    } else {
        const auto mi = static_cast<std::size_t>(m);
        m_controls.areaLists[mi]->selectByText(qs(cat::kModels[m].areas.front().name));
        const int first = m_state[m].areaFabric[0];
        if (cat::isFabricIndex(first))
            m_controls.fabricLists[mi]->selectByText(qs(cat::kFabrics[first].name));
    }
}

} // namespace design
