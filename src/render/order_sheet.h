#pragma once

#include "files/output.h"
#include "state/state.h"

#include <QDate>
#include <QPageSize>
#include <QRect>
#include <QString>

class QLocale;
class QPainter;
class QRectF;

// The order sheet: one page a suit maker can work from, painted below the
// widgets so that the designer's Print and Export and the command-line tool
// give the same sheet.
namespace render {

// What one sheet shows: one model's design as it stands (names and codes as
// the colour list shows them, its order details, whether it is saved), under
// the name of its file.
struct OrderSheet {
    int model = 0;
    state::ModelDesign design;
    QString fileName; // "Untitled" for a design never saved
    QDate date;       // today's when not valid
};

// The paper a sheet is laid out on when nobody chose: Letter where the
// locale measures in inches, A4 elsewhere.
QPageSize::PageSizeId defaultPaper(const QLocale& locale);

// Paints the sheet on one page. `page` is the page's printable rectangle in
// the painter's coordinates and `dpi` the device's resolution, which sets the
// drawings' whole-number scale. The sheet keeps a margin of its own inside
// `page`, so the whole paper may be passed. The area rows show the colour
// list's names and codes; an area whose name is empty there takes what the
// designer's Open would show for its stored words, and stored words that
// name no colour (99, a colour beyond its palette, a fabric the model does
// not use, negative values) give "not coloured".
void paintOrderSheet(QPainter& painter, const QRectF& page, int dpi, const OrderSheet& sheet);

// The drawing as a sheet prints it: the design painted as the designer shows
// it, except that the background around the suit (light grey connected to the
// picture's edge) is white paper, and areas without a colour are hatched so
// they do not pass for white ones. Every other pixel is the designer's.
QImage sheetDrawing(int m, const state::ModelDesign& design);

// Where the drawing of model m goes on a sheet painted into `page` at `dpi`:
// its rectangle in device pixels (whole pixels) and its whole-number scale,
// every pixel of the drawing a scale x scale block. An empty rectangle for
// an index that is not a model.
struct SheetLayout {
    QRect drawing;
    int scale = 0;
};
SheetLayout sheetLayout(const QRectF& page, int dpi, int model);

// The resolution of a sheet written as PNG; a PDF is laid out at kPdfDpi.
inline constexpr int kPngDpi = 150;
inline constexpr int kPdfDpi = 300;

// Writes the sheet to `path` as a one-page PDF, or as PNG when the path ends in
// ".png" (letter case ignored), through files::writeFile with `options`: the
// file is replaced whole or not at all.
files::FileResult writeOrderSheet(const QString& path, const OrderSheet& sheet, QPageSize::PageSizeId paper,
                                  const files::WriteOptions& options = {});

} // namespace render
