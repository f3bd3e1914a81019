#include "files/record.h"

namespace files {

namespace {

// Word w of the record and the table element it belongs to.
struct WordPlace {
    bool fabric;
    int slot;
};

constexpr WordPlace placeOf(int word)
{
    return {word % 2 == 1, word / 2};
}

} // namespace

RecordBytes packDesignRecord(int m, const state::ModelDesign& design)
{
    RecordBytes record;
    if (!cat::isModelIndex(m))
        return record;
    record.size = recordBytes(m);
    for (int w = 0; w < recordWords(m); ++w) {
        const WordPlace place = placeOf(w);
        const auto s = static_cast<std::size_t>(place.slot);
        const auto value =
            static_cast<std::uint16_t>(place.fabric ? design.areaFabric[s] : design.areaColour[s]);
        record.bytes[static_cast<std::size_t>(2 * w)] = static_cast<std::uint8_t>(value & 0xFFU);
        record.bytes[static_cast<std::size_t>(2 * w + 1)] = static_cast<std::uint8_t>(value >> 8U);
    }
    return record;
}

bool unpackDesignRecord(int m, std::span<const std::uint8_t> input, state::ModelDesign& design)
{
    if (!cat::isModelIndex(m) || input.size() < static_cast<std::size_t>(recordBytes(m)))
        return false;
    for (int w = 0; w < recordWords(m); ++w) {
        const auto low = input[static_cast<std::size_t>(2 * w)];
        const auto high = input[static_cast<std::size_t>(2 * w + 1)];
        const auto value = static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8U)));
        const WordPlace place = placeOf(w);
        const auto s = static_cast<std::size_t>(place.slot);
        (place.fabric ? design.areaFabric[s] : design.areaColour[s]) = value;
    }
    return true;
}

} // namespace files
