#include "files/output.h"

#include "files/platform.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace files {

namespace {

using platform::Kind;

FileResult failed(const QString& reason)
{
    return {false, reason};
}

FileResult failedWith(int error)
{
    return failed(errorInWords(error));
}

QString folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QStringLiteral(".");
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString notAFile(Kind kind)
{
    switch (kind) {
    case Kind::Folder: return QStringLiteral("it is a folder");
    case Kind::Pipe: return QStringLiteral("it is a pipe, not a file");
    case Kind::Socket: return QStringLiteral("it is a socket, not a file");
    case Kind::Device: return QStringLiteral("it is a device, not a file");
    default: return QStringLiteral("it is not a file");
    }
}

// Why an existing file cannot be written.
FileResult notWritable(int error)
{
    if (error == EACCES || error == EPERM)
        return failed(QStringLiteral("the file is not writable"));
    return failedWith(error);
}

// Follows the links at path as the system would for this user, to the file
// a write must update (so that a link survives the rename). The kernel's
// protected_symlinks rule is applied here because we resolve the links
// ourselves: in a sticky, world-writable folder, a link owned by someone
// other than this user and the folder's owner is not followed.
FileResult resolveTarget(const QString& path, QString& target)
{
    QString at = path;
    for (int hop = 0; hop < 40; ++hop) {
        const platform::Status link = platform::linkStatus(at);
        if (link.kind != Kind::Link) {
            target = at;
            return {};
        }
        const QString folder = folderOf(at);
        const platform::Status parent = platform::status(folder);
        if (parent.sticky && parent.worldWritable && link.owner != platform::userId() &&
            link.owner != parent.owner)
            return failed(QStringLiteral("it is a link owned by another user"));
        int error = 0;
        const QString text = platform::linkText(at, error);
        if (error != 0)
            return failedWith(error);
        at = text.startsWith(QLatin1Char('/')) ? text : folder + QLatin1Char('/') + text;
    }
    return failedWith(ELOOP);
}

// A pipe, terminal or device takes the bytes as they come.
FileResult writeInto(const QString& target, QByteArrayView bytes)
{
    platform::File out(target, platform::File::Mode::Into);
    if (!out.isOpen())
        return notWritable(out.error());
    if (const int error = out.write(bytes.data(), bytes.size()))
        return failedWith(error);
    return {};
}

// Reads the old file from `from` to its end.
int readRest(platform::File& file, std::int64_t from, QByteArray& rest)
{
    std::array<char, 64 * 1024> chunk{};
    for (std::int64_t at = from;;) {
        const std::int64_t got = file.readAt(chunk.data(), static_cast<std::int64_t>(chunk.size()), at);
        if (got < 0)
            return file.error();
        if (got == 0)
            return 0;
        rest.append(chunk.data(), static_cast<qsizetype>(got));
        at += got;
    }
}

// Overwrites the start of the existing file and leaves the rest as it is
// (moved up or down when the kept bytes start elsewhere than where the new
// ones end). What can be checked before the first byte is written (a size
// limit, room for a longer start, the rest read whole) is, so that the old
// bytes are not half overwritten.
FileResult writeInPlace(const QString& target, QByteArrayView bytes, bool sync, std::int64_t keptFrom)
{
    platform::File file(target, platform::File::Mode::Update);
    if (!file.isOpen())
        return notWritable(file.error());
    QByteArray moved;
    const bool moves = keptFrom >= 0 && keptFrom != bytes.size();
    if (moves) {
        moved = bytes.toByteArray();
        if (const int error = readRest(file, keptFrom, moved))
            return failedWith(error);
        bytes = moved;
    }
    const std::int64_t limit = platform::fileSizeLimit();
    if (limit >= 0 && limit < bytes.size())
        return failedWith(EFBIG);
    if (const int error = file.reserve(bytes.size()))
        return failedWith(error);
    if (const int error = file.writeAt(bytes.data(), bytes.size(), 0))
        return failedWith(error);
    if (moves) {
        if (const int error = file.truncate(bytes.size()))
            return failedWith(error);
    }
    if (sync) {
        if (const int error = file.sync())
            return failedWith(error);
    }
    return {};
}

// Copies what follows the first `from` bytes of the old file to `to` in the
// new one.
int copyTail(platform::File& old, std::int64_t from, platform::File& out, std::int64_t to)
{
    std::array<char, 64 * 1024> chunk{};
    std::int64_t at = from;
    for (;;) {
        const std::int64_t got = old.readAt(chunk.data(), static_cast<std::int64_t>(chunk.size()), at);
        if (got < 0)
            return old.error();
        if (got == 0)
            return 0; // the end, or the old file got shorter meanwhile: what was there is copied
        if (const int error = out.writeAt(chunk.data(), got, to + (at - from)))
            return error;
        at += got;
    }
}

enum class Replaced { Yes, No, InPlace };

// Writes the new file beside the target and renames it into its place: until
// then the old file is untouched. InPlace where the old file should be
// updated where it stands instead (options.keepTail only).
Replaced replaceWhole(const QString& target, QByteArrayView bytes, const platform::Status& old,
                      const WriteOptions& options, FileResult& result)
{
    const bool mayUpdate = options.keepTail && old.found();
    const QString folder = folderOf(target);
    platform::File out = platform::File::temporaryIn(folder);
    if (!out.isOpen()) {
        if (mayUpdate)
            return Replaced::InPlace;
        const platform::Status place = platform::status(folder);
        if (!place.found())
            result = failed(QStringLiteral("the folder does not exist"));
        else if (out.error() == EACCES || out.error() == EPERM)
            result = failed(QStringLiteral("the folder is not writable"));
        else
            result = failedWith(out.error());
        return Replaced::No;
    }
    if (!old.found())
        out.takeNewFileMode();
    else if (!out.takeOwnershipOf(target) && mayUpdate)
        return Replaced::InPlace; // someone else's group: the file stays theirs
    if (const int error = out.writeAt(bytes.data(), bytes.size(), 0)) {
        result = failedWith(error);
        return Replaced::No;
    }
    const std::int64_t keptFrom = options.keptFrom >= 0 ? options.keptFrom : bytes.size();
    if (options.keepTail && old.found() && old.size > keptFrom) {
        platform::File tail(target, platform::File::Mode::Read);
        if (!tail.isOpen())
            return Replaced::InPlace; // a file whose tail cannot be read is still updated
        if (const int error = copyTail(tail, keptFrom, out, bytes.size())) {
            result = failedWith(error);
            return Replaced::No;
        }
    }
    if (options.sync) {
        if (const int error = out.sync()) {
            result = failedWith(error);
            return Replaced::No;
        }
    }
    if (const int error = out.replace(target)) {
        // The data was whole; only putting it in place failed (a folder that
        // takes no new name).
        if (mayUpdate && platform::writeAccess(target) == 0)
            return Replaced::InPlace;
        result = failedWith(error);
        return Replaced::No;
    }
    return Replaced::Yes;
}

} // namespace

