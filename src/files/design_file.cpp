#include "files/design_file.h"

#include "files/order_block.h"
#include "files/platform.h"
#include "files/record.h"

#include <cerrno>

namespace files {

namespace {

FileResult failed(const QString& reason)
{
    return {false, reason};
}

std::span<const std::uint8_t> asBytes(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

// The size of the order block the file at path holds right after its
// record, 0 when what follows is no block (it is then kept as it is), or
// there is no file to read.
std::int64_t oldBlockSize(const QString& path, std::int64_t at)
{
    // Only a plain file is looked into: opening a pipe would wait for a
    // writer for ever (the write refuses it afterwards).
    if (platform::status(path).kind != platform::Kind::File)
        return 0;
    platform::File file(path, platform::File::Mode::Read);
    if (!file.isOpen())
        return 0;
    QByteArray start(kOrderFrameSize + kMaxOrderPayload, Qt::Uninitialized);
    std::int64_t got = 0;
    while (got < start.size()) {
        const std::int64_t n = file.readAt(start.data() + got, start.size() - got, at + got);
        if (n <= 0)
            break;
        got += n;
    }
    start.truncate(static_cast<qsizetype>(got));
    const auto found = findOrderBlock(asBytes(start));
    return found ? found->size : 0;
}

// The details after the record, read as far as the block says and no
// further; none when what follows is no block.
state::OrderDetails readOrderBlock(platform::File& file, std::int64_t at)
{
    const auto readAll = [&](QByteArray& into, std::int64_t size, std::int64_t from) {
        const qsizetype start = into.size();
        into.resize(start + static_cast<qsizetype>(size));
        std::int64_t got = 0;
        while (got < size) {
            const std::int64_t n = file.readAt(into.data() + start + got, size - got, from + got);
            if (n <= 0)
                break;
            got += n;
        }
        into.truncate(start + static_cast<qsizetype>(got));
        return got == size;
    };
    QByteArray bytes;
    if (!readAll(bytes, kOrderFrameSize, at) ||
        !bytes.startsWith(QByteArrayView(kOrderMagic, kOrderMagicSize)))
        return {};
    const auto* size = reinterpret_cast<const std::uint8_t*>(bytes.constData()) + kOrderMagicSize;
    const std::uint32_t length =
        static_cast<std::uint32_t>(size[0]) | static_cast<std::uint32_t>(size[1]) << 8 |
        static_cast<std::uint32_t>(size[2]) << 16 | static_cast<std::uint32_t>(size[3]) << 24;
    if (length > static_cast<std::uint32_t>(kMaxOrderPayload))
        return {};
    // The frame read holds the first four payload bytes already.
    if (!readAll(bytes, static_cast<std::int64_t>(length), at + kOrderFrameSize))
        return {};
    const auto found = findOrderBlock(asBytes(bytes));
    return found ? orderFromJson(found->object, found->payload) : state::OrderDetails{};
}

} // namespace

FileResult writeDesignRecord(int m, const state::ModelDesign& design, const QString& path)
{
    if (!cat::isModelIndex(m))
        return failed(QStringLiteral("there is no such suit model"));
    const RecordBytes record = packDesignRecord(m, design);
    const std::optional<QByteArray> block = orderBlock(design.order);
    if (!block)
        return failed(QStringLiteral("the order details are too long to be kept in a design file"));
    QByteArray bytes(reinterpret_cast<const char*>(record.bytes.data()), record.size);
    bytes += *block;
    WriteOptions options;
    options.keepTail = true;
    // What followed the old record, less our old block, follows the new one.
    options.keptFrom = record.size + oldBlockSize(path, record.size);
    return writeFile(path, bytes, options);
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
    state::OrderDetails order = readOrderBlock(file, needed);
    if (!unpackDesignRecord(m, std::span<const std::uint8_t>(bytes.data(), static_cast<std::size_t>(needed)),
                            design))
        return failed(QStringLiteral("the file is too short for a design of this suit"));
    design.order = std::move(order);
    return {};
}

} // namespace files
