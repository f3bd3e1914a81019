#include "files/design_file.h"

#include "files/record.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

FileResult failed(const QString& reason)
{
    return {false, reason};
}

// The system's error in the user's words; the clause ends without a stop, as
// the message it goes into adds one.
QString inWords(int error)
{
    switch (error) {
    case ENOSPC: return QStringLiteral("the disk is full");
    case EDQUOT: return QStringLiteral("your disk quota is used up");
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

// Qt's own text for the rare failure the checks above did not foresee, made
// to fit the clause the message expects.
QString qtWords(const QFileDevice& device)
{
    QString text = device.errorString();
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

FileResult failedWith(int error)
{
    return failed(inWords(error));
}

// What stands at a path that is there but is no file to read or replace.
QString notAFile(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return QStringLiteral("it is a folder");
        if (S_ISFIFO(st.st_mode))
            return QStringLiteral("it is a pipe, not a file");
        if (S_ISSOCK(st.st_mode))
            return QStringLiteral("it is a socket, not a file");
        if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
            return QStringLiteral("it is a device, not a file");
    }
    return QStringLiteral("it is not a file");
}

// Every byte goes straight to the file and every write is checked, so a full
// disk or a size limit is seen here with the system's own error, never later
// in a buffer that a commit would flush (and ignore) on its way.
int writeAll(int fd, const char* data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t done = ::pwrite(fd, data, static_cast<size_t>(size), static_cast<off_t>(offset));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (done == 0)
            return EIO;
        data += done;
        size -= done;
        offset += done;
    }
    return 0;
}

int syncData(int fd)
{
    return ::fdatasync(fd) == 0 ? 0 : errno;
}

// The file a write must update: a symbolic link is followed to its target so
// the link itself survives the rename.
QString writeTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

// Copies what follows the record in the old file, a chunk at a time.
FileResult copyTail(QFile& old, qint64 from, int out)
{
    if (!old.seek(from))
        return failed(qtWords(old));
    std::array<char, 64 * 1024> chunk{};
    qint64 at = from;
    while (at < old.size()) {
        const qint64 got = old.read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (got < 0)
            return failed(qtWords(old));
        if (got == 0)
            break; // the old file got shorter meanwhile: what was there is copied
        if (const int error = writeAll(out, chunk.data(), got, at))
            return failedWith(error);
        at += got;
    }
    return {};
}

// The replacement takes the old file's owner, group and permissions, as far
// as this user may give them: a member of the group keeps the group, root
// keeps both. False when they cannot be kept (the old file is then written in
// place).
bool keepOwnership(int fd, const struct stat& old)
{
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return false;
    if (now.st_uid != old.st_uid || now.st_gid != old.st_gid) {
        if (::fchown(fd, now.st_uid == old.st_uid ? static_cast<uid_t>(-1) : old.st_uid,
                     now.st_gid == old.st_gid ? static_cast<gid_t>(-1) : old.st_gid) != 0)
            return false;
    }
    // After the owner: a change of owner clears the set-id bits.
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// Overwrites the record at the start of the existing file, leaving the rest of
// it as it is. Used only where the file cannot be replaced whole: a folder
// that takes no new file, a sticky folder or a file someone else owns, a name
// too long for the temporary file. What can be checked before the first byte
// is written (a size limit, room for a longer record) is, so that the old
// record is not half overwritten.
FileResult writeInPlace(const RecordBytes& record, const QString& target)
{
    QFile file(target);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return failed(QFileInfo(target).isWritable() ? qtWords(file)
                                                     : QStringLiteral("the file is not writable"));
    const auto size = static_cast<qint64>(record.size);
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        limit.rlim_cur < static_cast<rlim_t>(size))
        return failedWith(EFBIG);
    if (file.size() < size) {
        const int error = ::posix_fallocate(file.handle(), 0, size);
        if (error != 0 && error != EOPNOTSUPP && error != EINVAL)
            return failedWith(error);
    }
    if (const int error =
            writeAll(file.handle(), reinterpret_cast<const char*>(record.bytes.data()), size, 0))
        return failedWith(error);
    if (const int error = syncData(file.handle()))
        return failedWith(error);
    return {};
}

enum class Replaced { Yes, No, InPlace };

// Writes record and tail into a new file beside the target and puts it in the
// target's place by rename: until then the old file is untouched, so any
// failure on the way leaves it byte for byte. InPlace where the folder or the
// rename refuses the replacement although the old file could be updated.
Replaced replaceWhole(const RecordBytes& record, const QString& target, const struct stat* old, QFile* tail,
                      FileResult& result)
{
    const bool hasOld = old != nullptr;
    QSaveFile out(target);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (hasOld)
            return Replaced::InPlace;
        const QFileInfo folder(QFileInfo(target).absolutePath());
        result = failed(!folder.exists()       ? QStringLiteral("the folder does not exist")
                        : !folder.isWritable() ? QStringLiteral("the folder is not writable")
                                               : qtWords(out));
        return Replaced::No;
    }
    const auto discard = [&](FileResult why) {
        out.cancelWriting();
        result = std::move(why);
        return Replaced::No;
    };
    const int fd = out.handle();
    if (hasOld && !keepOwnership(fd, *old)) {
        out.cancelWriting();
        return Replaced::InPlace;
    }
    const auto size = static_cast<qint64>(record.size);
    if (const int error = writeAll(fd, reinterpret_cast<const char*>(record.bytes.data()), size, 0))
        return discard(failedWith(error));
    if (tail != nullptr) {
        if (FileResult copied = copyTail(*tail, size, fd); !copied)
            return discard(std::move(copied));
    }
    if (const int error = syncData(fd))
        return discard(failedWith(error));
    if (!out.flush() || out.error() != QFileDevice::NoError)
        return discard(failed(qtWords(out)));
    if (out.commit())
        return Replaced::Yes;
    // The data was whole; only putting it in place failed (a sticky folder,
    // a temporary name the file system finds too long).
    if (hasOld && QFileInfo(target).isWritable())
        return Replaced::InPlace;
    result = failed(qtWords(out));
    return Replaced::No;
}

} // namespace

