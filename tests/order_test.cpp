// The colour list: one line per area, "Name (code)" or empty.
#include "catalogue/models.h"
#include "order/summary.h"
#include "state/state.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

// A state in its start values with a model's default letters.
state::DesignState startState(int model)
{
    state::DesignState state;
    state::resetToStartValues(state);
    state::setDefaultLetters(state[model], model);
    return state;
}

TEST(OrderLines, OnlyColouredAreasHaveText)
{
    state::DesignState state = startState(0);
    state[0].areaColourName[2] = "Navy Blue";
    const auto lines = order::orderLines(state[0], 0, 6);
    ASSERT_EQ(lines.size(), 6U);
    EXPECT_EQ(lines[2], "Navy Blue (C)");
    for (std::size_t i : {0U, 1U, 3U, 4U, 5U})
        EXPECT_EQ(lines[i], "") << i;
}

TEST(OrderLines, EmptyFabricCodeGivesEmptyParentheses)
{
    EXPECT_EQ(order::orderLine("Royal Blue", "P"), "Royal Blue (P)");
    EXPECT_EQ(order::orderLine("Red", ""), "Red ()");
    EXPECT_EQ(order::orderLine("", "P"), "");
}

TEST(OrderLines, BrisaBackSlotsAreTheirOwnLines)
{
    state::DesignState state = startState(6);
    state[6].areaColourName[12] = "Gold";
    const auto back = order::orderLines(state[6], 10, 10);
    EXPECT_EQ(back[2], "Gold (P)");
    const auto front = order::orderLines(state[6], 0, 10);
    EXPECT_EQ(front[2], "");
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
