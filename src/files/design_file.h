#pragma once

#include "state/state.h"

#include <QString>

// Reading and writing a model's design file. Both transfer the record in one
// go and close the file before returning.
namespace files {

// The outcome of a read or a write; `reason` says why it failed, in Qt's words
// where Qt gave them.
struct [[nodiscard]] FileResult {
    bool ok = true;
    QString reason;
    explicit operator bool() const { return ok; }
};

// Writes model m's record at the start of the file at path, creating it when
// it does not exist; an existing file keeps its bytes after the record, its
// permissions, and (when path is a symbolic link) the link, which goes on
// pointing at the updated file.
//
// The file is replaced whole by rename (QSaveFile), so a crash, kill or full
// disk leaves either the old file or the new one, never a mix. Only where the
// folder cannot take the temporary file does the record go straight into the
// existing file, as a last resort. The design is never changed.
FileResult writeDesignRecord(int m, const design::ModelDesign& design, const QString& path);

// Reads model m's record from the start of the file at path into its colours
// and fabrics; only the record is read, however long the file. A folder, a
// missing or unreadable file, or one shorter than the record fails and
// changes nothing.
FileResult readDesignRecord(int m, design::ModelDesign& design, const QString& path);

} // namespace files