FileResult writeDesignRecord(int m, const state::ModelDesign& design, const QString& path)
{
    if (!cat::isModelIndex(m))
        return failed(QStringLiteral("there is no such suit model"));
    const RecordBytes record = packDesignRecord(m, design);
    const QString target = writeTarget(path);
    struct stat old {};
    const bool hasOld = ::stat(QFile::encodeName(target).constData(), &old) == 0;
    if (!hasOld && errno != ENOENT)
        return failedWith(errno);
    // Nothing is opened that is not a plain file: opening a pipe would wait
    // for a reader for ever.
    if (hasOld && !S_ISREG(old.st_mode))
        return failed(notAFile(target));
    if (hasOld && !QFileInfo(target).isWritable())
        return failed(QStringLiteral("the file is not writable"));

    QFile tail(target);
    const bool hasTail = hasOld && old.st_size > record.size;
    // A file whose tail cannot be read is still updated, in place.
    const bool tailReadable = hasTail && tail.open(QIODevice::ReadOnly);
    // Someone else's file stays theirs: it is updated, not replaced by one of ours.
    const bool othersFile = hasOld && ::geteuid() != 0 && old.st_uid != ::geteuid();

    if (!othersFile && (!hasTail || tailReadable)) {
        FileResult result;
        switch (
            replaceWhole(record, target, hasOld ? &old : nullptr, tailReadable ? &tail : nullptr, result)) {
        case Replaced::Yes: return {};
        case Replaced::No: return result;
        case Replaced::InPlace: break;
        }
    }
    return writeInPlace(record, target);
}

FileResult readDesignRecord(int m, state::ModelDesign& design, const QString& path)
{
    if (!cat::isModelIndex(m))
        return failed(QStringLiteral("there is no such suit model"));
    const QFileInfo info(path);
    if (!info.exists())
        return failed(info.isSymLink() ? QStringLiteral("the file its link points to does not exist")
                                       : QStringLiteral("the file does not exist"));
    if (!info.isFile())
        return failed(notAFile(path));
    if (!info.isReadable())
        return failed(QStringLiteral("the file is not readable"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(qtWords(file));
    const int needed = recordBytes(m);
    const QByteArray bytes = file.read(needed);
    if (file.error() != QFileDevice::NoError)
        return failed(qtWords(file));
    if (bytes.isEmpty())
        return failed(QStringLiteral("the file is empty"));
    if (bytes.size() < needed)
        return failed(QStringLiteral("the file is too short for a design of this suit (%1 of %2 bytes)")
                          .arg(bytes.size())
                          .arg(needed));
    const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                             static_cast<std::size_t>(bytes.size()));
    if (!unpackDesignRecord(m, view, design))
        return failed(QStringLiteral("the file is too short for a design of this suit"));
    return {};
}

} // namespace files
