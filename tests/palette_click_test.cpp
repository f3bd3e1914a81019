#include "catalogue/catalogue.h"
#include "state/choices.h"
#include "state/palette_click.h"
#include "state/state.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// Choosing an area: the tape takes its own fabric and palette, a rule lists
// its fabrics, and the area's recorded code chooses the current fabric when
// the model looks that code up.
TEST(AreaChoice, TapeRulesAndRecordedCodes)
{
    state::ModelDesign design = startDesign(0, cat::kAcrylic);
    const state::AreaChoice tape = state::chooseArea(design, 0, false, 5);
    EXPECT_TRUE(tape.tapePalette && tape.listFabrics);
    ASSERT_EQ(tape.fabrics.size(), 1U);
    EXPECT_EQ(tape.fabrics[0], "Tape");
    EXPECT_EQ(tape.selectFabric, cat::kTape);
    EXPECT_EQ(design.currentFabric, cat::kTape);

    design.areaFabricCode[0] = "P";
    const state::AreaChoice body = state::chooseArea(design, 0, false, 0);
    EXPECT_FALSE(body.tapePalette);
    ASSERT_TRUE(body.listFabrics);
    EXPECT_EQ(std::vector<std::string_view>(body.fabrics.begin(), body.fabrics.end()),
              (std::vector<std::string_view>{"Acrylic", "CottonFelt", "Polycotton", "Heavy Cotton"}));
    EXPECT_EQ(body.selectFabric, cat::kPolycotton);
    EXPECT_EQ(design.currentFabric, cat::kPolycotton);

    // "1" is an old code for CottonFelt; a code the model does not look up,
    // or more than one letter, chooses nothing and keeps the fabric.
    for (const auto& [code, fabric] : std::vector<std::pair<std::string, int>>{
             {"1", cat::kCottonFelt}, {"N", -1}, {"PP", -1}, {"", -1}, {"T", -1}}) {
        design.currentFabric = cat::kSpandex;
        design.areaFabricCode[1] = code;
        EXPECT_EQ(state::chooseArea(design, 0, false, 1).selectFabric, fabric) << code;
        EXPECT_EQ(design.currentFabric, fabric >= 0 ? fabric : cat::kSpandex) << code;
    }

    // No row, or one past the list: no rule, nothing selected.
    for (int row : {-1, 6, 1000}) {
        const state::AreaChoice none = state::chooseArea(design, 0, false, row);
        EXPECT_FALSE(none.listFabrics || none.tapePalette || none.selectFabric >= 0) << row;
    }
    EXPECT_FALSE(state::chooseArea(design, 8, false, 0).listFabrics);
}

TEST(AreaChoice, BrisaReadsTheCodeOfTheViewShown)
{
    state::ModelDesign design = startDesign(cat::kBrisa, cat::kPolycotton);
    design.areaFabricCode[2] = "C";
    design.areaFabricCode[cat::kBackOffset + 2] = "A";
    const state::AreaChoice front = state::chooseArea(design, cat::kBrisa, false, 2);
    EXPECT_FALSE(front.listFabrics || front.tapePalette); // no rules, no tape
    EXPECT_EQ(front.selectFabric, cat::kCottonFelt);
    EXPECT_EQ(state::chooseArea(design, cat::kBrisa, true, 2).selectFabric, cat::kAcrylic);
    EXPECT_EQ(design.currentFabric, cat::kAcrylic);
    // The back view is Brisa's only: another model reads its own list.
    design.areaFabricCode[2] = "A";
    EXPECT_EQ(state::chooseArea(design, 0, true, 2).selectFabric, cat::kAcrylic);
}

TEST(FabricChoice, SetsTheFabricAndItsFallRateOrNothing)
{
    state::DesignState designs;
    state::resetToStartValues(designs);
    state::chooseFabric(designs, 3, cat::kNylon);
    EXPECT_EQ(designs[3].currentFabric, cat::kNylon);
    EXPECT_EQ(designs.fallRate, " - (Fast)");
    for (int fabric : {-1, cat::kFabricCount}) {
        state::chooseFabric(designs, 3, fabric);
        EXPECT_EQ(designs[3].currentFabric, cat::kNylon);
        EXPECT_EQ(designs.fallRate, " - (Fast)");
    }
    state::chooseFabric(designs, -1, cat::kAcrylic);
    EXPECT_EQ(designs.fallRate, " - (Fast)");
}
