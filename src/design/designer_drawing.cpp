// The drawing as a control: clicking an area picks it, pointing at one names
// it; and one area shown anew after undo or redo.
#include "design/designer.h"

#include "catalogue/catalogue.h"
#include "design/history.h"
#include "order/summary.h"
#include "render/area_map.h"
#include "state/rebuild_plan.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/picturesurface.h"

#include <QRadioButton>

#include <cmath>

namespace design {

const render::AreaMap& Designer::areaMap(int m)
{
    std::unique_ptr<render::AreaMap>& map = m_areaMaps[static_cast<std::size_t>(m)];
    if (!map)
        map = std::make_unique<render::AreaMap>(render::areaMap(m));
    return *map;
}

int Designer::areaAt(int m, int x, int y)
{
    return cat::isModelIndex(m) ? areaMap(m).ownerAt(x, y) : -1;
}

namespace {

// Surface positions arrive as real numbers; pixel x covers [x, x + 1).
int pixelOf(float coordinate)
{
    return std::isfinite(coordinate) && std::abs(coordinate) < 1.0e6F
               ? static_cast<int>(std::floor(coordinate))
               : -1;
}

} // namespace

QString Designer::areaTip(int m, int slot) const
{
    if (!cat::isModelIndex(m) || slot < 0 || slot >= cat::slotCount(m))
        return {};
    const state::ModelDesign& design = m_state[m];
    const auto s = static_cast<std::size_t>(slot);
    const std::string line = order::orderLine(design.areaColourName[s], design.areaFabricCode[s]);
    return QString::fromStdString(areaLabel(m, slot) + (line.empty() ? std::string() : " - " + line));
}

void Designer::onDrawingHover(int m, int /*button*/, int /*shift*/, float x, float y)
{
    if (!cat::isModelIndex(m))
        return;
    const int slot = areaAt(m, pixelOf(x), pixelOf(y));
    m_controls.drawings[static_cast<std::size_t>(m)]->setPointerHelp(areaTip(m, slot), slot >= 0);
}

void Designer::onDrawingReleased(int m, int button, int /*shift*/, float x, float y)
{
    if (!cat::isModelIndex(m) || button != 1)
        return;
    const int slot = areaAt(m, pixelOf(x), pixelOf(y));
    if (slot < 0)
        return;
    const cat::SuitModel& model = cat::kModels[m];
    const auto front = static_cast<int>(model.areas.size());
    const bool back = slot >= front;
    if (m == cat::kBrisa && back == frontViewShown()) {
        // As a click on the option: it is chosen, then its handler runs.
        if (back) {
            m_controls.backView->setChecked(true);
            onBackViewChosen();
        } else {
            m_controls.frontView->setChecked(true);
            onFrontViewChosen();
        }
    }
    const std::string_view name = back ? model.backAreas[static_cast<std::size_t>(slot - front)].name
                                       : model.areas[static_cast<std::size_t>(slot)].name;
    // Selecting by text runs the area choice when the selection changes, as
    // a user's click on the entry does; the entry already chosen stays as it is.
    m_controls.areaLists[back ? cat::kBrisaBack : static_cast<std::size_t>(m)]->selectByText(tk::qs(name));
}

void Designer::showSlot(int m, int slot)
{
    if (!cat::isModelIndex(m) || slot < 0 || slot >= cat::slotCount(m))
        return;
    const state::RebuildPlan plan = state::planRebuild(m, m_state[m]);
    tk::PictureSurface* drawing = m_controls.drawings[static_cast<std::size_t>(m)];
    render::repaintArea(drawing->imageForPainting(), areaMap(m), slot, plan);
    drawing->makePersistent();

    // The key slot: the plan's colour, or the grey of a slot without one.
    const bool back = m == cat::kBrisa && slot >= cat::kBackOffset;
    int key = back ? cat::kBrisaBack : m;
    int point = back ? slot - cat::kBackOffset : slot;
    cat::Colour colour = cat::kLightGrey;
    for (int r = 0; r < plan.count; ++r) {
        const state::SlotRepaint& repaint = plan.repaints[static_cast<std::size_t>(r)];
        if (repaint.slot == slot) {
            colour = repaint.colour;
            key = repaint.key;
            point = repaint.keyPoint;
        }
    }
    fillKeySlot(key, colour, m_state.keyX[static_cast<std::size_t>(point)],
                m_state.keyY[static_cast<std::size_t>(point)]);
    rewriteColourList(m);
}

} // namespace design
