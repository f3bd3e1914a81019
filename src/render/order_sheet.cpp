#include "render/order_sheet.h"

#include "catalogue/models.h"
#include "render/drawing.h"

#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace render {

QPageSize::PageSizeId defaultPaper(const QLocale& locale)
{
    return locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4;
}

void paintOrderSheet(QPainter& painter, const QRectF& page, int /*dpi*/, const OrderSheet& sheet)
{
    if (!cat::isModelIndex(sheet.model))
        return;
    painter.drawText(page, Qt::AlignTop | Qt::AlignLeft,
                     QString::fromUtf8(cat::kModels[sheet.model].caption));
}

SheetResult writeOrderSheet(const QString& path, const OrderSheet& sheet, QPageSize::PageSizeId paper)
{
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return {false, out.errorString()};
    {
        QPdfWriter writer(&out);
        writer.setPageSize(QPageSize(paper));
        QPainter painter(&writer);
        paintOrderSheet(
            painter, QRectF(QPointF(0, 0), writer.pageLayout().paintRectPixels(writer.resolution()).size()),
            writer.resolution(), sheet);
    }
    if (!out.commit())
        return {false, out.errorString()};
    return {};
}

} // namespace render
