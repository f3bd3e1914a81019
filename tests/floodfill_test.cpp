#include "fill/floodfill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <random>
#include <vector>

namespace {

constexpr std::uint32_t kWall = 0xff000000U; // black, as the surface stores it
constexpr std::uint32_t kWhite = 0xffffffffU;
constexpr std::uint32_t kRed = 0xffff0000U;
constexpr std::uint32_t kMask = 0x00ffffffU;

struct Canvas {
    int width;
    int height;
    int stride;
    std::vector<std::uint32_t> pixels;

    Canvas(int w, int h, int s = 0, std::uint32_t colour = kWhite)
        : width(w)
        , height(h)
        , stride(s > 0 ? s : w)
        , pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(h), colour)
    {
    }
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y * stride + x)]; }

    std::size_t fill(int x, int y, std::uint32_t colour = kRed)
    {
        return fill::borderFill({pixels.data(), width, height, stride, x, y, colour, 0, kMask});
    }
};

// Breadth-first fill, one pixel at a time: slow but plainly right. Marks
// what it painted in `painted` when given.
std::size_t referenceFill(Canvas& c, int sx, int sy, std::uint32_t colour,
                          std::vector<char>* painted = nullptr)
{
    if ((c.at(sx, sy) & kMask) == 0)
        return 0;
    std::vector<char> seen(c.pixels.size(), 0);
    std::deque<std::pair<int, int>> queue{{sx, sy}};
    seen[static_cast<std::size_t>(sy * c.stride + sx)] = 1;
    std::size_t count = 0;
    while (!queue.empty()) {
        auto [x, y] = queue.front();
        queue.pop_front();
        c.at(x, y) = colour;
        if (painted != nullptr)
            (*painted)[static_cast<std::size_t>(y * c.stride + x)] = 1;
        ++count;
        const int next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
        for (const auto& n : next) {
            if (n[0] < 0 || n[1] < 0 || n[0] >= c.width || n[1] >= c.height)
                continue;
            char& s = seen[static_cast<std::size_t>(n[1] * c.stride + n[0])];
            if (s == 0 && (c.at(n[0], n[1]) & kMask) != 0) {
                s = 1;
                queue.emplace_back(n[0], n[1]);
            }
        }
    }
    return count;
}

TEST(BorderFill, DiagonalOutlineHoldsAgainstCornerLeaks)
{
    Canvas c(12, 12);
    for (int i = 0; i < 12; ++i)
        c.at(i, i) = kWall;
    EXPECT_EQ(c.fill(11, 0), (144U - 12U) / 2U);
    EXPECT_EQ(c.at(1, 0), kRed);
    EXPECT_EQ(c.at(0, 1), kWhite);
    EXPECT_EQ(c.at(10, 11), kWhite);
}

TEST(BorderFill, SeedOnTheBoundaryOrOutsidePaintsNothing)
{
    Canvas c(6, 5);
    c.at(2, 2) = kWall;
    const std::vector<std::uint32_t> before = c.pixels;
    EXPECT_EQ(c.fill(2, 2), 0U);
    EXPECT_EQ(c.fill(-1, 0), 0U);
    EXPECT_EQ(c.fill(0, -1), 0U);
    EXPECT_EQ(c.fill(6, 0), 0U);
    EXPECT_EQ(c.fill(0, 5), 0U);
    EXPECT_EQ(c.pixels, before);
    EXPECT_EQ(c.fill(5, 4), 6U * 5U - 1U); // the last pixel inside still fills
}

TEST(BorderFill, UnusableBuffersPaintNothing)
{
    Canvas c(4, 4);
    EXPECT_EQ(fill::borderFill({nullptr, 4, 4, 4, 0, 0, kRed, 0, kMask}), 0U);
    EXPECT_EQ(fill::borderFill({c.pixels.data(), 0, 4, 4, 0, 0, kRed, 0, kMask}), 0U);
    EXPECT_EQ(fill::borderFill({c.pixels.data(), 4, 4, 3, 0, 0, kRed, 0, kMask}), 0U);
    EXPECT_EQ(c.at(0, 0), kWhite);
}

