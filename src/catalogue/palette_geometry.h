#pragma once

#include <optional>

namespace cat {

// The palette grid: 7 columns, cells of 14 x 14 pixels at a pitch of 16,
// the first cell 2 pixels in from the top-left corner.
inline constexpr int kPaletteColumns = 7;
inline constexpr int kCellWidth = 14;
inline constexpr int kCellHeight = 14;
inline constexpr int kCellGap = 2;
inline constexpr int kCellOrigin = 2;
inline constexpr int kCellPitch = kCellWidth + kCellGap;

struct CellPos {
    int column;
    int row;
};

constexpr CellPos cellOf(int index)
{
    return {index % kPaletteColumns, index / kPaletteColumns};
}
constexpr int cellIndex(int column, int row)
{
    return row * kPaletteColumns + column;
}
constexpr int cellLeft(int column)
{
    return kCellOrigin + column * kCellPitch;
}
constexpr int cellTop(int row)
{
    return kCellOrigin + row * kCellPitch;
}

// Click ranges of the palette. Each range is open below and closed above;
// row 4 starts straight after row 3 (at 62, not 64). A coordinate in no range
// returns -1: the caller keeps the previous column or row.
inline constexpr float kLastClickableY = 78.0F;

constexpr int columnAt(float x)
{
    for (int c = 0; c < kPaletteColumns; ++c) {
        const float low = static_cast<float>(cellLeft(c));
        if (x > low && x <= low + kCellWidth)
            return c;
    }
    return -1;
}

constexpr int rowAt(float y)
{
    if (y >= 0.0F && y <= 14.0F)
        return 0;
    if (y > 16.0F && y <= 30.0F)
        return 1;
    if (y > 32.0F && y <= 46.0F)
        return 2;
    if (y > 48.0F && y <= 62.0F)
        return 3;
    if (y > 62.0F && y <= 78.0F)
        return 4;
    return -1;
}

// Where a pointer position on the palette lands: a column and a row, each -1
// where the position falls between cells (that coordinate keeps the cell the
// palette had).
struct PaletteHit {
    int column = -1;
    int row = -1;
};

// The cell at palette position (x, y), or nothing below the last row's range.
constexpr std::optional<PaletteHit> paletteHitAt(float x, float y)
{
    if (y > kLastClickableY)
        return std::nullopt;
    return PaletteHit{columnAt(x), rowAt(y)};
}

} // namespace cat
