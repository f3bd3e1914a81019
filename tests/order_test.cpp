// The colour list: one line per area, "Name (code)" or empty.
#include "catalogue/fabrics.h"
#include "catalogue/models.h"
#include "order/summary.h"
#include "state/state.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

// A state in its start values with a model's default letters.
state::DesignState startState(int model)
{
    state::DesignState state;
    state::resetToStartValues(state);
    state::setDefaultLetters(state[model], model);
    return state;
}

// A slot of a model given a colour as a palette click gives it: the words,
// the colour's name and the fabric's letter.
void paint(state::ModelDesign& design, int m, int slot, int fabric, int cell)
{
    const auto s = static_cast<std::size_t>(slot);
    design.areaColour[s] = static_cast<std::int16_t>(cell);
    if (slot != cat::tapeSlot(m))
        design.areaFabric[s] = static_cast<std::int16_t>(fabric);
    design.areaColourName[s] = std::string(cat::paletteColour(fabric, cell)->name);
    design.areaFabricCode[s] = std::string(1, cat::kFabrics[fabric].letter);
}

TEST(OrderRows, EverySlotInListOrderWithItsColourCellAndFabric)
{
    for (int m = 0; m < cat::kModelCount; ++m) {
        state::DesignState state = startState(m);
        const std::vector<order::OrderRow> blank = order::rows(m, state[m]);
        ASSERT_EQ(blank.size(), static_cast<std::size_t>(cat::slotCount(m))) << m;
        for (const order::OrderRow& row : blank) {
            EXPECT_EQ(row.area, order::areaName(m, row.slot));
            EXPECT_FALSE(row.coloured() || row.cell != nullptr || !row.fabric.empty() || !row.line().empty());
        }

        paint(state[m], m, 1, cat::kNylon, 4);
        const int last = cat::slotCount(m) - 1;
        paint(state[m], m, last, last == cat::tapeSlot(m) ? cat::kTape : cat::kPolycotton, 2);
        const std::vector<order::OrderRow> rows = order::rows(m, state[m]);
        const cat::PaletteColour* nylon = cat::paletteColour(cat::kNylon, 4);
        EXPECT_EQ(rows[1].cell, nylon);
        EXPECT_EQ(rows[1].fabric, "Nylon");
        EXPECT_EQ(rows[1].line(), std::string(nylon->name) + " (N)");
        // The tape's fabric is not stored: its row still finds the tape's palette.
        const bool tape = last == cat::tapeSlot(m);
        EXPECT_EQ(rows[static_cast<std::size_t>(last)].fabric, tape ? "Tape" : "Polycotton") << m;
        EXPECT_EQ(rows[static_cast<std::size_t>(last)].cell,
                  cat::paletteColour(tape ? cat::kTape : cat::kPolycotton, 2));
        EXPECT_EQ(rows[static_cast<std::size_t>(last)].back, m == cat::kBrisa);
        EXPECT_FALSE(rows[0].coloured());
    }
    EXPECT_TRUE(order::rows(-1, state::ModelDesign{}).empty());
    EXPECT_TRUE(order::rows(cat::kModelCount, state::ModelDesign{}).empty());
    EXPECT_EQ(order::row(0, state::ModelDesign{}, cat::slotCount(0)).area, "");
}

TEST(OrderRows, ANameIsTheLineEvenWhereTheWordsNameNoCell)
{
    // The colour list shows what the slot is named; the swatch and fabric
    // need a real cell.
    state::DesignState state = startState(0);
    state[0].areaColourName[2] = "Navy Blue";
    state[0].areaColour[2] = 99;
    const order::OrderRow row = order::row(0, state[0], 2);
    EXPECT_EQ(row.line(), "Navy Blue (C)");
    EXPECT_TRUE(row.cell == nullptr && row.fabric.empty());

    EXPECT_EQ(order::orderLine("Royal Blue", "P"), "Royal Blue (P)");
    EXPECT_EQ(order::orderLine("Red", ""), "Red ()");
    EXPECT_EQ(order::orderLine("", "P"), "");
}

TEST(KeyPoints, HalvesRoundToEven)
{
    EXPECT_EQ(state::roundToInt16(7.5), 8);
    EXPECT_EQ(state::roundToInt16(8.5), 8);
    EXPECT_EQ(state::roundToInt16(-0.5), 0);
    state::DesignState state;
    state::computeKeyPoints(state, 15, 160);
    EXPECT_EQ(state.keyX[0], 8);
    EXPECT_EQ(state.keyY[0], 15);
    EXPECT_EQ(state.keyY[9], 159);
}

} // namespace

// One name per slot, as the lists name the areas: Brisa's back list starts
// at slot 10 and only Brisa's labels say the view; slots a model lacks have none.
TEST(AreaNames, EverySlotByItsListEntry)
{
    EXPECT_EQ(order::areaName(0, 0), "Body");
    EXPECT_EQ(order::areaName(0, cat::tapeSlot(0)), "Binding Tape");
    EXPECT_EQ(order::areaLabel(0, 1), "Legs");
    const auto front = static_cast<int>(cat::kModels[cat::kBrisa].areas.size());
    EXPECT_EQ(order::areaName(cat::kBrisa, front), cat::kModels[cat::kBrisa].backAreas.front().name);
    EXPECT_EQ(order::areaLabel(cat::kBrisa, front - 1),
              "Front " + std::string(cat::kModels[cat::kBrisa].areas.back().name));
    EXPECT_EQ(order::areaLabel(cat::kBrisa, front),
              "Back " + std::string(cat::kModels[cat::kBrisa].backAreas.front().name));
    for (const auto& [m, slot] :
         {std::pair{0, -1}, std::pair{0, cat::slotCount(0)}, std::pair{-1, 0}, std::pair{cat::kModelCount, 0},
          std::pair{cat::kBrisa, cat::slotCount(cat::kBrisa)}}) {
        EXPECT_EQ(order::areaName(m, slot), "") << m << " " << slot;
        EXPECT_EQ(order::areaLabel(m, slot), "") << m << " " << slot;
    }
}
