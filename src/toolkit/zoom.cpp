#include "toolkit/zoom.h"

#include "fill/processor.h"
#include "toolkit/listbox.h"
#include "toolkit/picturesurface.h"

#include <QFontInfo>

#include <algorithm>
#include <utility>
#include <vector>

// Eight pixels at a time where the processor has AVX2 (asked at run time).
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ZOOM_WITH_AVX2 1
#include <immintrin.h>
#endif

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

// The screen pixel at `x` of a row spread from one row of picture pixels
// `from` (`width` pixels): block x / 3's first pixel, their average, or its
// second; an odd last pixel is a block of its own colour.
inline QRgb spreadPixel(const QRgb* from, int width, int x)
{
    const int first = 2 * (x / 3);
    const QRgb a = from[first];
    const QRgb b = from[std::min(first + 1, width - 1)];
    switch (x % 3) {
    case 0: return a;
    case 1: return half(a, b);
    default: return b;
    }
}

#if defined(ZOOM_WITH_AVX2)
__attribute__((target("avx2"))) inline __m256i halves(__m256i a, __m256i b)
{
    const __m256i low = _mm256_set1_epi32(static_cast<int>(0xfefefefeU));
    return _mm256_add_epi32(_mm256_and_si256(a, b),
                            _mm256_srli_epi32(_mm256_and_si256(_mm256_xor_si256(a, b), low), 1));
}

// Blocks [block, end) of a row, four at a time: eight picture pixels as
// twelve screen pixels, from `out` on (block `block`'s first). Returns the
// first block left to do.
__attribute__((target("avx2"))) int spreadBlocksAvx2(const QRgb* from, QRgb* out, int block, int end)
{
    const __m256i toNext = _mm256_setr_epi32(1, 2, 3, 4, 5, 6, 7, 7);
    const __m256i firstPixels = _mm256_setr_epi32(0, 0, 1, 2, 2, 3, 4, 4);
    const __m256i firstMiddles = _mm256_setr_epi32(0, 0, 0, 0, 2, 2, 2, 4);
    const __m256i restPixels = _mm256_setr_epi32(5, 6, 6, 7, 7, 7, 7, 7);
    const __m256i restMiddles = _mm256_set1_epi32(6);
    for (; block + 4 <= end; block += 4, out += 12) {
        const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + 2 * block));
        // Lanes 0, 2, 4 and 6: the averages of each block's two pixels.
        const __m256i middles = halves(pixels, _mm256_permutevar8x32_epi32(pixels, toNext));
        const __m256i first = _mm256_blend_epi32(_mm256_permutevar8x32_epi32(pixels, firstPixels),
                                                 _mm256_permutevar8x32_epi32(middles, firstMiddles), 0x92);
        const __m256i rest = _mm256_blend_epi32(_mm256_permutevar8x32_epi32(pixels, restPixels),
                                                _mm256_permutevar8x32_epi32(middles, restMiddles), 0x04);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), first);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm256_castsi256_si128(rest));
    }
    return block;
}

// mixed[x] = half(upper[x], lower[x]) for x in [x, end); returns where it
// stopped.
__attribute__((target("avx2"))) int halvesAvx2(const QRgb* upper, const QRgb* lower, QRgb* mixed, int x,
                                               int end)
{
    for (; x + 8 <= end; x += 8) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper + x));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lower + x));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(mixed + x), halves(a, b));
    }
    return x;
}
#endif

// Screen pixels [left, right] of the row spread from `from`, to `out` (at
// screen pixel `left`).
void spreadRow(const QRgb* from, int width, QRgb* out, int left, int right)
{
    int x = left;
    for (; x <= right && x % 3 != 0; ++x) // the end of a block cut by the left edge
        out[x - left] = spreadPixel(from, width, x);
    // Whole blocks with two picture pixels.
    int block = x / 3;
    const int end = std::min((right + 1) / 3, width / 2);
#if defined(ZOOM_WITH_AVX2)
    if (fill::hasAvx2() && block < end)
        block = spreadBlocksAvx2(from, out + (3 * block - left), block, end);
#endif
    for (; block < end; ++block) {
        const QRgb a = from[2 * block];
        const QRgb b = from[2 * block + 1];
        QRgb* to = out + (3 * block - left);
        to[0] = a;
        to[1] = half(a, b);
        to[2] = b;
    }
    for (x = std::max(x, 3 * block); x <= right; ++x) // a block cut by the right edge, an odd last one
        out[x - left] = spreadPixel(from, width, x);
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
    const QRect pixels = changed & picture.rect();
    if (pixels.isEmpty() || target.size() != threeHalvesSize(picture.size()))
        return;
    // The whole blocks of 2 x 2 picture pixels (3 x 3 on screen) that hold a
    // changed pixel.
    const QRect blocks = QRect(QPoint(3 * (pixels.left() / 2), 3 * (pixels.top() / 2)),
                               QPoint(3 * (pixels.right() / 2) + 2, 3 * (pixels.bottom() / 2) + 2)) &
                         target.rect();
    threeHalves(picture, blocks, reinterpret_cast<QRgb*>(target.scanLine(blocks.top())) + blocks.left(),
                target.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb)));
}

void threeHalves(const QImage& picture, const QRect& screen, QRgb* to, qsizetype stride)
{
    const int width = picture.width();
    const int height = picture.height();
    const QRect area = screen & QRect(QPoint(0, 0), threeHalvesSize(picture.size()));
    if (area.isEmpty())
        return;
    to += (area.top() - screen.top()) * stride + (area.left() - screen.left());
    const qsizetype inStride = picture.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    const auto* in = reinterpret_cast<const QRgb*>(picture.constBits());
    // The picture pixels the screen pixels lie on or between.
    const int first = 2 * (area.left() / 3);
    const int end = std::min(2 * (area.right() / 3) + 2, width);
    std::vector<QRgb> mixed(static_cast<std::size_t>(width));
    for (int y = area.top(); y <= area.bottom(); ++y, to += stride) {
        const int block = y / 3;
        const QRgb* upper = in + 2 * block * inStride;
        const QRgb* lower = in + std::min(2 * block + 1, height - 1) * inStride;
        const QRgb* from = y % 3 == 0 ? upper : lower;
        if (y % 3 == 1) {
            // Between two rows: their average, once per row of blocks.
            int x = first;
#if defined(ZOOM_WITH_AVX2)
            if (fill::hasAvx2())
                x = halvesAvx2(upper, lower, mixed.data(), x, end);
#endif
            for (; x < end; ++x)
                mixed[static_cast<std::size_t>(x)] = half(upper[x], lower[x]);
            from = mixed.data();
        }
        spreadRow(from, width, to, area.left(), area.right());
    }
}

} // namespace tk
