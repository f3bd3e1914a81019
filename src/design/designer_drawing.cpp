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

QString Designer::areaTip(int m, int slot) const
{
    if (!cat::isModelIndex(m) || slot < 0 || slot >= cat::slotCount(m))
        return {};
    const order::OrderRow row = order::row(m, m_state[m], slot);
    return QString::fromStdString(order::areaLabel(m, slot) +
                                  (row.coloured() ? " - " + row.line() : std::string()));
}

void Designer::onDrawingHover(int m, QPoint pixel)
{
    if (!cat::isModelIndex(m))
        return;
    const int slot = areaAt(m, pixel.x(), pixel.y());
    m_controls.drawings[static_cast<std::size_t>(m)]->setPointerHelp(areaTip(m, slot), slot >= 0);
}

void Designer::onDrawingReleased(int m, QPoint pixel)
{
    if (!cat::isModelIndex(m))
        return;
    const int slot = areaAt(m, pixel.x(), pixel.y());
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
    // Selecting the entry runs the area choice when the selection changes, as
    // a user's click on the entry does; the entry already chosen stays as it is.
    const auto list = static_cast<std::size_t>(back ? cat::kBrisaBack : m);
    m_controls.areaLists[list]->selectRow(back ? slot - front : slot);
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
