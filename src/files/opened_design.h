#pragma once

#include "files/design_file.h"
#include "state/rebuild_plan.h"
#include "state/state.h"

#include <QString>

namespace files {

// A model's design as the designer shows it after opening a file, without a
// window: New's reset (every slot without colour, the default fabric letters,
// no names), then the record read, then the names and codes the rebuild
// gives. `plan` is that rebuild: the slots that show a colour, and which.
struct OpenedDesign {
    state::ModelDesign design;
    state::RebuildPlan plan;
};

// Opens the file at path as a design of model m. On failure `opened` is left
// as New leaves it and the result says why.
FileResult openDesign(int m, const QString& path, OpenedDesign& opened);

} // namespace files
