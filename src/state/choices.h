#pragma once

#include "state/state.h"

#include <span>
#include <string_view>

namespace state {

// What choosing row `row` of model m's area list (Brisa's back list when
// `backView`; -1 for no row) changes, for the controls to show. The design's
// current fabric is already set; the page then lists `fabrics` (when
// `listFabrics`), selects `selectFabric`'s entry (when not -1) and draws the
// palette of the current fabric, or the tape's.
struct AreaChoice {
    bool listFabrics = false;                  // false: the fabric list keeps its entries
    std::span<const std::string_view> fabrics; // the entries, when listed
    int selectFabric = -1;                     // the fabric whose entry is selected, -1 none
    bool tapePalette = false;                  // the binding tape: its palette, its fabric only
};

// The binding tape takes the tape, its only fabric. An area with a fabric
// rule lists the rule's fabrics. The area's recorded fabric code, when the
// model looks that code up, becomes the current fabric ("1" is an old code
// for CottonFelt). Brisa has no tape and no rules.
AreaChoice chooseArea(ModelDesign& design, int m, bool backView, int row);

// Choosing fabric `fabric` (-1: an entry that names no fabric, which changes
// nothing) in model m's fabric list: it becomes the model's current fabric,
// and its fall rate the one the page shows.
void chooseFabric(DesignState& state, int m, int fabric);

} // namespace state
