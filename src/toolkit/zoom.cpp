#include "toolkit/zoom.h"

#include "toolkit/listbox.h"
#include "toolkit/picturesurface.h"

#include <QFontInfo>

#include <algorithm>
#include <utility>
#include <vector>

namespace tk {

QRect zoomedRect(const QRect& layout, int percent)
{
    const int left = zoomed(layout.x(), percent);
    const int top = zoomed(layout.y(), percent);
    return {left, top, zoomed(layout.x() + layout.width(), percent) - left,
            zoomed(layout.y() + layout.height(), percent) - top};
}

QFont zoomedFont(const QFont& font, int percent)
{
    QFont result = font;
    // Rounded down: a text never outgrows the control it was laid out for.
    if (font.pixelSize() > 0)
        result.setPixelSize(std::max(1, font.pixelSize() * percent / 100));
    else if (font.pointSizeF() > 0)
        result.setPointSizeF(font.pointSizeF() * percent / 100.0);
    return result;
}

LayoutZoom::LayoutZoom(std::vector<QWidget*> containers)
    : m_containers(std::move(containers))
{
}

void LayoutZoom::record(QWidget* container)
{
    for (QObject* child : container->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr || widget->isWindow() || widget->accessibleName().isEmpty())
            continue;
        m_controls.push_back({widget, widget->geometry(), widget->font()});
        record(widget);
    }
}

void LayoutZoom::apply(int percent)
{
    if (percent == m_percent)
        return;
    if (!m_recorded) {
        m_recorded = true;
        for (QWidget* container : m_containers)
            record(container);
    }
    m_percent = percent;
    // Outer controls first: a frame's children are placed inside its new size.
    for (const Control& control : m_controls) {
        QWidget* widget = control.widget;
        if (widget == nullptr)
            continue;
        // The recorded font itself at 100 %: inheriting it again would not
        // always give it back (class fonts and style sheets take part).
        widget->setFont(percent == 100 ? control.font : zoomedFont(control.font, percent));
        if (auto* surface = qobject_cast<PictureSurface*>(widget))
            surface->setZoom(percent);
        if (auto* list = qobject_cast<ListBox*>(widget))
            list->setZoom(percent);
        widget->setGeometry(zoomedRect(control.geometry, percent));
    }
}

namespace {

// The average of two opaque pixels, each byte rounded down.
inline QRgb half(QRgb a, QRgb b)
{
    return (a & b) + (((a ^ b) & 0xfefefefeU) >> 1);
}

} // namespace

QSize threeHalvesSize(const QSize& picture)
{
    return {(3 * picture.width() + 1) / 2, (3 * picture.height() + 1) / 2};
}

QImage threeHalves(const QImage& picture)
{
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    QImage target(threeHalvesSize(source.size()), QImage::Format_RGB32);
    threeHalves(source, source.rect(), target);
    return target;
}

void threeHalves(const QImage& picture, const QRect& changed, QImage& target)
{
    const int width = picture.width();
    const int height = picture.height();
    const QRect pixels = changed & picture.rect();
    if (pixels.isEmpty() || target.size() != threeHalvesSize(picture.size()))
        return;
    // Whole blocks of 2 x 2 picture pixels, 3 x 3 on screen; a last column
    // or row of an odd size is a block of its own edge pixels.
    const int firstColumn = pixels.left() / 2;
    const int endColumn = pixels.right() / 2 + 1;
    const int pairedEnd = std::min(endColumn, width / 2); // columns with two pixels
    const int outWidth = target.width();
    const qsizetype inStride = picture.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    const qsizetype outStride = target.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    const auto* in = reinterpret_cast<const QRgb*>(picture.constBits());
    auto* outBits = reinterpret_cast<QRgb*>(target.bits());
    std::vector<QRgb> mixed(static_cast<std::size_t>(width));

    // One screen row from one row of picture pixels.
    const auto spread = [&](const QRgb* from, QRgb* out) {
        int column = firstColumn;
        for (; column < pairedEnd; ++column) {
            const QRgb first = from[2 * column];
            const QRgb second = from[2 * column + 1];
            out[3 * column] = first;
            out[3 * column + 1] = half(first, second);
            out[3 * column + 2] = second;
        }
        if (pairedEnd < endColumn) { // the odd last pixel: its own colour
            const int x = 3 * pairedEnd;
            for (int k = x; k < std::min(x + 3, outWidth); ++k)
                out[k] = from[2 * pairedEnd];
        }
    };
    for (int block = pixels.top() / 2; block <= pixels.bottom() / 2; ++block) {
        const QRgb* upper = in + 2 * block * inStride;
        const QRgb* lower = in + std::min(2 * block + 1, height - 1) * inStride;
        const int from = 2 * firstColumn;
        const int to = std::min(2 * endColumn, width);
        int x = from;
        for (; x < to; ++x)
            mixed[static_cast<std::size_t>(x)] = half(upper[x], lower[x]);
        const QRgb* rows[3] = {upper, mixed.data(), lower};
        for (int part = 0; part < 3 && 3 * block + part < target.height(); ++part)
            spread(rows[part], outBits + (3 * block + part) * outStride);
    }
}

} // namespace tk
