#pragma once

#include "catalogue/fabrics.h"
#include "state/state.h"

#include <string>
#include <string_view>
#include <vector>

namespace order {

// The area of slot `slot` of model m as its list names it ("Legs"; Brisa's
// back list from slot 10 on), or "" for a slot the model does not have.
std::string_view areaName(int m, int slot);

// The area as the user knows it, on Brisa with its view ("Back Legs Left").
std::string areaLabel(int m, int slot);

// One colour-list line: "Royal Blue (P)" for a coloured area, "" otherwise.
std::string orderLine(std::string_view colourName, std::string_view fabricCode);

// One area of a model's order, as the colour list shows it: the one source
// of the colour list, the drawing's tooltips and descriptions, the order
// sheet's table and the order tool's summaries. Its views point into the
// catalogue and into the design it was made from.
struct OrderRow {
    int slot = 0;
    std::string_view area;   // as its area list names it
    bool back = false;       // one of Brisa's back-view areas
    std::string_view colour; // the colour's name, empty when the area shows none
    std::string_view code;   // the fabric code the line shows
    // The palette cell behind the colour and that cell's fabric: null and
    // empty when the area shows no colour.
    const cat::PaletteColour* cell = nullptr;
    std::string_view fabric;

    bool coloured() const { return !colour.empty(); }
    std::string line() const { return orderLine(colour, code); }
};

// Slot `slot` of model m; a slot the model does not have gives an empty row.
OrderRow row(int m, const state::ModelDesign& design, int slot);

// Every slot of model m in slot order: the areas of its list (Brisa: the
// front list, then the back list), then the binding tape where it has one.
// A model index outside 0-7 gives no rows.
std::vector<OrderRow> rows(int m, const state::ModelDesign& design);

} // namespace order