TEST(BorderFill, FillsThroughPixelsAlreadyInTheFillColour)
{
    // A whole row of the fill colour across the region must not split it, and
    // a seed on such a pixel still fills everything round it.
    Canvas c(9, 9);
    for (int x = 0; x < 9; ++x)
        c.at(x, 4) = kRed;
    c.at(2, 1) = kRed;
    EXPECT_EQ(c.fill(2, 1), 81U);
    for (const std::uint32_t p : c.pixels)
        ASSERT_EQ(p, kRed);
}

TEST(BorderFill, WholeLargeBufferWithoutBoundaryFillsWithoutRecursion)
{
    Canvas c(2000, 2000);
    EXPECT_EQ(c.fill(1234, 777), 4'000'000U);
    EXPECT_EQ(c.at(0, 0), kRed);
    EXPECT_EQ(c.at(1999, 1999), kRed);
}

// Mazes of walls and fill-coloured specks: the span fill must paint exactly
// what a pixel-by-pixel fill paints, whichever way its spans wind, and leave
// the padding past each row's end (stride > width) as it was.
TEST(BorderFill, MatchesAPixelByPixelFillOnRandomMazes)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 200; ++round) {
        const int w = 1 + static_cast<int>(random() % 70);
        const int h = 1 + static_cast<int>(random() % 50);
        Canvas mine(w, h, w + static_cast<int>(random() % 3));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const unsigned r = random() % 100;
                mine.at(x, y) = r < 38 ? kWall : r < 45 ? kRed : kWhite;
            }
        }
        Canvas expected = mine;
        const int sx = static_cast<int>(random() % static_cast<unsigned>(w));
        const int sy = static_cast<int>(random() % static_cast<unsigned>(h));
        ASSERT_EQ(mine.fill(sx, sy), referenceFill(expected, sx, sy, kRed)) << "round " << round;
        ASSERT_EQ(mine.pixels, expected.pixels) << "round " << round;
    }
}

// Several seeds at once (an area of a drawing): the pixels end as after one
// fill per seed in order, each painted pixel is counted once, and the bounds
// are those of everything painted. Seeds fall inside one another's regions,
// on walls and outside the buffer; a fill in the boundary colour walls its
// region up, so a later seed there paints nothing.
TEST(BorderFill, SeveralSeedsEndAsOneFillPerSeed)
{
    std::mt19937 random(20251209);
    for (int round = 0; round < 300; ++round) {
        const int w = 1 + static_cast<int>(random() % 60);
        const int h = 1 + static_cast<int>(random() % 40);
        Canvas mine(w, h, w + static_cast<int>(random() % 3));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const unsigned r = random() % 100;
                mine.at(x, y) = r < 30 ? kWall : r < 36 ? kRed : kWhite;
            }
        }
        const std::uint32_t colour = round % 5 == 0 ? kWall : kRed;
        std::vector<fill::Point> seeds(1 + random() % 6);
        for (fill::Point& seed : seeds) {
            seed.x = static_cast<int>(random() % static_cast<unsigned>(w + 2)) - 1;
            seed.y = static_cast<int>(random() % static_cast<unsigned>(h + 2)) - 1;
        }
        if (seeds.size() > 1)
            seeds.back() = seeds.front();

        Canvas expected = mine;
        std::vector<char> painted(expected.pixels.size(), 0);
        for (const fill::Point& seed : seeds) {
            if (seed.x >= 0 && seed.y >= 0 && seed.x < w && seed.y < h)
                referenceFill(expected, seed.x, seed.y, colour, &painted);
        }
        std::size_t count = 0;
        fill::Bounds box{w, h, -1, -1};
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (painted[static_cast<std::size_t>(y * expected.stride + x)] == 0)
                    continue;
                ++count;
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y)};
            }
        }

        fill::Bounds bounds;
        ASSERT_EQ(
            fill::borderFill({mine.pixels.data(), w, h, mine.stride, 0, 0, colour, 0, kMask}, seeds, &bounds),
            count)
            << "round " << round;
        ASSERT_EQ(mine.pixels, expected.pixels) << "round " << round;
        ASSERT_EQ(bounds.empty(), count == 0) << "round " << round;
        if (count > 0) {
            EXPECT_EQ(bounds.left, box.left) << "round " << round;
            EXPECT_EQ(bounds.top, box.top) << "round " << round;
            EXPECT_EQ(bounds.right, box.right) << "round " << round;
            EXPECT_EQ(bounds.bottom, box.bottom) << "round " << round;
        }
    }
}

} // namespace
