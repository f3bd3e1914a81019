#pragma once

#include "state/state.h"

#include <QString>

// Reading and writing a model's design file. Both transfer the record in one
// go and close the file before returning.
namespace files {

// The outcome of a read or a write; `reason` says why it failed, in the
// user's words where the system's are technical: a clause without a full stop
// ("the disk is full"), to follow a message naming the file.
struct [[nodiscard]] FileResult {
    bool ok = true;
    QString reason;
    explicit operator bool() const { return ok; }
};

// Writes model m's record at the start of the file at path, creating it when
// it does not exist; an existing file keeps its bytes after the record, its
// permissions, owner and group, and (when path is a symbolic link) the link,
// which goes on pointing at the updated file. Anything at path that is not a
// plain file (a folder, pipe, socket or device) is refused before it is
// opened, as is a file the user may not write.
//
// The file is replaced whole by rename (QSaveFile). Every write and the sync
// are checked before the rename, so a crash, kill, full disk, quota, size
// limit or I/O error leaves either the old file byte for byte or the new one,
// never a mix, and any failure is reported. Only where the file cannot be
// replaced but can be written (a folder that takes no new file, a sticky
// folder, a file whose owner or group the user cannot give a new file, a name
// too long for the temporary one) does the record go straight into the
// existing file, as a last resort. The design is never changed.
FileResult writeDesignRecord(int m, const state::ModelDesign& design, const QString& path);

// Reads model m's record from the start of the file at path into its colours
// and fabrics; only the record is read, however long the file. A folder, a
// pipe or device, a missing, unreadable or empty file, or one shorter than the
// record fails and changes nothing.
FileResult readDesignRecord(int m, state::ModelDesign& design, const QString& path);

} // namespace files
