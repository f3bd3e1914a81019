#include "render/order_sheet.h"

#include "catalogue/about_texts.h"
#include "catalogue/fabrics.h"
#include "catalogue/models.h"
#include "catalogue/texts.h"
#include "order/summary.h"
#include "render/area_map.h"
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
#include <QTextLayout>

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
// The hatching of areas without a colour: darker than any shading of the
// drawings' white, lighter than their outlines.
constexpr QRgb kHatch = 0xff8c8c8c;
constexpr int kHatchPitch = 4; // drawing pixels between two diagonals

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

std::vector<Row> rowsOf(const OrderSheet& sheet)
{
    const int m = sheet.model;
    // A design straight from a file carries no names yet: its unnamed slots
    // are named as the designer's Open names them (the default letter where
    // the stored words give none, as for the binding tape).
    state::ModelDesign design = sheet.design;
    const state::RebuildPlan plan = state::planRebuild(m, design);
    for (int r = 0; r < plan.count; ++r) {
        const state::SlotRepaint& repaint = plan.repaints[static_cast<std::size_t>(r)];
        const auto s = static_cast<std::size_t>(repaint.slot);
        if (!design.areaColourName[s].empty())
            continue;
        design.areaColourName[s] = std::string(repaint.colourName);
        design.areaFabricCode[s] = std::string(
            1, repaint.fabricCode != 0 ? repaint.fabricCode : cat::defaultLetter(m, repaint.slot));
    }

    std::vector<Row> rows;
    for (const order::OrderRow& line : order::rows(m, design)) {
        Row row;
        row.area = qs(line.area);
        row.coloured = line.coloured();
        if (!row.coloured) {
            row.colour = QString::fromLatin1(kNotColoured);
        } else {
            row.colour = qs(line.colour);
            row.code = qs(line.code);
            row.fabric = qs(line.fabric);
            if (line.cell != nullptr)
                row.swatch = toQRgb(line.cell->value);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// "Label value" pairs on one line, right-aligned at `right`; a value not
// given is a rule of `ruleMm` millimetres to write on.
struct InlineField {
    QString label;
    QString value;
    double ruleMm;
};

void paintInlineFields(QPainter& p, double mm, double right, double top,
                       const std::vector<InlineField>& fields)
{
    const QFontMetricsF metrics(p.font(), p.device());
    const double gap = 1.5 * mm;
    const double between = 5 * mm;
    double x = right;
    // Right to left, each pair's value first.
    for (auto field = fields.rbegin(); field != fields.rend(); ++field) {
        const double labelWidth = metrics.horizontalAdvance(field->label);
        double valueWidth =
            field->value.isEmpty() ? field->ruleMm * mm : metrics.horizontalAdvance(field->value);
        valueWidth = std::min(valueWidth, 55 * mm);
        const double valueLeft = x - valueWidth;
        if (field->value.isEmpty()) {
            p.setPen(QPen(kSoftInk, 0.2 * mm));
            const double y = top + metrics.ascent() + 0.6 * mm;
            p.drawLine(QPointF(valueLeft, y), QPointF(x, y));
        } else {
            p.setPen(kInk);
            p.drawText(QRectF(valueLeft, top, valueWidth, metrics.lineSpacing()),
                       Qt::AlignLeft | Qt::AlignTop,
                       metrics.elidedText(field->value, Qt::ElideRight, valueWidth));
        }
        p.setPen(kSoftInk);
        p.drawText(QRectF(valueLeft - gap - labelWidth, top, labelWidth, metrics.lineSpacing()),
                   Qt::AlignLeft | Qt::AlignTop, field->label);
        x = valueLeft - gap - labelWidth - between;
    }
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
    const state::OrderDetails& order = sheet.design.order;
    // A design changed since it was opened or saved is not the file named.
    const bool unsaved = file != qs(cat::kUntitled) && sheet.design.changed && !sheet.design.saved;
    p.setFont(sheetFont(8, dpi));
    const QFontMetricsF metrics(p.font(), p.device());
    const double line = metrics.lineSpacing();
    const double right = h.right();
    const double top = h.top() + 5.2 * mm;
    const double titleRight = h.left() + QFontMetricsF(sheetFont(20, dpi, true), p.device())
                                             .horizontalAdvance(qs(cat::kModels[sheet.model].caption));
    const double room = right - titleRight - 6 * mm;
    paintInlineFields(
        p, mm, right, top,
        {{QStringLiteral("Order no."), qs(order.orderNumber), 30},
         {QStringLiteral("Quantity"), order.quantity ? QString::number(*order.quantity) : QString(), 10}});
    paintInlineFields(p, mm, right, top + line,
                      {{QStringLiteral("Ordered"), qs(order.orderDate), 22},
                       {QStringLiteral("Delivery"), qs(order.deliveryDate), 22}});
    // A long name gives up its middle, never the model's name beside it.
    const QString tail = (unsaved ? QStringLiteral(" \u00b7 Unsaved changes") : QString()) +
                         QStringLiteral(" \u00b7 Date: ") + date.toString(Qt::ISODate);
    const QString fileLine = metrics.elidedText(QStringLiteral("File: %1").arg(file), Qt::ElideMiddle,
                                                std::max(0.0, room - metrics.horizontalAdvance(tail)));
    p.setPen(kInk);
    p.drawText(QRectF(right - room, top + 2 * line, room, line), Qt::AlignRight | Qt::AlignTop,
               fileLine + tail);

    p.setPen(QPen(kInk, 0.5 * mm));
    p.drawLine(QPointF(h.left(), h.bottom()), QPointF(h.right(), h.bottom()));
}

void paintDrawing(QPainter& p, const Layout& l, int dpi, const OrderSheet& sheet)
{
    const QImage drawing = sheetDrawing(sheet.model, sheet.design);
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
void paintEmptyFields(QPainter& p, const Layout& l, int dpi)
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

// Text wrapped to `width`, paragraph by paragraph, at most `maxLines`
// lines; the last one shown ends in an ellipsis when text is left over.
QStringList wrapped(const QString& text, const QFont& font, QPaintDevice* device, double width, int maxLines)
{
    QStringList lines;
    const QFontMetricsF metrics(font, device);
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    bool cut = false;
    for (const QString& paragraph : paragraphs) {
        QTextLayout layout(paragraph, font, device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            if (lines.size() == maxLines) {
                cut = true;
                break;
            }
            lines.append(paragraph.mid(line.textStart(), line.textLength()).trimmed());
        }
        layout.endLayout();
        if (paragraph.isEmpty() && lines.size() < maxLines)
            lines.append(QString());
        if (cut || lines.size() >= maxLines) {
            cut = cut || &paragraph != &paragraphs.back();
            break;
        }
    }
    if (cut && !lines.isEmpty())
        lines.back() = metrics.elidedText(lines.back() + QStringLiteral(" \u2026"), Qt::ElideRight, width);
    return lines;
}

// The filled fields beside the drawing, at one text size; with `paint`
// false it only measures. Returns the height the fields before the notes
// take, and paints the notes in what is left.
struct FieldsPass {
    QPainter& p;
    const QRectF& f;
    double mm;
    int dpi;
    double points;
    bool paint;
    double y = 0;

    QFont font(bool bold = false) const { return sheetFont(points, dpi, bold); }
    double lineHeight() const { return QFontMetricsF(font(), p.device()).lineSpacing(); }

    void heading(const QString& text)
    {
        const double height = lineHeight() * 1.25;
        if (paint) {
            p.setPen(kInk);
            p.setFont(font(true));
            p.drawText(QRectF(f.left(), y, f.width(), height), Qt::AlignLeft | Qt::AlignBottom, text);
        }
        y += height + 0.8 * mm;
    }
    void rules(int count)
    {
        const double pitch = std::max(lineHeight() * 1.6, 5 * mm);
        for (int n = 0; n < count; ++n) {
            y += pitch;
            if (paint) {
                p.setPen(QPen(kSoftInk, 0.2 * mm));
                p.drawLine(QPointF(f.left(), y), QPointF(f.right(), y));
            }
        }
        y += 0.8 * mm;
    }
    void lines(const QStringList& texts, bool firstBold)
    {
        const double height = lineHeight();
        for (int i = 0; i < texts.size(); ++i) {
            if (paint) {
                p.setPen(kInk);
                p.setFont(font(firstBold && i == 0));
                // Elided in the font it is drawn in: a bold name is wider.
                p.drawText(
                    QRectF(f.left(), y, f.width(), height), Qt::AlignLeft | Qt::AlignTop,
                    QFontMetricsF(p.font(), p.device()).elidedText(texts[i], Qt::ElideRight, f.width()));
            }
            y += height;
        }
        y += 0.8 * mm;
    }
    void party(const QString& title, const state::OrderParty& party)
    {
        heading(title);
        if (party.empty()) {
            rules(2);
            return;
        }
        QStringList texts;
        const QFontMetricsF metrics(font(), p.device());
        if (!party.name.empty())
            texts.append(metrics.elidedText(qs(party.name), Qt::ElideRight, f.width()));
        texts += wrapped(qs(party.address), font(), p.device(), f.width(), 3);
        QStringList contact;
        if (!party.phone.empty())
            contact.append(qs(party.phone));
        if (!party.email.empty())
            contact.append(qs(party.email));
        if (!contact.isEmpty())
            texts.append(
                metrics.elidedText(contact.join(QStringLiteral("  \u00b7  ")), Qt::ElideRight, f.width()));
        if (party.address.empty())
            texts.removeAll(QString());
        lines(texts, !party.name.empty());
    }
    // Size, then a grid of two columns: label, the value and its unit, or a
    // box to write in.
    void measurements(const state::OrderDetails& order)
    {
        const state::Units units = order.units.value_or(state::Units::Metric);
        heading(QStringLiteral("Size/measurements (%1, %2)")
                    .arg(qs(state::unitName(state::Measure::Height, units)),
                         qs(state::unitName(state::Measure::Weight, units))));
        const double height = lineHeight() * 1.35;
        const QFontMetricsF metrics(font(), p.device());
        const double column = f.width() / 2;
        const double labelWidth = column * 0.55;
        const auto cell = [&](int index, const QString& label, const QString& value, const QString& unit) {
            const double x = f.left() + (index % 2) * column;
            const double top = y + (index / 2) * height;
            if (!paint)
                return;
            p.setFont(font());
            p.setPen(kSoftInk);
            p.drawText(QRectF(x, top, labelWidth, height), Qt::AlignLeft | Qt::AlignVCenter,
                       metrics.elidedText(label, Qt::ElideRight, labelWidth - 1 * mm));
            const QRectF valueBox(x + labelWidth, top + 0.5 * mm, column - labelWidth - 2 * mm,
                                  height - 1 * mm);
            if (value.isEmpty()) {
                p.setPen(QPen(kSoftInk, 0.2 * mm));
                p.drawRect(valueBox);
                p.setPen(kSoftInk);
                p.drawText(valueBox.adjusted(0, 0, -0.8 * mm, 0), Qt::AlignRight | Qt::AlignVCenter, unit);
            } else {
                p.setPen(kInk);
                p.drawText(valueBox, Qt::AlignLeft | Qt::AlignVCenter,
                           metrics.elidedText(unit.isEmpty() ? value : value + QLatin1Char(' ') + unit,
                                              Qt::ElideRight, valueBox.width()));
            }
        };
        int index = 0;
        cell(index++, QStringLiteral("Size"), qs(order.size), QString());
        cell(index++, QStringLiteral("Shoe size"), qs(order.shoeSize), QString());
        for (int i = 0; i < state::kMeasureCount; ++i) {
            const auto which = static_cast<state::Measure>(i);
            const std::optional<double> value = order.measurement(which);
            cell(index++, qs(state::kMeasures[static_cast<std::size_t>(i)].label),
                 value ? qs(state::formatMeasure(*value)) : QString(), qs(state::unitName(which, units)));
        }
        y += (index + 1) / 2 * height + 0.8 * mm;
    }
    void notes(const state::OrderDetails& order, double bottom)
    {
        heading(QStringLiteral("Notes"));
        if (order.notes.empty()) {
            const double pitch = std::max(lineHeight() * 1.6, 5 * mm);
            rules(std::max(1, static_cast<int>((bottom - y) / pitch)));
            return;
        }
        const int room = std::max(1, static_cast<int>((bottom - y) / lineHeight()));
        lines(wrapped(qs(order.notes), font(), p.device(), f.width(), room), false);
    }
};

// The fields beside the drawing: ruled lines to write on, or the order
// details given, at the largest text size (9 to 6 points) at which all but
// the notes fit and the notes get three lines.
void paintFields(QPainter& p, const Layout& l, int dpi, const OrderSheet& sheet)
{
    const state::OrderDetails& order = sheet.design.order;
    if (order.empty()) {
        paintEmptyFields(p, l, dpi);
        return;
    }
    const double mm = l.mm;
    const QRectF& f = l.fields;
    if (f.width() < 20 * mm)
        return;
    double points = 9;
    for (; points > 6; points -= 0.5) {
        FieldsPass measure{p, f, mm, dpi, points, false};
        measure.y = f.top();
        measure.party(QStringLiteral("Customer"), order.customer);
        measure.party(QStringLiteral("Dealer"), order.dealer);
        measure.measurements(order);
        measure.heading(QStringLiteral("Notes"));
        if (measure.y + 3 * measure.lineHeight() <= f.bottom())
            break;
    }
    FieldsPass pass{p, f, mm, dpi, points, true};
    pass.y = f.top();
    pass.party(QStringLiteral("Customer"), order.customer);
    pass.party(QStringLiteral("Dealer"), order.dealer);
    pass.measurements(order);
    pass.notes(order, f.bottom());
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

QImage sheetDrawing(int m, const state::ModelDesign& design)
{
    QImage drawing = pristineDrawing(m);
    if (drawing.isNull())
        return drawing;
    const state::RebuildPlan plan = state::planRebuild(m, design);
    paintPlan(drawing, m, plan);
    const int width = drawing.width();
    const int height = drawing.height();

    // Regions no repaint reaches are the areas without a colour.
    const AreaMap map = areaMap(m);
    std::vector<bool> reached(static_cast<std::size_t>(map.regionCount()), false);
    for (int r = 0; r < plan.count; ++r) {
        const state::SlotRepaint& repaint = plan.repaints[static_cast<std::size_t>(r)];
        if (repaint.paintsDrawing)
            for (const std::uint8_t region : map.regionsOf(repaint.slot))
                reached[region] = true;
    }
    for (int region = 0; region < map.regionCount(); ++region) {
        if (reached[static_cast<std::size_t>(region)] || map.regionOwner(region) < 0)
            continue;
        for (const AreaMap::Run& run : map.runsOf(region)) {
            auto* row = reinterpret_cast<QRgb*>(drawing.scanLine(run.y));
            for (int x = run.x; x < run.x + run.length; ++x)
                if ((x + run.y) % kHatchPitch == 0 && row[x] == toQRgb(cat::kWhite))
                    row[x] = kHatch;
        }
    }

    // The background: light grey reached from the edge without crossing
    // anything else, four-connected.
    const QRgb grey = toQRgb(cat::kLightGrey);
    std::vector<std::pair<int, int>> todo;
    const auto visit = [&](int x, int y) {
        auto* row = reinterpret_cast<QRgb*>(drawing.scanLine(y));
        if ((row[x] & 0xffffffU) == (grey & 0xffffffU)) {
            row[x] = toQRgb(cat::kWhite);
            todo.emplace_back(x, y);
        }
    };
    for (int x = 0; x < width; ++x) {
        visit(x, 0);
        visit(x, height - 1);
    }
    for (int y = 0; y < height; ++y) {
        visit(0, y);
        visit(width - 1, y);
    }
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        if (x > 0)
            visit(x - 1, y);
        if (x + 1 < width)
            visit(x + 1, y);
        if (y > 0)
            visit(x, y - 1);
        if (y + 1 < height)
            visit(x, y + 1);
    }
    return drawing;
}

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
    paintFields(painter, l, dpi, sheet);
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
