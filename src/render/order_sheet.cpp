#include "render/order_sheet.h"

#include "catalogue/about_texts.h"
#include "catalogue/fabrics.h"
#include "catalogue/models.h"
#include "catalogue/texts.h"
#include "order/summary.h"
#include "render/drawing.h"
#include "render/qtcolour.h"
#include "state/rebuild_plan.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace render {

namespace {

// The page plan in millimetres; everything else follows from the page and
// the device's resolution.
constexpr double kMargin = 12;
constexpr double kHeader = 16;
constexpr double kHeaderGap = 4;
constexpr double kCaptions = 5; // "Front" and "Back" under the drawing
constexpr double kTableGap = 4;
constexpr double kFoot = 17;
constexpr double kFootGap = 3;
constexpr double kFieldsGap = 8;       // between the drawing and the ruled lines
constexpr double kMinRow = 3.9;        // a table row never gets lower than this...
constexpr double kMaxRow = 7.0;        // ...nor higher than this
constexpr double kDrawingShare = 0.62; // of the content width, at most

// The table's columns as shares of the content width: area, swatch, colour,
// fabric, code.
constexpr std::array<double, 5> kColumns = {0.29, 0.11, 0.26, 0.24, 0.10};

constexpr const char* kMakerName = "Orlensuits";
constexpr const char* kNotColoured = "not coloured";

const QColor kInk(0x20, 0x20, 0x20);
const QColor kSoftInk(0x5a, 0x5a, 0x5a);
const QColor kRule(0xb4, 0xb4, 0xb4);

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct Layout {
    double mm = 1; // device pixels per millimetre
    QRectF content;
    QRectF header;
    QRect drawing;
    int scale = 0;
    QRectF captions;
    QRectF fields;
    QRectF table;
    double rowHeight = 0;
    QRectF foot;
};

bool hasBackList(int m)
{
    return !cat::kModels[m].backAreas.empty();
}

// Column header, one row per slot, and for Brisa a heading row per view.
int tableRows(int m)
{
    return 1 + cat::slotCount(m) + (hasBackList(m) ? 2 : 0);
}

Layout layOut(const QRectF& page, int dpi, int m)
{
    Layout l;
    l.mm = std::max(dpi, 1) / 25.4;
    const double mm = l.mm;
    l.content = page.adjusted(kMargin * mm, kMargin * mm, -kMargin * mm, -kMargin * mm);
    l.header = QRectF(l.content.left(), l.content.top(), l.content.width(), kHeader * mm);
    l.foot = QRectF(l.content.left(), l.content.bottom() - kFoot * mm, l.content.width(), kFoot * mm);

    // The drawing gets the largest whole-number scale that leaves every
    // table row its least height.
    const cat::SuitModel& model = cat::kModels[m];
    const double top = l.header.bottom() + kHeaderGap * mm;
    const double tableBottom = l.foot.top() - kFootGap * mm;
    const double maxWidth = l.content.width() * kDrawingShare;
    const double maxHeight = tableBottom - top - (kCaptions + kTableGap) * mm - tableRows(m) * kMinRow * mm;
    l.scale = std::max(1, static_cast<int>(std::min(std::floor(maxWidth / model.pictureWidth),
                                                    std::floor(maxHeight / model.pictureHeight))));
    // Whole device pixels, so that every drawing pixel is an exact block.
    l.drawing = QRect(static_cast<int>(std::ceil(l.content.left())), static_cast<int>(std::ceil(top)),
                      model.pictureWidth * l.scale, model.pictureHeight * l.scale);
    l.captions =
        QRectF(l.drawing.left(), l.drawing.top() + l.drawing.height(), l.drawing.width(), kCaptions * mm);
    const double fieldsLeft = l.drawing.left() + l.drawing.width() + kFieldsGap * mm;
    l.fields = QRectF(fieldsLeft, top, l.content.right() - fieldsLeft, l.captions.bottom() - top);

    const double tableTop = l.captions.bottom() + kTableGap * mm;
    l.table = QRectF(l.content.left(), tableTop, l.content.width(), tableBottom - tableTop);
    l.rowHeight = std::min(kMaxRow * mm, l.table.height() / tableRows(m));
    return l;
}

QFont sheetFont(double points, int dpi, bool bold = false)
{
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * dpi / 72.0))));
    font.setBold(bold);
    return font;
}

