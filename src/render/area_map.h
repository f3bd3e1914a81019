#pragma once

#include "state/rebuild_plan.h"

#include <QImage>

#include <cstdint>
#include <span>
#include <vector>

// Which area of a suit owns each pixel of its drawing, found from the drawing
// itself, below the widgets.
namespace render {

// A region is one connected part of the drawing, bounded by pure black, that
// the seeds of at least one area reach: exactly the pixels a border fill from
// any of its seeds paints, whatever colours the region holds at the time.
class AreaMap {
public:
    // A run of region pixels on one row: [x, x + length).
    struct Run {
        std::int16_t y = 0;
        std::int16_t x = 0;
        std::int32_t length = 0;
    };

    AreaMap() = default;

    int model() const { return m_model; }
    int width() const { return m_pristine.width(); }
    int height() const { return m_pristine.height(); }
    // The drawing before any colour, which the map was made from.
    const QImage& pristine() const { return m_pristine; }

    // The area slot owning pixel (x, y), or -1 for outlines, the background,
    // regions of no area and points outside the drawing. A region that the
    // seeds of several areas reach belongs to the first of them in list order
    // (Brisa: the front list, then the back list).
    int ownerAt(int x, int y) const;

    int regionCount() const { return static_cast<int>(m_owner.size()); }
    int regionOwner(int region) const { return m_owner[static_cast<std::size_t>(region)]; }
    std::span<const Run> runsOf(int region) const;
    // The regions area `slot` paints, in the order of its seeds; none for the
    // binding tape and the seedless areas.
    std::span<const std::uint8_t> regionsOf(int slot) const;

private:
    friend AreaMap areaMap(int m);

    int m_model = -1;
    QImage m_pristine;
    std::vector<std::uint8_t> m_label;     // per pixel: 0 none, else region + 1
    std::vector<int> m_owner;              // per region: its first area
    std::vector<Run> m_runs;               // all regions' runs, region by region
    std::vector<std::uint32_t> m_runStart; // region r's runs: [start[r], start[r + 1])
    std::vector<std::vector<std::uint8_t>> m_slotRegions;
};

// Model m's map, made by border-filling each area's seeds, in list order, in an
// unpainted copy of its drawing. An empty map (no regions, no pixels) for an
// index that is not a model. A few milliseconds: make it once per model.
AreaMap areaMap(int m);

// Repaints the regions of area `slot` in `drawing` as a rebuild of the design
// whose plan is given paints them: each region in the colour of the last
// repaint in the plan that reaches it, or as in the pristine drawing when none
// does (shading included). Pixels outside those regions are not touched.
// `drawing` must be the map's size in Format_RGB32.
void repaintArea(QImage& drawing, const AreaMap& map, int slot, const state::RebuildPlan& plan);

} // namespace render
