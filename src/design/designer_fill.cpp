// Area fill and repaint: areas are regions of the drawing around fixed seeds.
#include "design/designer.h"

#include "catalogue/catalogue.h"
#include "render/drawing.h"
#include "state/rebuild_plan.h"
#include "toolkit/listbox.h"
#include "toolkit/picturesurface.h"

namespace design {

void Designer::fillKeySlot(int key, cat::Colour colour, int x, int y)
{
    if (key < 0 || key > cat::kBrisaBack)
        return;
    // The fill shows the slot it painted.
    m_controls.colourKeys[static_cast<std::size_t>(key)]->floodFill(x, y, colour);
}

void Designer::paintSeeds(int m, int slot, cat::Colour colour)
{
    tk::PictureSurface* drawing = m_controls.drawings[static_cast<std::size_t>(m)];
    QRegion painted;
    render::paintArea(drawing->imageForPainting(), m, slot, colour, &painted);
    // Only the rectangles of the area's regions are shown again, not the
    // whole drawing.
    drawing->makePersistent(painted);
}

void Designer::rebuild(int m)
{
    if (!cat::isModelIndex(m))
        return;
    state::ModelDesign& design = m_state[m];
    const state::RebuildPlan plan = state::planRebuild(m, design);
    // The drawing is painted by the same renderer the order sheet and the
    // thumbnails use, so all of them show the same suit.
    tk::PictureSurface* drawing = m_controls.drawings[static_cast<std::size_t>(m)];
    render::paintPlan(drawing->imageForPainting(), m, plan);
    drawing->makePersistent();
    for (int r = 0; r < plan.count; ++r) {
        const state::SlotRepaint& repaint = plan.repaints[static_cast<std::size_t>(r)];
        const auto point = static_cast<std::size_t>(repaint.keyPoint);
        fillKeySlot(repaint.key, repaint.colour, m_state.keyX[point], m_state.keyY[point]);
    }
    state::applyNamesAndCodes(plan, design);
    rewriteColourList(m);
}

} // namespace design