// One area of the table, named as the colour list names it.
struct Row {
    QString area;
    bool coloured = false;
    QString colour; // kNotColoured for an area without colour
    QString fabric;
    QString code;
    std::optional<QRgb> swatch;
};

QString fabricNamed(const std::string& code)
{
    if (code.size() != 1)
        return {};
    for (const cat::Fabric& fabric : cat::kFabrics)
        if (fabric.letter == code.front())
            return qs(fabric.name);
    return {};
}

std::vector<Row> rowsOf(const OrderSheet& sheet)
{
    const int m = sheet.model;
    const state::ModelDesign& design = sheet.design;
    const state::RebuildPlan plan = state::planRebuild(m, design);
    std::array<const state::SlotRepaint*, cat::kMaxSlots> repaintOf{};
    for (int r = 0; r < plan.count; ++r)
        repaintOf[static_cast<std::size_t>(plan.repaints[static_cast<std::size_t>(r)].slot)] =
            &plan.repaints[static_cast<std::size_t>(r)];

    std::vector<Row> rows;
    for (int s = 0; s < cat::slotCount(m); ++s) {
        const auto i = static_cast<std::size_t>(s);
        Row row;
        row.area = qs(order::areaName(m, s));
        std::string name = design.areaColourName[i];
        std::string code = design.areaFabricCode[i];
        const state::SlotRepaint* repaint = repaintOf[i];
        // A design straight from a file carries no names yet: it is named as
        // the designer's Open names it (the default letter where the stored
        // words give none, as for the binding tape).
        if (name.empty() && repaint != nullptr) {
            name = std::string(repaint->colourName);
            code = std::string(1, repaint->fabricCode != 0 ? repaint->fabricCode : cat::defaultLetter(m, s));
        }
        if (name.empty()) {
            row.colour = QString::fromLatin1(kNotColoured);
        } else {
            row.coloured = true;
            row.colour = QString::fromStdString(name);
            row.code = QString::fromStdString(code);
            row.fabric = fabricNamed(code);
            if (repaint != nullptr)
                row.swatch = toQRgb(repaint->colour);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// The drawing enlarged by a whole number, every pixel a block: what a PDF
// embeds, so that no viewer has to enlarge it (and blur it) much further.
QImage enlarged(const QImage& drawing, int factor)
{
    if (factor <= 1)
        return drawing;
    const int width = drawing.width() * factor;
    QImage out(width, drawing.height() * factor, QImage::Format_RGB32);
    const auto rowBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    for (int y = 0; y < drawing.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(drawing.constScanLine(y));
        auto* first = reinterpret_cast<QRgb*>(out.scanLine(y * factor));
        for (int x = 0; x < width; ++x)
            first[x] = from[x / factor];
        for (int copy = 1; copy < factor; ++copy)
            std::memcpy(out.scanLine(y * factor + copy), first, rowBytes);
    }
    return out;
}

void paintHeader(QPainter& p, const Layout& l, int dpi, const OrderSheet& sheet)
{
    const double mm = l.mm;
    const QRectF& h = l.header;
    p.setPen(kSoftInk);
    p.setFont(sheetFont(10, dpi, true));
    p.drawText(QRectF(h.left(), h.top(), h.width(), 6 * mm), Qt::AlignLeft | Qt::AlignTop,
               qs(cat::kAppTitle));
    p.setFont(sheetFont(10, dpi));
    p.drawText(QRectF(h.left(), h.top(), h.width(), 6 * mm), Qt::AlignRight | Qt::AlignTop,
               QStringLiteral("Order sheet"));

    p.setPen(kInk);
    p.setFont(sheetFont(20, dpi, true));
    p.drawText(QRectF(h.left(), h.top() + 4.5 * mm, h.width() * 0.6, 11 * mm),
               Qt::AlignLeft | Qt::AlignVCenter, qs(cat::kModels[sheet.model].caption));

    const QString file = sheet.fileName.isEmpty() ? qs(cat::kUntitled) : sheet.fileName;
    const QDate date = sheet.date.isValid() ? sheet.date : QDate::currentDate();
    p.setFont(sheetFont(9, dpi));
    const QRectF right(h.left() + h.width() * 0.4, h.top() + 5.5 * mm, h.width() * 0.6, 9.5 * mm);
    // A long name gives up its middle, never the model's name beside it.
    const QString fileLine =
        QFontMetricsF(p.font(), p.device())
            .elidedText(QStringLiteral("File: %1").arg(file), Qt::ElideMiddle, right.width());
    p.drawText(right, Qt::AlignRight | Qt::AlignTop,
               fileLine + QStringLiteral("\nDate: ") + date.toString(Qt::ISODate));

    p.setPen(QPen(kInk, 0.5 * mm));
    p.drawLine(QPointF(h.left(), h.bottom()), QPointF(h.right(), h.bottom()));
}

void paintDrawing(QPainter& p, const Layout& l, int dpi, const OrderSheet& sheet)
{
    const QImage drawing = paintDesign(sheet.model, sheet.design);
    // Embed at most four times enlarged, and let the painter enlarge the
    // rest by a whole number too.
    int factor = 1;
    for (int f = 4; f > 1; --f) {
        if (l.scale % f == 0) {
            factor = f;
            break;
        }
    }
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.setRenderHint(QPainter::LosslessImageRendering, true);
    p.drawImage(QRectF(l.drawing), enlarged(drawing, factor));
    p.restore();

    p.setPen(kSoftInk);
    p.setFont(sheetFont(8, dpi));
    const QRectF& c = l.captions;
    p.drawText(QRectF(c.left(), c.top(), c.width() / 2, c.height()), Qt::AlignCenter,
               QStringLiteral("Front"));
    p.drawText(QRectF(c.center().x(), c.top(), c.width() / 2, c.height()), Qt::AlignCenter,
               QStringLiteral("Back"));
}

// Empty ruled lines for the hand that fills in the order form.
void paintFields(QPainter& p, const Layout& l, int dpi)
{
    const double mm = l.mm;
    const QRectF& f = l.fields;
    if (f.width() < 20 * mm)
        return;
    struct Field {
        const char* heading;
        int lines;
    };
    std::array<Field, 4> fields = {{{"Customer", 2}, {"Dealer", 2}, {"Size/measurements", 3}, {"Notes", 3}}};
    const double headingHeight = 5 * mm;
    const double gap = 1.5 * mm;
    const double available = f.height() - fields.size() * (headingHeight + gap);
    const double pitch = std::min(9 * mm, available / 10);
    // What is left goes to the notes.
    fields.back().lines += std::max(0, static_cast<int>((available - 10 * pitch) / pitch));

    double y = f.top();
    for (const Field& field : fields) {
        p.setPen(kInk);
        p.setFont(sheetFont(9, dpi, true));
        p.drawText(QRectF(f.left(), y, f.width(), headingHeight), Qt::AlignLeft | Qt::AlignBottom,
                   QString::fromLatin1(field.heading));
        y += headingHeight;
        p.setPen(QPen(kSoftInk, 0.2 * mm));
        for (int n = 0; n < field.lines; ++n) {
            y += pitch;
            p.drawLine(QPointF(f.left(), y), QPointF(f.right(), y));
        }
        y += gap;
    }
}

void paintTable(QPainter& p, const Layout& l, int dpi, const OrderSheet& sheet)
{
    const double mm = l.mm;
    const double rowH = l.rowHeight;
    const double pad = 1.5 * mm;
    std::array<double, kColumns.size() + 1> x{};
    x[0] = l.table.left();
    for (std::size_t c = 0; c < kColumns.size(); ++c)
        x[c + 1] = x[c] + kColumns[c] * l.table.width();
    auto cell = [&](std::size_t column, double y) {
        return QRectF(x[column] + pad, y, x[column + 1] - x[column] - 2 * pad, rowH);
    };
    const double points = std::clamp(rowH / mm * 1.95, 6.0, 10.0);
    const QFont plain = sheetFont(points, dpi);
    const QFont bold = sheetFont(points, dpi, true);

    double y = l.table.top();
    p.setPen(kInk);
    p.setFont(bold);
    const char* headings[] = {"Area", "Swatch", "Colour", "Fabric", "Code"};
    for (std::size_t c = 0; c < kColumns.size(); ++c)
        p.drawText(cell(c, y), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(headings[c]));
    y += rowH;
    p.setPen(QPen(kInk, 0.3 * mm));
    p.drawLine(QPointF(l.table.left(), y), QPointF(l.table.right(), y));

    const std::vector<Row> rows = rowsOf(sheet);
    const int front = static_cast<int>(cat::kModels[sheet.model].areas.size());
    const QFontMetricsF metrics(plain, p.device());
    for (int s = 0; s < static_cast<int>(rows.size()); ++s) {
        if (hasBackList(sheet.model) && (s == 0 || s == front)) {
            p.setPen(kInk);
            p.setFont(bold);
            p.drawText(cell(0, y), Qt::AlignLeft | Qt::AlignBottom,
                       s == 0 ? QStringLiteral("Front view") : QStringLiteral("Back view"));
            y += rowH;
        }
        const Row& row = rows[static_cast<std::size_t>(s)];
        p.setFont(plain);
        p.setPen(kInk);
        p.drawText(cell(0, y), Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(row.area, Qt::ElideRight, cell(0, y).width()));
        const QRectF swatchCell = cell(1, y);
        const double side = std::min(rowH * 0.7, swatchCell.width());
        const QRectF swatch(swatchCell.left(), y + (rowH - side) / 2,
                            std::min(side * 1.8, swatchCell.width()), side);
        if (row.swatch) {
            p.fillRect(swatch, QColor::fromRgb(*row.swatch));
            p.setPen(QPen(kSoftInk, 0.15 * mm));
        } else {
            p.setPen(QPen(kRule, 0.15 * mm, Qt::DashLine));
        }
        p.drawRect(swatch);
        p.setPen(row.coloured ? kInk : kSoftInk);
        QFont colourFont = plain;
        colourFont.setItalic(!row.coloured);
        p.setFont(colourFont);
        p.drawText(cell(2, y), Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(row.colour, Qt::ElideRight, cell(2, y).width()));
        p.setFont(plain);
        p.setPen(kInk);
        p.drawText(cell(3, y), Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(row.fabric, Qt::ElideRight, cell(3, y).width()));
        p.drawText(cell(4, y), Qt::AlignLeft | Qt::AlignVCenter, row.code);
        y += rowH;
        p.setPen(QPen(kRule, 0.15 * mm));
        p.drawLine(QPointF(l.table.left(), y), QPointF(l.table.right(), y));
    }
}

// The maker's address block, from the ordering text: its paragraphs between
// the opening sentence and the closing one.
void paintFoot(QPainter& p, const Layout& l, int dpi)
{
    const double mm = l.mm;
    const QRectF& f = l.foot;
    p.setPen(QPen(kInk, 0.3 * mm));
    p.drawLine(QPointF(f.left(), f.top()), QPointF(f.right(), f.top()));

    QStringList paragraphs = qs(cat::kOrderingText).split(QStringLiteral("\r\n\r\n"), Qt::SkipEmptyParts);
    if (paragraphs.size() > 2) {
        paragraphs.removeFirst();
        paragraphs.removeLast();
    }
    for (QString& paragraph : paragraphs)
        paragraph.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // The address first, the longest paragraph (a sentence) last, the
    // short contact lines between them.
    QString address = paragraphs.isEmpty() ? QString() : paragraphs.takeFirst();
    QString sentence;
    if (!paragraphs.isEmpty()) {
        auto longest =
            std::max_element(paragraphs.begin(), paragraphs.end(),
                             [](const QString& a, const QString& b) { return a.size() < b.size(); });
        sentence = *longest;
        paragraphs.erase(longest);
    }
    const QString contact = paragraphs.join(QLatin1Char('\n'));

    const QRectF body = f.adjusted(0, 2 * mm, 0, 0);
    const double third = body.width() / 3;
    p.setPen(kInk);
    p.setFont(sheetFont(8.5, dpi, true));
    const QFontMetricsF boldMetrics(p.font(), p.device());
    p.drawText(QRectF(body.left(), body.top(), third, body.height()), Qt::AlignLeft | Qt::AlignTop,
               QString::fromLatin1(kMakerName));
    p.setFont(sheetFont(8, dpi));
    p.drawText(QRectF(body.left(), body.top() + boldMetrics.lineSpacing(), third, body.height()),
               Qt::AlignLeft | Qt::AlignTop, address);
    p.drawText(QRectF(body.left() + third, body.top(), third, body.height()), Qt::AlignLeft | Qt::AlignTop,
               contact);
    // The screen's colours are not the fabric's: the maker's own caution.
    p.drawText(QRectF(body.left() + 2 * third, body.top(), third, body.height()),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               sentence + QLatin1Char('\n') + qs(cat::kDisclaimer));
}

// The sheet as the bytes of a PDF or a PNG file; empty when it could not be
// drawn.
QByteArray pdfBytes(const OrderSheet& sheet, QPageSize::PageSizeId paper)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfDpi);
        writer.setPageSize(QPageSize(paper));
        writer.setPageMargins(QMarginsF());
        writer.setTitle(QStringLiteral("Order sheet: %1").arg(qs(cat::kModels[sheet.model].caption)));
        writer.setCreator(qs(cat::kAppTitle));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        paintOrderSheet(painter, QRectF(0, 0, writer.width(), writer.height()), kPdfDpi, sheet);
        if (!painter.end())
            return {};
    }
    buffer.close();
    return bytes;
}

