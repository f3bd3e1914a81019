#include "design/palette.h"

#include "catalogue/fabrics.h"
#include "catalogue/palette_geometry.h"
#include "toolkit/picturesurface.h"

namespace design {

void drawPaletteCells(tk::PictureSurface& surface, int fabric)
{
    if (!cat::isFabricIndex(fabric))
        return;
    const cat::Fabric& f = cat::kFabrics[fabric];
    const int places = f.gridRows * cat::kPaletteColumns;
    for (int k = 0; k < places && k < static_cast<int>(f.palette.size()); ++k) {
        const cat::CellPos cell = cat::cellOf(k);
        const int x = cat::cellLeft(cell.column);
        const int y = cat::cellTop(cell.row);
        surface.filledBox(x, y, x + cat::kCellWidth, y + cat::kCellHeight,
                          f.palette[static_cast<std::size_t>(k)].value);
    }
}

void drawMarker(tk::PictureSurface& surface, int column, int row, unsigned outer, unsigned inner)
{
    const int x = cat::cellLeft(column);
    const int y = cat::cellTop(row);
    surface.box(x, y, x + cat::kCellWidth, y + cat::kCellHeight, outer);
    surface.box(x + 1, y + 1, x + 1 + cat::kCellWidth - 2, y + 1 + cat::kCellHeight - 2, inner);
}

} // namespace design
