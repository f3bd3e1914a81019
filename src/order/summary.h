#pragma once

#include "state/state.h"

#include <string>
#include <vector>

namespace order {

// One colour-list line: "Royal Blue (P)" for a coloured area, "" otherwise.
std::string orderLine(const std::string& colourName, const std::string& fabricCode);

// The lines of slots [first, first + count) of a model's design, in slot order.
std::vector<std::string> orderLines(const state::ModelDesign& design, int first, int count);

// The lines of a model's colour list(s), one per entry of its area list:
// `front` for list m, `back` for Brisa's back list (empty for the others).
struct OrderSummary {
    std::vector<std::string> front;
    std::vector<std::string> back;
};

// The whole colour list of model m from its design. A model index outside 0-7
// gives no lines.
OrderSummary summaryLines(int m, const state::ModelDesign& design);

} // namespace order
