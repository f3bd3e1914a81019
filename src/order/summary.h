#pragma once

#include "design/state.h"

#include <array>
#include <string>
#include <vector>

namespace tk {
class ListBox;
}

namespace order {

// One colour-list line: "Royal Blue (P)" for a coloured area, "" otherwise.
std::string orderLine(const std::string& colourName, const std::string& fabricCode);

// The lines of slots [first, first + count) of a model's design, in slot order.
std::vector<std::string> orderLines(const design::ModelDesign& design, int first, int count);

// The colour lists, by control index 0-8 (8 is Brisa's back view).
using ColourLists = std::array<tk::ListBox*, 9>;

// Rebuilds the colour list(s) of model m whole from its design: one line per
// entry of the area list; Brisa's front slots go to list 6, its back slots to
// list 8. A model index outside 0-7 does nothing.
void filltext(int m, const design::DesignState& state, const ColourLists& colordesc);

} // namespace order
