#pragma once

#include "catalogue/models.h"
#include "state/state.h"

#include <array>
#include <cstdint>
#include <span>

// The design record: the whole content a design file needs, one model per
// file. Signed 16-bit little-endian words, no header: for every area slot but
// the binding tape its colour then its fabric, and last the tape's colour
// (its fabric is not stored). Brisa has no tape: its 20 slots give 40 words.
namespace files {

// Words in model m's record.
constexpr int recordWords(int m)
{
    return cat::hasTape(m) ? 2 * cat::slotCount(m) - 1 : 2 * cat::slotCount(m);
}
constexpr int recordBytes(int m)
{
    return 2 * recordWords(m);
}
inline constexpr int kMaxRecordBytes = 2 * 2 * cat::kMaxSlots;

// A packed record: the first `size` bytes count.
struct RecordBytes {
    std::array<std::uint8_t, kMaxRecordBytes> bytes{};
    int size = 0;
    std::span<const std::uint8_t> view() const { return {bytes.data(), static_cast<std::size_t>(size)}; }
};

// Packs model m's colours and fabrics. Every value is written as it is held,
// in range or not.
RecordBytes packDesignRecord(int m, const state::ModelDesign& design);

// Unpacks the first recordBytes(m) bytes into model m's colours and fabrics,
// each word stored as it stands; bytes after the record are ignored and the
// tape's fabric is left as it was. Input shorter than the record changes
// nothing and gives false.
bool unpackDesignRecord(int m, std::span<const std::uint8_t> input, state::ModelDesign& design);

} // namespace files
