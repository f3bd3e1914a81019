#include "catalogue/catalogue.h"
#include "state/palette_click.h"
#include "state/state.h"

#include <gtest/gtest.h>

namespace {

state::ModelDesign startDesign(int m, int fabric)
{
    state::DesignState designs;
    state::resetToStartValues(designs);
    state::ModelDesign design = designs[m];
    state::clearAreas(design, m);
    design.currentFabric = static_cast<std::int16_t>(fabric);
    return design;
}

} // namespace

// A click applies the cell's colour to the area's slot: colour, fabric, the
// fabric's letter and the colour's name, and the key slot and drawing to paint.
TEST(PaletteClick, PaintsTheChosenAreaAndMarksTheDesignChanged)
{
    state::ModelDesign design = startDesign(0, cat::kPolycotton);
    const state::ColourApplication change = state::applyColour(design, 0, false, 1, {2, 0});
    ASSERT_TRUE(change.taken);
    EXPECT_FALSE(change.eraseMarker); // nothing was taken before
    EXPECT_EQ(change.slot, 1);
    EXPECT_TRUE(change.paintsDrawing);
    EXPECT_EQ(change.key, 0);
    EXPECT_EQ(change.keyPoint, 1);
    EXPECT_EQ(design.areaColour[1], 2);
    EXPECT_EQ(design.areaFabric[1], cat::kPolycotton);
    EXPECT_EQ(design.areaFabricCode[1], "P");
    EXPECT_EQ(design.areaColourName[1], "Orange");
    EXPECT_EQ(design.currentColour, cat::kFabrics[cat::kPolycotton].palette[2].value);
    EXPECT_TRUE(design.changed);
    EXPECT_FALSE(design.saved);

    // The next click erases the marker of the cell taken before.
    const state::ColourApplication next = state::applyColour(design, 0, false, 1, {0, 1});
    EXPECT_TRUE(next.eraseMarker);
    EXPECT_EQ(next.previousColumn, 2);
    EXPECT_EQ(next.previousRow, 0);
    EXPECT_EQ(next.previousColour, cat::kFabrics[cat::kPolycotton].palette[2].value);
    EXPECT_EQ(design.areaColour[1], 7);
}

// Between cells a coordinate keeps the column (or row) the palette had; a
// place beyond the last colour is empty and changes nothing at all.
TEST(PaletteClick, GapsKeepTheCellAndEmptyPlacesChangeNothing)
{
    state::ModelDesign design = startDesign(0, cat::kPolycotton);
    state::applyColour(design, 0, false, 0, {3, 1});
    state::applyColour(design, 0, false, 0, {-1, 0});
    EXPECT_EQ(design.paletteColumn, 3);
    EXPECT_EQ(design.paletteRow, 0);
    EXPECT_EQ(design.areaColour[0], cat::cellIndex(3, 0));
    state::applyColour(design, 0, false, 0, {1, -1});
    EXPECT_EQ(design.areaColour[0], cat::cellIndex(1, 0));
    state::applyColour(design, 0, false, 0, {3, -1});

    const state::ModelDesign before = design;
    const int places = cat::kFabrics[cat::kPolycotton].gridRows * cat::kPaletteColumns;
    const int colours = static_cast<int>(cat::kFabrics[cat::kPolycotton].palette.size());
    ASSERT_LT(colours, places) << "the test needs an empty place";
    const cat::CellPos empty = cat::cellOf(colours);
    design.changed = false;
    const state::ColourApplication change =
        state::applyColour(design, 0, false, 0, {empty.column, empty.row});
    EXPECT_FALSE(change.taken);
    EXPECT_EQ(design.paletteColumn, 3);
    EXPECT_EQ(design.paletteRow, 0);
    EXPECT_EQ(design.currentColour, before.currentColour);
    EXPECT_EQ(design.areaColour, before.areaColour);
    EXPECT_FALSE(design.changed);
}

// With no area chosen the colour is taken and the design counts as changed,
// but no slot is written; a row past the list is no area either.
TEST(PaletteClick, NoAreaTakesTheColourOnly)
{
    for (int row : {-1, cat::slotCount(0)}) {
        state::ModelDesign design = startDesign(0, cat::kPolycotton);
        const state::ModelDesign before = design;
        const state::ColourApplication change = state::applyColour(design, 0, false, row, {1, 0});
        EXPECT_TRUE(change.taken);
        EXPECT_EQ(change.slot, -1);
        EXPECT_EQ(design.currentColour, cat::kFabrics[cat::kPolycotton].palette[1].value);
        EXPECT_EQ(design.areaColour, before.areaColour);
        EXPECT_EQ(design.areaColourName, before.areaColourName);
    }
}

// Brisa's back list writes slots from 10 on and fills the back key; the
// binding tape shows in the key and the list only, never in the drawing.
TEST(PaletteClick, BrisaBackSlotsAndTheTape)
{
    state::ModelDesign brisa = startDesign(cat::kBrisa, cat::kPolycotton);
    const state::ColourApplication back = state::applyColour(brisa, cat::kBrisa, true, 3, {0, 0});
    EXPECT_EQ(back.slot, cat::kBackOffset + 3);
    EXPECT_EQ(back.key, cat::kBrisaBack);
    EXPECT_EQ(back.keyPoint, 3);
    EXPECT_EQ(brisa.areaColourName[cat::kBackOffset + 3], "Purple");
    // The back view means nothing on another model.
    state::ModelDesign orlen = startDesign(0, cat::kPolycotton);
    EXPECT_EQ(state::applyColour(orlen, 0, true, 3, {0, 0}).slot, 3);

    state::ModelDesign tape = startDesign(0, cat::kTape);
    const int tapeRow = cat::slotCount(0) - 1;
    const state::ColourApplication change = state::applyColour(tape, 0, false, tapeRow, {0, 4});
    ASSERT_TRUE(change.taken);
    EXPECT_FALSE(change.paintsDrawing);
    EXPECT_EQ(tape.areaFabricCode[static_cast<std::size_t>(tapeRow)], "T");
}
