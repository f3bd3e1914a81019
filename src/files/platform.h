#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

// What the design files, sheets and thumbnails need from the operating
// system, and nothing more. This header is portable; platform_posix.cpp is
// its POSIX half, and another system needs only its own half. Errors are the
// numbers of <cerrno> (ENOSPC, EFBIG, ...), 0 for none.
namespace files::platform {

// File names are bytes to the system. A name is decoded as UTF-8, and a byte
// that is not part of valid UTF-8 becomes a lone surrogate U+DC80..U+DCFF (as
// Python's surrogate escapes do), so that encoding gives the very bytes back.
QString decodeName(QByteArrayView bytes);
QByteArray encodeName(const QString& name);
// True when the name holds a byte that is no text in the system's encoding.
bool hasUndecodedBytes(const QString& name);

// A file-size limit then makes a write fail with EFBIG instead of ending the
// process with SIGXFSZ.
void ignoreFileSizeSignal();
// The largest file this process may write, or -1 for no limit.
std::int64_t fileSizeLimit();

enum class Kind { Missing, File, Folder, Link, Pipe, Socket, Device, Other };

struct Status {
    int error = 0; // why there is no status (ENOENT: nothing there)
    Kind kind = Kind::Missing;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint32_t owner = 0;
    std::int64_t size = 0;
    bool sticky = false;        // a folder whose entries only their owners may remove
    bool worldWritable = false; // anybody may add entries (a folder) or write (a file)
    bool found() const { return kind != Kind::Missing; }
    bool sameFileAs(const Status& other) const
    {
        return found() && other.found() && device == other.device && inode == other.inode;
    }
};

Status status(const QString& path);     // links followed
Status linkStatus(const QString& path); // a link itself
// The text of the link at path, or an empty name and an error.
QString linkText(const QString& path, int& error);
std::uint32_t userId();
bool isAdministrator();
// 0 when this user may write the existing file at path, else why not
// (EACCES, EROFS, ...).
int writeAccess(const QString& path);

// An open file, closed when it goes (a temporary one not put in place is
// removed).
class File final {
public:
    enum class Mode {
        Read,
        Update, // an existing file, written where it stands
        Into    // a pipe, terminal or device, written into
    };
    File() = default;
    File(const QString& path, Mode mode);
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // A new empty file in folder that nobody else sees: unnamed where the
    // system allows (nothing is left behind by a crash), else under a short
    // hidden name (so a target name of any allowed length fits beside it).
    static File temporaryIn(const QString& folder);

    bool isOpen() const { return m_handle >= 0; }
    int error() const { return m_error; }

    // The bytes read at offset, 0 at the end, -1 on an error.
    std::int64_t readAt(char* data, std::int64_t size, std::int64_t offset);
    // Every byte written at offset, or the error that stopped it.
    int writeAt(const char* data, std::int64_t size, std::int64_t offset);
    int write(const char* data, std::int64_t size); // at the current position
    int sync();
    // Room for size bytes, where the file system can say so beforehand.
    int reserve(std::int64_t size);
    // Cuts the file to size bytes.
    int truncate(std::int64_t size);
    // The owner, group and permissions of the file `like` stands for; false
    // when this user cannot give them.
    bool takeOwnershipOf(const QString& like);
    // What a new file gets: read and write for all, less the umask.
    void takeNewFileMode();

    // Puts a temporary file in target's place, replacing what is there.
    int replace(const QString& target);
    // Closes the file; a temporary one not put in place goes with it.
    void discard();

private:
    int m_handle = -1;
    int m_error = 0;
    bool m_unnamed = false;
    QByteArray m_temporaryName; // of a named temporary file
    QByteArray m_folder;
};

} // namespace files::platform