QString errorInWords(int error)
{
    switch (error) {
    case ENOSPC: return QStringLiteral("the disk is full");
#ifdef EDQUOT
    case EDQUOT: return QStringLiteral("your disk quota is used up");
#endif
    case EFBIG: return QStringLiteral("the file would be larger than the system allows");
    case EROFS: return QStringLiteral("the disk is read-only");
    case EIO: return QStringLiteral("the disk reported an error");
    case EACCES:
    case EPERM: return QStringLiteral("you do not have permission");
    case ENOENT: return QStringLiteral("it does not exist");
    case ENOTDIR: return QStringLiteral("a part of its path is not a folder");
    case EISDIR: return QStringLiteral("it is a folder");
    case ENAMETOOLONG: return QStringLiteral("the name is too long");
    case ELOOP: return QStringLiteral("its path has too many symbolic links");
    case EMFILE:
    case ENFILE: return QStringLiteral("too many files are open");
    case ENOMEM: return QStringLiteral("there is not enough memory");
    default: break;
    }
    QString text = QString::fromLocal8Bit(std::strerror(error));
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

FileResult writeFile(const QString& path, QByteArrayView bytes, const WriteOptions& options)
{
    QString target;
    if (FileResult resolved = resolveTarget(path, target); !resolved)
        return resolved;
    const platform::Status old = platform::status(target);
    if (!old.found() && old.error != ENOENT)
        return failedWith(old.error);
    if (!options.source.isEmpty() && old.sameFileAs(platform::status(options.source)))
        return failed(
            QStringLiteral("it is '%1' itself, the file it would be made from").arg(options.source));
    if (old.found() && old.kind != Kind::File) {
        // Opening a pipe may wait for a reader for ever; renaming over a
        // device would take it away from everybody.
        if (options.intoDevices && old.kind != Kind::Folder)
            return writeInto(target, bytes);
        return failed(notAFile(old.kind));
    }
    if (old.found()) {
        if (const int error = platform::writeAccess(target))
            return notWritable(error);
    }
    // Someone else's design file stays theirs: it is updated, not replaced
    // by one of ours.
    const bool othersFile = old.found() && !platform::isAdministrator() && old.owner != platform::userId();
    if (!(options.keepTail && othersFile)) {
        FileResult result;
        switch (replaceWhole(target, bytes, old, options, result)) {
        case Replaced::Yes: return {};
        case Replaced::No: return result;
        case Replaced::InPlace: break;
        }
    }
    return writeInPlace(target, bytes, options.sync, options.keepTail ? options.keptFrom : -1);
}

} // namespace files
