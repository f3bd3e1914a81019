#include "files/design_file.h"

#include "files/order_block.h"
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

// Copies what follows the old record and block, from `from` in the old file
// to `to` in the new one, a chunk at a time.
FileResult copyTail(QFile& old, qint64 from, int out, qint64 to)
{
    if (!old.seek(from))
        return failed(qtWords(old));
    std::array<char, 64 * 1024> chunk{};
    qint64 at = to;
    for (;;) {
        const qint64 got = old.read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (got < 0)
            return failed(qtWords(old));
        if (got == 0)
            break; // the end, or the old file got shorter meanwhile: what was there is copied
        if (const int error = writeAll(out, chunk.data(), got, at))
            return failedWith(error);
        at += got;
    }
    return {};
}

// The size of the order block the old file holds right after its record, 0
// when what follows is no block (it is then kept as it is).
qint64 oldBlockSize(QFile& old, qint64 at)
{
    if (!old.seek(at))
        return 0;
    const QByteArray start = old.read(kOrderFrameSize + kMaxOrderPayload);
    const auto found = findOrderBlock(
        {reinterpret_cast<const std::uint8_t*>(start.constData()), static_cast<std::size_t>(start.size())});
    return found ? found->size : 0;
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

// Overwrites the start of the existing file with the record and block,
// leaving the rest of it as it is (moved when the block's size changed).
// Used only where the file cannot be replaced whole: a folder that takes no
// new file, a sticky folder or a file someone else owns, a name too long for
// the temporary file. What can be checked before the first byte is written
// (a size limit, room for a longer start, the rest read whole) is, so that
// the old record is not half overwritten.
FileResult writeInPlace(const QByteArray& head, qint64 recordSize, const QString& target, qint64 tailFrom)
{
    QFile file(target);
    const bool moves = head.size() != recordSize || tailFrom != recordSize;
    const QIODevice::OpenMode mode = QIODevice::ReadWrite | QIODevice::Unbuffered;
    if (!file.open(mode))
        return failed(QFileInfo(target).isWritable() ? qtWords(file)
                                                     : QStringLiteral("the file is not writable"));
    QByteArray content = head;
    if (moves) {
        if (!file.seek(tailFrom))
            return failed(qtWords(file));
        const QByteArray rest = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return failed(qtWords(file));
        content += rest;
    }
    const auto size = static_cast<qint64>(content.size());
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        limit.rlim_cur < static_cast<rlim_t>(size))
        return failedWith(EFBIG);
    if (file.size() < size) {
        const int error = ::posix_fallocate(file.handle(), 0, size);
        if (error != 0 && error != EOPNOTSUPP && error != EINVAL)
            return failedWith(error);
    }
    if (const int error = writeAll(file.handle(), content.constData(), size, 0))
        return failedWith(error);
    if (moves && file.size() > size && ::ftruncate(file.handle(), size) != 0)
        return failedWith(errno);
    if (const int error = syncData(file.handle()))
        return failedWith(error);
    return {};
}

enum class Replaced { Yes, No, InPlace };

// Writes record and tail into a new file beside the target and puts it in the
// target's place by rename: until then the old file is untouched, so any
// failure on the way leaves it byte for byte. InPlace where the folder or the
// rename refuses the replacement although the old file could be updated.
Replaced replaceWhole(const QByteArray& head, const QString& target, const struct stat* old, QFile* tail,
                      qint64 tailFrom, FileResult& result)
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
    const auto size = static_cast<qint64>(head.size());
    if (const int error = writeAll(fd, head.constData(), size, 0))
        return discard(failedWith(error));
    if (tail != nullptr) {
        if (FileResult copied = copyTail(*tail, tailFrom, fd, size); !copied)
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

// The details after the record, read as far as the block says and no
// further; none when what follows is no block.
design::OrderDetails readOrderBlock(QFile& file)
{
    QByteArray bytes = file.read(kOrderFrameSize);
    if (bytes.size() < kOrderFrameSize || !bytes.startsWith(QByteArrayView(kOrderMagic, kOrderMagicSize)))
        return {};
    const auto* at = reinterpret_cast<const std::uint8_t*>(bytes.constData()) + kOrderMagicSize;
    const std::uint32_t length = static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
                                 static_cast<std::uint32_t>(at[2]) << 16 |
                                 static_cast<std::uint32_t>(at[3]) << 24;
    if (length > static_cast<std::uint32_t>(kMaxOrderPayload))
        return {};
    // The frame read holds the first four payload bytes already.
    bytes += file.read(static_cast<qint64>(length));
    const auto found = findOrderBlock(
        {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())});
    return found ? orderFromJson(found->object, found->payload) : design::OrderDetails{};
}

} // namespace

FileResult writeDesignRecord(int m, const design::ModelDesign& design, const QString& path)
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

    const std::optional<QByteArray> block = orderBlock(design.order);
    if (!block)
        return failed(QStringLiteral("the order details are too long to be kept in a design file"));
    const auto recordSize = static_cast<qint64>(record.size);
    QByteArray head(reinterpret_cast<const char*>(record.bytes.data()), record.size);
    head += *block;

    QFile tail(target);
    const bool hasAfter = hasOld && old.st_size > recordSize;
    // A file whose tail cannot be read is still updated, in place.
    const bool tailReadable = hasAfter && tail.open(QIODevice::ReadOnly);
    // Details go only where the old block (if any) can be found and replaced.
    if (hasAfter && !tailReadable && !block->isEmpty())
        return failed(QStringLiteral("the file is not readable, so its order details cannot be replaced"));
    // What followed the old record, less our old block, is kept after the new block.
    const qint64 tailFrom = recordSize + (tailReadable ? oldBlockSize(tail, recordSize) : 0);
    const bool hasTail = tailReadable && old.st_size > tailFrom;
    // Someone else's file stays theirs: it is updated, not replaced by one of ours.
    const bool othersFile = hasOld && ::geteuid() != 0 && old.st_uid != ::geteuid();

    if (!othersFile && (!hasAfter || tailReadable)) {
        FileResult result;
        switch (replaceWhole(head, target, hasOld ? &old : nullptr, hasTail ? &tail : nullptr, tailFrom,
                             result)) {
        case Replaced::Yes: return {};
        case Replaced::No: return result;
        case Replaced::InPlace: break;
        }
    }
    tail.close();
    return writeInPlace(head, recordSize, target, hasOld ? tailFrom : recordSize);
}

FileResult readDesignRecord(int m, design::ModelDesign& design, const QString& path)
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
    design::OrderDetails order = readOrderBlock(file);
    if (!unpackDesignRecord(m, view, design))
        return failed(QStringLiteral("the file is too short for a design of this suit"));
    design.order = std::move(order);
    return {};
}

} // namespace files
