// The owner table of each drawing, checked against the border fill itself: a
// region the map holds is exactly what a fill from its seeds paints, and a
// region repainted from the map is exactly what a whole rebuild paints there.
#include "catalogue/catalogue.h"
#include "render/area_map.h"
#include "render/drawing.h"
#include "render/qtcolour.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A random design: every slot coloured from a palette its model's rebuild
// uses, left without colour, or (now and then) holding words no palette has.
state::ModelDesign randomDesign(int m, std::mt19937& random)
{
    state::ModelDesign design;
    design.areaColour.fill(cat::kNoColour);
    design.areaFabric.fill(cat::kNoColour);
    const std::span<const int> fabrics = cat::kModels[m].rebuildFabrics;
    for (int slot = 0; slot < cat::slotCount(m); ++slot) {
        const auto s = static_cast<std::size_t>(slot);
        const int kind = std::uniform_int_distribution<int>(0, 9)(random);
        if (kind < 3)
            continue;
        const int fabric =
            slot == cat::tapeSlot(m)
                ? int{cat::kTape}
                : fabrics[std::uniform_int_distribution<std::size_t>(0, fabrics.size() - 1)(random)];
        const auto colours = static_cast<int>(cat::kFabrics[fabric].palette.size());
        design.areaFabric[s] = static_cast<std::int16_t>(kind == 9 ? 5 : fabric); // 5: not a rebuild fabric
        design.areaColour[s] = static_cast<std::int16_t>(
            std::uniform_int_distribution<int>(0, colours - 1 + (kind == 8 ? 40 : 0))(random));
    }
    return design;
}

TEST(AreaMap, RegionsAreExactlyWhatTheSeedsFill)
{
    for (int m = 0; m < cat::kModelCount; ++m) {
        SCOPED_TRACE(m);
        const render::AreaMap map = render::areaMap(m);
        const QImage pristine = render::pristineDrawing(m);
        ASSERT_EQ(map.pristine(), pristine);
        int painted = 0;
        for (int slot = 0; slot < cat::slotCount(m); ++slot) {
            SCOPED_TRACE(slot);
            const cat::Colour colour = cat::rgb(12, 200, 34 + slot);
            QImage filled = pristine.copy();
            const std::size_t count = render::paintArea(filled, m, slot, colour);
            QImage fromMap = pristine.copy();
            for (const std::uint8_t region : map.regionsOf(slot)) {
                for (const render::AreaMap::Run& run : map.runsOf(region)) {
                    auto* row = reinterpret_cast<QRgb*>(fromMap.scanLine(run.y));
                    std::fill(row + run.x, row + run.x + run.length, render::toQRgb(colour));
                }
            }
            EXPECT_EQ(fromMap, filled);
            EXPECT_EQ(map.regionsOf(slot).empty(), count == 0);
            painted += count > 0 ? 1 : 0;
            // Every seed's pixel belongs to this area or to an earlier one
            // that reaches the same region.
            if (const cat::AreaSeeds* seeds = cat::seedsOf(m, slot)) {
                for (const cat::SeedPoint& seed : seeds->seeds()) {
                    const int owner = map.ownerAt(seed.x, seed.y);
                    EXPECT_TRUE(owner >= 0 && owner <= slot &&
                                map.regionOwner(map.regionsOf(slot)[0]) <= slot)
                        << seed.x << "," << seed.y << " owner " << owner;
                }
            }
        }
        // Areas without seeds (the tape, Brisa's two seedless back areas) own nothing.
        EXPECT_EQ(painted, m == cat::kBrisa ? 18 : cat::slotCount(m) - 1);

        // Outlines, the background and points outside belong to no area.
        int outline = 0;
        for (int y = 0; y < map.height(); ++y)
            for (int x = 0; x < map.width(); ++x)
                if ((pristine.pixel(x, y) & 0xffffffU) == 0) {
                    EXPECT_EQ(map.ownerAt(x, y), -1);
                    ++outline;
                }
        EXPECT_GT(outline, 0);
        EXPECT_EQ(map.ownerAt(0, 0), -1);
        EXPECT_EQ(map.ownerAt(-1, 5), -1);
        EXPECT_EQ(map.ownerAt(map.width(), 5), -1);
        EXPECT_EQ(map.ownerAt(5, map.height()), -1);
    }
    // A region the seeds of several areas reach is the first one's in list
    // order: Brisa's front "Upper Body Left" reaches into the back view.
    EXPECT_EQ(render::areaMap(cat::kBrisa).ownerAt(234, 33), 0);
    EXPECT_EQ(render::areaMap(8).regionCount(), 0);
    EXPECT_EQ(render::areaMap(8).ownerAt(0, 0), -1);
}

