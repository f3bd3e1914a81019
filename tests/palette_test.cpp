// Palette cells land exactly on the grid: 7 columns, 14 x 14 cells, pitch 16.
#include "catalogue/catalogue.h"
#include "design/palette.h"
#include "toolkit/picturesurface.h"

#include <gtest/gtest.h>

namespace {

class PaletteCells : public testing::Test {
protected:
    PaletteCells()
        : surface(QStringLiteral("ol1Pb"), 0, QStringLiteral("Colour palette"), nullptr)
    {
        surface.setBackground(cat::kLightGrey);
        surface.setDrawableSize(113, 83);
        surface.clear();
    }
    cat::Colour cell(int fabric, int index) const { return cat::kFabrics[fabric].palette[index].value; }
    tk::PictureSurface surface;
};

TEST_F(PaletteCells, HeavyCottonPutsOrangeAloneInRowOne)
{
    design::drawPaletteCells(surface, cat::kHeavyCotton);
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(surface.pixel(cat::cellLeft(c) + 7, 9), cell(cat::kHeavyCotton, c)) << c;
    EXPECT_EQ(surface.pixel(2, 18), cat::rgb(255, 64, 5));
    EXPECT_EQ(surface.pixel(15, 31), cat::rgb(255, 64, 5));
    for (int c = 1; c < 7; ++c)
        EXPECT_EQ(surface.pixel(cat::cellLeft(c) + 7, 25), cat::kLightGrey) << c;
}

TEST_F(PaletteCells, CornersAndGapsOfACell)
{
    design::drawPaletteCells(surface, cat::kCottonFelt);
    const cat::Colour navy = cell(cat::kCottonFelt, 4); // (4, 0)
    EXPECT_EQ(surface.pixel(66, 2), navy);
    EXPECT_EQ(surface.pixel(79, 15), navy);
    EXPECT_EQ(surface.pixel(80, 8), cat::kLightGrey); // the two-pixel gap
    EXPECT_EQ(surface.pixel(81, 8), cat::kLightGrey);
    EXPECT_EQ(surface.pixel(66, 16), cat::kLightGrey);
    EXPECT_EQ(surface.pixel(65, 8), cat::kLightGrey);
    EXPECT_EQ(surface.pixel(1, 1), cat::kLightGrey); // the origin margin
    EXPECT_EQ(surface.pixel(111, 15), cell(cat::kCottonFelt, 6));
    // CottonFelt ends at cell 16, column 2 of row 2.
    EXPECT_EQ(surface.pixel(34, 34), cell(cat::kCottonFelt, 16));
    EXPECT_EQ(surface.pixel(50, 34), cat::kLightGrey);
}

TEST_F(PaletteCells, TapeHasAFifthRow)
{
    design::drawPaletteCells(surface, cat::kTape);
    EXPECT_EQ(surface.pixel(2, 66), cell(cat::kTape, 28));
    EXPECT_EQ(surface.pixel(18, 79), cell(cat::kTape, 29));
    EXPECT_EQ(surface.pixel(47, 79), cell(cat::kTape, 30));
    for (int c = 3; c < 7; ++c)
        EXPECT_EQ(surface.pixel(cat::cellLeft(c) + 7, 73), cat::kLightGrey) << c;
    EXPECT_EQ(surface.pixel(111, 63), cell(cat::kTape, 27));
}

TEST_F(PaletteCells, ZeroPEndsInColumnThreeAndUnknownFabricsDrawNothing)
{
    design::drawPaletteCells(surface, cat::kZeroPCanopy);
    EXPECT_EQ(surface.pixel(50, 34), cell(cat::kZeroPCanopy, 17));
    EXPECT_EQ(surface.pixel(66, 34), cat::kLightGrey);
    tk::PictureSurface other(QStringLiteral("ol1Pb"), 1, QStringLiteral("Colour palette"), nullptr);
    other.setBackground(cat::kLightGrey);
    other.setDrawableSize(113, 83);
    other.clear();
    const QImage blank = other.image();
    design::drawPaletteCells(other, 99);
    design::drawPaletteCells(other, -1);
    EXPECT_EQ(other.image(), blank);
}

TEST_F(PaletteCells, MarkerSitsOnTheSwatchEdgeAndErasesExactly)
{
    design::drawPaletteCells(surface, cat::kPolycotton);
    const QImage plain = surface.image();
    design::drawMarker(surface, 1, 1, cat::kBoundary, cat::kWhite);
    EXPECT_EQ(surface.pixel(18, 18), cat::kBoundary);
    EXPECT_EQ(surface.pixel(31, 31), cat::kBoundary);
    EXPECT_EQ(surface.pixel(19, 30), cat::kWhite);
    EXPECT_EQ(surface.pixel(20, 20), cell(cat::kPolycotton, 8));
    EXPECT_EQ(surface.pixel(32, 32), cat::kLightGrey);
    const cat::Colour swatch = cell(cat::kPolycotton, 8);
    design::drawMarker(surface, 1, 1, swatch, swatch);
    EXPECT_EQ(surface.image(), plain);
}

} // namespace
