#pragma once

#include <QByteArrayView>
#include <QString>

// The one writer of every file the programs make: design files, order sheets
// and thumbnails. What holds for one output holds for all of them.
namespace files {

// The outcome of a read or a write; `reason` says why it failed, in the
// user's words where the system's are technical: a clause without a full stop
// ("the disk is full"), to follow a message naming the file.
struct [[nodiscard]] FileResult {
    bool ok = true;
    QString reason;
    explicit operator bool() const { return ok; }
};

struct WriteOptions {
    // The file the output is made from. An output that is this very file
    // (through links, or a hard link) is refused before anything is written.
    QString source;
    // The bytes replace only the start of an existing file; what follows
    // them stays (a design record). Where such a file cannot be replaced,
    // it is updated where it stands, as a last resort.
    bool keepTail = false;
    // With keepTail: where in the old file the bytes kept start. -1: right
    // after as many bytes as are written (a record replaced by a record).
    // Elsewhere, what was between is dropped and the rest follows the bytes.
    std::int64_t keptFrom = -1;
    // A pipe, terminal or device at the path is written into, never
    // replaced; without this it is refused.
    bool intoDevices = false;
    // Waits for the disk before the rename. A thumbnail is made again at
    // will; a design is not.
    bool sync = true;
};

// Writes bytes to the file at path. A file is replaced whole by rename: every
// write (and the sync) is checked first, so a crash, kill, full disk, quota,
// size limit or I/O error leaves the old file byte for byte or the new one,
// and any failure is reported. The replacement keeps the old file's
// permissions, owner and group as far as this user may give them; a new file
// gets the umask's. A symbolic link at path is followed, and stays; but a link
// in a sticky, world-writable folder (/tmp) owned by neither this user nor
// the folder's owner is refused, as the system refuses to follow it. The
// temporary file has no name, or a short one, so target names of any allowed
// length work. A folder is refused, as is a pipe, socket or device unless
// options.intoDevices.
FileResult writeFile(const QString& path, QByteArrayView bytes, const WriteOptions& options = {});

// The system's error (a <cerrno> number) as a clause in the user's words.
QString errorInWords(int error);

} // namespace files
