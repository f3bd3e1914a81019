#include "files/design_file.h"

#include "files/platform.h"
#include "files/record.h"

#include <cerrno>

namespace files {

namespace {

FileResult failed(const QString& reason)
{
    return {false, reason};
}

} // namespace

FileResult writeDesignRecord(int m, const state::ModelDesign& design, const QString& path)
{
    if (!cat::isModelIndex(m))
        return failed(QStringLiteral("there is no such suit model"));
    const RecordBytes record = packDesignRecord(m, design);
    WriteOptions options;
    options.keepTail = true;
    return writeFile(path, QByteArrayView(reinterpret_cast<const char*>(record.bytes.data()), record.size),
                     options);
}

FileResult readDesignRecord(int m, state::ModelDesign& design, const QString& path)
{
    using platform::Kind;
    if (!cat::isModelIndex(m))
        return failed(QStringLiteral("there is no such suit model"));
    const platform::Status status = platform::status(path);
    if (!status.found()) {
        if (status.error != ENOENT)
            return failed(errorInWords(status.error));
        return failed(platform::linkStatus(path).kind == Kind::Link
                          ? QStringLiteral("the file its link points to does not exist")
                          : QStringLiteral("the file does not exist"));
    }
    switch (status.kind) {
    case Kind::File: break;
    case Kind::Folder: return failed(QStringLiteral("it is a folder"));
    case Kind::Pipe: return failed(QStringLiteral("it is a pipe, not a file"));
    case Kind::Socket: return failed(QStringLiteral("it is a socket, not a file"));
    case Kind::Device: return failed(QStringLiteral("it is a device, not a file"));
    default: return failed(QStringLiteral("it is not a file"));
    }
    platform::File file(path, platform::File::Mode::Read);
    if (!file.isOpen()) {
        return failed(file.error() == EACCES ? QStringLiteral("the file is not readable")
                                             : errorInWords(file.error()));
    }
    const int needed = recordBytes(m);
    std::array<std::uint8_t, kMaxRecordBytes> bytes{};
    std::int64_t got = 0;
    while (got < needed) {
        const std::int64_t n = file.readAt(reinterpret_cast<char*>(bytes.data()) + got, needed - got, got);
        if (n < 0)
            return failed(errorInWords(file.error()));
        if (n == 0)
            break;
        got += n;
    }
    if (got == 0)
        return failed(QStringLiteral("the file is empty"));
    if (got < needed)
        return failed(QStringLiteral("the file is too short for a design of this suit (%1 of %2 bytes)")
                          .arg(got)
                          .arg(needed));
    if (!unpackDesignRecord(m, std::span<const std::uint8_t>(bytes.data(), static_cast<std::size_t>(needed)),
                            design))
        return failed(QStringLiteral("the file is too short for a design of this suit"));
    return {};
}

} // namespace files
