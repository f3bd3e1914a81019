#pragma once

#include "files/output.h"
#include "state/state.h"

#include <QString>

// Reading and writing a model's design file. Both transfer the record in one
// go and close the file before returning.
namespace files {

// Writes model m's record at the start of the file at path, creating it when
// it does not exist; an existing file keeps its bytes after the record, its
// permissions, owner and group, and (when path is a symbolic link) the link,
// which goes on pointing at the updated file. Anything at path that is not a
// plain file (a folder, pipe, socket or device) is refused before it is
// opened, as is a file the user may not write.
//
// Written by writeFile (files/output.h), which says what holds for every
// output; only where the file cannot be replaced but can be written (a folder
// that takes no new file, someone else's file, a file whose group the user
// cannot give a new file) does the record go straight into the existing file,
// as a last resort. The design is never changed.
FileResult writeDesignRecord(int m, const state::ModelDesign& design, const QString& path);

// Reads model m's record from the start of the file at path into its colours
// and fabrics; only the record is read, however long the file. A folder, a
// pipe or device, a missing, unreadable or empty file, or one shorter than the
// record fails and changes nothing.
FileResult readDesignRecord(int m, state::ModelDesign& design, const QString& path);

} // namespace files
