// The colour list: one line per area, "Name (code)" or empty.
#include "order/summary.h"
#include "state/state.h"

#include <gtest/gtest.h>

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