QByteArray pngBytes(const OrderSheet& sheet, QPageSize::PageSizeId paper)
{
    QImage page(QPageSize(paper).sizePixels(kPngDpi), QImage::Format_RGB32);
    if (page.isNull())
        return {};
    page.fill(Qt::white);
    const int dotsPerMeter = static_cast<int>(std::lround(kPngDpi / 0.0254));
    page.setDotsPerMeterX(dotsPerMeter);
    page.setDotsPerMeterY(dotsPerMeter);
    {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::Antialiasing);
        paintOrderSheet(painter, QRectF(page.rect()), kPngDpi, sheet);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !page.save(&buffer, "PNG"))
        return {};
    return bytes;
}

} // namespace

QPageSize::PageSizeId defaultPaper(const QLocale& locale)
{
    return locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4;
}

SheetLayout sheetLayout(const QRectF& page, int dpi, int model)
{
    if (!cat::isModelIndex(model))
        return {};
    const Layout l = layOut(page, dpi, model);
    return {l.drawing, l.scale};
}

void paintOrderSheet(QPainter& painter, const QRectF& page, int dpi, const OrderSheet& sheet)
{
    if (!cat::isModelIndex(sheet.model))
        return;
    const Layout l = layOut(page, dpi, sheet.model);
    painter.save();
    paintHeader(painter, l, dpi, sheet);
    paintDrawing(painter, l, dpi, sheet);
    paintFields(painter, l, dpi);
    paintTable(painter, l, dpi, sheet);
    paintFoot(painter, l, dpi);
    painter.restore();
}

files::FileResult writeOrderSheet(const QString& path, const OrderSheet& sheet, QPageSize::PageSizeId paper,
                                  const files::WriteOptions& options)
{
    if (!cat::isModelIndex(sheet.model))
        return {false, QStringLiteral("there is no such suit model")};
    const bool png = path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
    const QByteArray bytes = png ? pngBytes(sheet, paper) : pdfBytes(sheet, paper);
    if (bytes.isEmpty())
        return {false, QStringLiteral("the sheet could not be drawn")};
    return files::writeFile(path, bytes, options);
}

} // namespace render