// Repainting one area's regions after its slot changed gives exactly the
// drawing a rebuild of the changed design paints, back to the pristine
// pixels (shading included) for an area that lost its colour.
TEST(AreaMap, RepaintingOneAreaEqualsAWholeRebuild)
{
    std::mt19937 random(15);
    for (int m = 0; m < cat::kModelCount; ++m) {
        SCOPED_TRACE(m);
        const render::AreaMap map = render::areaMap(m);
        for (int round = 0; round < 40; ++round) {
            const state::ModelDesign before = randomDesign(m, random);
            state::ModelDesign after = before;
            const int slot = std::uniform_int_distribution<int>(0, cat::slotCount(m) - 1)(random);
            const state::ModelDesign other = randomDesign(m, random);
            const auto s = static_cast<std::size_t>(slot);
            after.areaColour[s] = round % 3 == 0 ? std::int16_t{cat::kNoColour} : other.areaColour[s];
            after.areaFabric[s] = other.areaFabric[s];
            QImage drawing = render::paintDesign(m, before);
            render::repaintArea(drawing, map, slot, state::planRebuild(m, after));
            ASSERT_EQ(drawing, render::paintDesign(m, after)) << "round " << round << " slot " << slot;
        }
        // Every area back to no colour gives the pristine drawing.
        state::ModelDesign none = randomDesign(m, random);
        QImage drawing = render::paintDesign(m, none);
        for (int slot = 0; slot < cat::slotCount(m); ++slot) {
            none.areaColour[static_cast<std::size_t>(slot)] = cat::kNoColour;
            render::repaintArea(drawing, map, slot, state::planRebuild(m, none));
        }
        EXPECT_EQ(drawing, map.pristine());
    }
}

} // namespace

namespace {

// Every pixel of a drawing enlarged by a whole factor is a factor x factor
// block of the drawing's pixel, whatever format the drawing came in; a
// factor below 2 gives the drawing as it is.
TEST(Enlarged, EveryPixelBecomesABlockOfItsOwnColour)
{
    const QImage drawing = render::paintDesign(cat::kBrisa, state::ModelDesign{});
    ASSERT_FALSE(drawing.isNull());
    QImage odd(5, 3, QImage::Format_ARGB32);
    for (int y = 0; y < odd.height(); ++y)
        for (int x = 0; x < odd.width(); ++x)
            odd.setPixel(x, y, qRgba(x * 50, y * 80, 7, 255));
    for (const QImage& source : {drawing, odd}) {
        const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
        for (int factor : {2, 3, 4}) {
            const QImage large = render::enlarged(source, factor);
            ASSERT_EQ(large.format(), QImage::Format_RGB32);
            ASSERT_EQ(large.size(), source.size() * factor);
            for (int y = 0; y < large.height(); ++y)
                for (int x = 0; x < large.width(); ++x)
                    if (large.pixel(x, y) != rgb.pixel(x / factor, y / factor))
                        FAIL() << "factor " << factor << " at " << x << "," << y;
        }
        for (int factor : {-1, 0, 1})
            EXPECT_EQ(render::enlarged(source, factor), source) << factor;
    }
    EXPECT_TRUE(render::enlarged(QImage(), 3).isNull());
}

} // namespace
