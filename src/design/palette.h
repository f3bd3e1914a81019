#pragma once

namespace tk {
class PictureSurface;
}

namespace design {

// Draws the cells of a fabric's palette onto a palette surface: 7 columns,
// 14 x 14 cells at a pitch of 16 from (2, 2), row by row; four rows (five for
// Tape); places beyond the colour count stay background. Does not clear first.
// A fabric index outside the table draws nothing.
void drawPaletteCells(tk::PictureSurface& surface, int fabric);

// The selection marker on cell (column, row): an outer box in `outer` on the
// swatch's edge and an inner box in `inner` one pixel further in.
void drawMarker(tk::PictureSurface& surface, int column, int row, unsigned outer, unsigned inner);

} // namespace design
