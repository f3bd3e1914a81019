#pragma once

#include "state/order_details.h"

#include <QByteArray>
#include <QJsonObject>

#include <cstdint>
#include <optional>
#include <span>

// The order details in a design file: a block right after the record, so a
// program that reads or writes only the record goes on working.
//   8 bytes  "JSORDER1"
//   4 bytes  payload length N, little-endian, at most kMaxOrderPayload
//   N bytes  one JSON object, UTF-8, compact
//   4 bytes  CRC-32 of the payload, little-endian (zlib's polynomial)
// Anything after the record that does not check in every part is no block.
namespace files {

inline constexpr char kOrderMagic[] = "JSORDER1";
inline constexpr int kOrderMagicSize = 8;
inline constexpr int kMaxOrderPayload = 65536;
inline constexpr int kOrderFrameSize = kOrderMagicSize + 4 + 4;

// CRC-32 as zlib's crc32() computes it (reflected, polynomial 0xEDB88320).
std::uint32_t crc32(std::span<const std::uint8_t> bytes);

// The details from a stored object. Known keys of the wrong kind (a quantity
// that is no whole number, a date that is no date) give no value; they and
// the keys this program does not know stay in `stored`: `asStored` when
// given (the payload the object was read from), else the object written
// compact.
state::OrderDetails orderFromJson(const QJsonObject& object, const QByteArray& asStored = {});

// The object to store: the stored one with the known keys set from the
// details, a field not given left out. A stored value that gave no field is
// kept, unless the details now give that field.
QJsonObject orderToJson(const state::OrderDetails& details);

// The whole block for these details, or nothing when there are none. Fails
// (nullopt) when the payload would be larger than a block may hold.
std::optional<QByteArray> orderBlock(const state::OrderDetails& details);

// The block at the start of `after` (the bytes after the record), when it
// checks: its size in bytes and its object.
struct FoundBlock {
    qsizetype size = 0;
    QJsonObject object;
    QByteArray payload;
};
std::optional<FoundBlock> findOrderBlock(std::span<const std::uint8_t> after);

} // namespace files
