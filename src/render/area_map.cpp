#include "render/area_map.h"

#include "catalogue/models.h"
#include "catalogue/seeds.h"
#include "fill/floodfill.h"
#include "render/drawing.h"
#include "render/qtcolour.h"

#include <algorithm>
#include <limits>

namespace render {

namespace {

constexpr QRgb kColourBits = 0x00ffffffU;

// A colour the drawing does not hold, so the pixels a fill gives it are
// exactly the pixels the fill reached.
QRgb absentColour(const QImage& image)
{
    std::vector<bool> seen(1U << 12U);
    // A coarse look at the colours present: a candidate whose 12-bit bucket is
    // free is certainly absent.
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = row[x];
            seen[(c >> 12 & 0xf00U) | (c >> 8 & 0x0f0U) | (c >> 4 & 0x00fU)] = true;
        }
    }
    for (std::uint32_t bucket = 1; bucket < seen.size(); ++bucket)
        if (!seen[bucket])
            return 0xff000000U | (bucket & 0xf00U) << 12 | (bucket & 0x0f0U) << 8 | (bucket & 0x00fU) << 4;
    return 0; // every bucket used: not a 16-colour drawing; nothing is mapped
}

std::size_t fillAt(QImage& image, int x, int y, QRgb colour)
{
    fill::FillRequest request = fillRequestFor(image, colour);
    request.x = x;
    request.y = y;
    return fill::borderFill(request);
}

} // namespace

int AreaMap::ownerAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return -1;
    const std::uint8_t label = m_label[static_cast<std::size_t>(y) * static_cast<std::size_t>(width()) +
                                       static_cast<std::size_t>(x)];
    return label == 0 ? -1 : m_owner[label - 1U];
}

std::span<const AreaMap::Run> AreaMap::runsOf(int region) const
{
    const auto r = static_cast<std::size_t>(region);
    return std::span<const Run>(m_runs).subspan(m_runStart[r], m_runStart[r + 1] - m_runStart[r]);
}

std::span<const std::uint8_t> AreaMap::regionsOf(int slot) const
{
    if (slot < 0 || static_cast<std::size_t>(slot) >= m_slotRegions.size())
        return {};
    return m_slotRegions[static_cast<std::size_t>(slot)];
}

AreaMap areaMap(int m)
{
    AreaMap map;
    if (!cat::isModelIndex(m))
        return map;
    map.m_model = m;
    map.m_pristine = pristineDrawing(m);
    const int width = map.width();
    const int height = map.height();
    map.m_label.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    map.m_slotRegions.resize(static_cast<std::size_t>(cat::slotCount(m)));
    const QRgb marker = absentColour(map.m_pristine);
    if (marker == 0)
        return map;

    // Slots in list order, so a region reached by several areas is the first one's.
    QImage scratch = map.m_pristine.copy();
    const auto* marked = reinterpret_cast<const QRgb*>(scratch.constBits());
    const std::size_t rowPixels =
        static_cast<std::size_t>(scratch.bytesPerLine()) / sizeof(QRgb); // == width for RGB32
    for (int slot = 0; slot < cat::slotCount(m); ++slot) {
        const cat::AreaSeeds* seeds = cat::seedsOf(m, slot);
        if (seeds == nullptr)
            continue;
        std::vector<std::uint8_t>& regions = map.m_slotRegions[static_cast<std::size_t>(slot)];
        for (const cat::SeedPoint& seed : seeds->seeds()) {
            if (seed.x < 0 || seed.y < 0 || seed.x >= width || seed.y >= height)
                continue;
            const std::size_t at = static_cast<std::size_t>(seed.y) * static_cast<std::size_t>(width) +
                                   static_cast<std::size_t>(seed.x);
            std::uint8_t label = map.m_label[at];
            if (label == 0) {
                if (map.m_owner.size() >= std::numeric_limits<std::uint8_t>::max())
                    continue; // far more regions than any drawing has
                std::size_t left = fillAt(scratch, seed.x, seed.y, marker);
                if (left == 0)
                    continue; // a seed on an outline paints nothing
                map.m_owner.push_back(slot);
                label = static_cast<std::uint8_t>(map.m_owner.size());
                // Earlier regions hold the marker too, but are labelled already.
                for (int y = 0; y < height && left > 0; ++y) {
                    for (int x = 0; x < width && left > 0; ++x) {
                        const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                              static_cast<std::size_t>(x);
                        if (map.m_label[i] == 0 &&
                            (marked[static_cast<std::size_t>(y) * rowPixels + static_cast<std::size_t>(x)] &
                             kColourBits) == (marker & kColourBits)) {
                            map.m_label[i] = label;
                            --left;
                        }
                    }
                }
            }
            const auto region = static_cast<std::uint8_t>(label - 1U);
            if (std::find(regions.begin(), regions.end(), region) == regions.end())
                regions.push_back(region);
        }
    }

    // Runs, region by region, for repainting without a fill.
    std::vector<std::vector<AreaMap::Run>> runs(map.m_owner.size());
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row =
            map.m_label.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width;) {
            const std::uint8_t label = row[x];
            int end = x + 1;
            while (end < width && row[end] == label)
                ++end;
            if (label != 0)
                runs[label - 1U].push_back(
                    {static_cast<std::int16_t>(y), static_cast<std::int16_t>(x), end - x});
            x = end;
        }
    }
    map.m_runStart.push_back(0);
    for (const std::vector<AreaMap::Run>& region : runs) {
        map.m_runs.insert(map.m_runs.end(), region.begin(), region.end());
        map.m_runStart.push_back(static_cast<std::uint32_t>(map.m_runs.size()));
    }
    return map;
}

void repaintArea(QImage& drawing, const AreaMap& map, int slot, const state::RebuildPlan& plan)
{
    if (drawing.format() != QImage::Format_RGB32 || drawing.size() != map.pristine().size())
        return;
    for (const std::uint8_t region : map.regionsOf(slot)) {
        // Repaints fill whole regions, so the last one reaching the region decides it.
        const state::SlotRepaint* last = nullptr;
        for (int r = 0; r < plan.count; ++r) {
            const state::SlotRepaint& repaint = plan.repaints[static_cast<std::size_t>(r)];
            const std::span<const std::uint8_t> reached = map.regionsOf(repaint.slot);
            if (repaint.paintsDrawing && std::find(reached.begin(), reached.end(), region) != reached.end())
                last = &repaint;
        }
        for (const AreaMap::Run& run : map.runsOf(region)) {
            auto* to = reinterpret_cast<QRgb*>(drawing.scanLine(run.y)) + run.x;
            if (last != nullptr) {
                std::fill(to, to + run.length, toQRgb(last->colour));
            } else {
                const auto* from = reinterpret_cast<const QRgb*>(map.pristine().constScanLine(run.y)) + run.x;
                std::copy(from, from + run.length, to);
            }
        }
    }
}

} // namespace render
