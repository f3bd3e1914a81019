#include "files/design_file.h"

#include "files/record.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>

namespace files {

namespace {

FileResult failed(const QString& reason)
{
    return {false, reason};
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
FileResult copyTail(QFile& old, qint64 from, QIODevice& out)
{
    if (!old.seek(from))
        return failed(old.errorString());
    std::array<char, 64 * 1024> chunk{};
    qint64 expected = old.size() - from;
    while (expected > 0) {
        const qint64 got = old.read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (got <= 0)
            return failed(old.errorString());
        if (out.write(chunk.data(), got) != got)
            return failed(out.errorString());
        expected -= got;
    }
    return {};
}

// The last resort where no temporary file can be made beside the target:
// overwrite the record in place, leaving the rest of the file as it is.
FileResult writeInPlace(const RecordBytes& record, const QString& target)
{
    QFile file(target);
    if (!file.open(QIODevice::ReadWrite))
        return failed(file.errorString());
    const auto size = static_cast<qint64>(record.size);
    if (file.write(reinterpret_cast<const char*>(record.bytes.data()), size) != size || !file.flush())
        return failed(file.errorString());
    return {};
}

} // namespace

FileResult writeDesignRecord(int m, const design::ModelDesign& design, const QString& path)
{
    if (!cat::isModelIndex(m))
        return failed(QStringLiteral("No such model"));
    const RecordBytes record = packDesignRecord(m, design);
    const QString target = writeTarget(path);
    const QFileInfo targetInfo(target);
    if (targetInfo.isDir())
        return failed(QStringLiteral("Is a folder"));

    QFile old(target);
    const bool hasOld = targetInfo.exists();
    if (hasOld && !old.open(QIODevice::ReadOnly))
        return failed(old.errorString());
    const bool hasTail = hasOld && old.size() > record.size;
    // Qt's own fallback truncates the file before the tail could be copied
    // out of it, so a file with a tail is updated in place by hand instead.
    if (hasTail && !QFileInfo(targetInfo.absolutePath()).isWritable() && targetInfo.isWritable())
        return writeInPlace(record, target);

    QSaveFile out(target);
    out.setDirectWriteFallback(!hasTail);
    if (!out.open(QIODevice::WriteOnly))
        return failed(out.errorString());
    const auto size = static_cast<qint64>(record.size);
    if (out.write(reinterpret_cast<const char*>(record.bytes.data()), size) != size) {
        out.cancelWriting();
        return failed(out.errorString());
    }
    if (hasTail) {
        if (FileResult copied = copyTail(old, record.size, out); !copied) {
            out.cancelWriting();
            return copied;
        }
    }
    if (!out.commit())
        return failed(out.errorString());
    return {};
}

FileResult readDesignRecord(int m, design::ModelDesign& design, const QString& path)
{
    if (!cat::isModelIndex(m))
        return failed(QStringLiteral("No such model"));
    const QFileInfo info(path);
    if (info.isDir())
        return failed(QStringLiteral("Is a folder"));
    if (info.exists() && !info.isFile())
        return failed(QStringLiteral("Not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(file.errorString());
    const QByteArray bytes = file.read(recordBytes(m));
    if (bytes.size() < recordBytes(m))
        return failed(file.error() != QFileDevice::NoError
                          ? file.errorString()
                          : QStringLiteral("The file is shorter than a design"));
    const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                             static_cast<std::size_t>(bytes.size()));
    if (!unpackDesignRecord(m, view, design))
        return failed(QStringLiteral("The file is shorter than a design"));
    return {};
}

} // namespace files
