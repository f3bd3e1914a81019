#include "toolkit/zoom.h"

#include "toolkit/listbox.h"
#include "toolkit/picturesurface.h"

#include <QFontInfo>

#include <algorithm>
#include <utility>
#include <vector>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
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

// The three screen rows of one row of blocks, for the blocks [first, end)
// that have two picture pixels across. `out[1]` or `out[2]` is null where the
// screen ends before it.
void spreadBlocks(const QRgb* upper, const QRgb* lower, QRgb* const out[3], int first, int end)
{
    for (int column = first; column < end; ++column) {
        const QRgb a = upper[2 * column];
        const QRgb b = upper[2 * column + 1];
        const QRgb c = lower[2 * column];
        const QRgb d = lower[2 * column + 1];
        const QRgb rows[3][2] = {{a, b}, {half(a, c), half(b, d)}, {c, d}};
        for (int part = 0; part < 3 && out[part] != nullptr; ++part) {
            QRgb* to = out[part] + 3 * column;
            to[0] = rows[part][0];
            to[1] = half(rows[part][0], rows[part][1]);
            to[2] = rows[part][1];
        }
    }
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && !defined(ZOOM_SCALAR_ONLY)
#define ZOOM_WITH_AVX2 1

// Whether the processor has 8-pixel vectors; asked once.
bool hasAvx2()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}

__attribute__((target("avx2"))) inline __m256i halves(__m256i a, __m256i b)
{
    const __m256i low = _mm256_set1_epi32(static_cast<int>(0xfefefefeU));
    return _mm256_add_epi32(_mm256_and_si256(a, b),
                            _mm256_srli_epi32(_mm256_and_si256(_mm256_xor_si256(a, b), low), 1));
}

// Eight picture pixels (four blocks) as twelve screen pixels.
__attribute__((target("avx2"))) inline void spreadEight(__m256i pixels, QRgb* to)
{
    const __m256i next = _mm256_permutevar8x32_epi32(pixels, _mm256_setr_epi32(1, 2, 3, 4, 5, 6, 7, 7));
    const __m256i mid = halves(pixels, next); // lanes 0, 2, 4, 6 are used
    const __m256i first =
        _mm256_blend_epi32(_mm256_permutevar8x32_epi32(pixels, _mm256_setr_epi32(0, 0, 1, 2, 2, 3, 4, 4)),
                           _mm256_permutevar8x32_epi32(mid, _mm256_setr_epi32(0, 0, 0, 0, 2, 2, 2, 4)), 0x92);
    const __m256i rest =
        _mm256_blend_epi32(_mm256_permutevar8x32_epi32(pixels, _mm256_setr_epi32(5, 6, 6, 7, 7, 7, 7, 7)),
                           _mm256_permutevar8x32_epi32(mid, _mm256_set1_epi32(6)), 0x04);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), first);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 8), _mm256_castsi256_si128(rest));
}

// The same as spreadBlocks, four blocks at a time; returns the first block
// left to do.
__attribute__((target("avx2"))) int spreadBlocksAvx2(const QRgb* upper, const QRgb* lower, QRgb* const out[3],
                                                     int first, int end)
{
    int column = first;
    for (; column + 4 <= end; column += 4) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper + 2 * column));
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lower + 2 * column));
        spreadEight(a, out[0] + 3 * column);
        if (out[1] != nullptr)
            spreadEight(halves(a, c), out[1] + 3 * column);
        if (out[2] != nullptr)
            spreadEight(c, out[2] + 3 * column);
    }
    return column;
}
#endif

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

    for (int block = pixels.top() / 2; block <= pixels.bottom() / 2; ++block) {
        const QRgb* upper = in + 2 * block * inStride;
        const QRgb* lower = in + std::min(2 * block + 1, height - 1) * inStride;
        QRgb* out[3] = {};
        for (int part = 0; part < 3 && 3 * block + part < target.height(); ++part)
            out[part] = outBits + (3 * block + part) * outStride;
        int column = firstColumn;
#if defined(ZOOM_WITH_AVX2)
        if (hasAvx2())
            column = spreadBlocksAvx2(upper, lower, out, column, pairedEnd);
#endif
        spreadBlocks(upper, lower, out, column, pairedEnd);
        if (pairedEnd < endColumn) { // the odd last column: its own colours
            const QRgb edge[3] = {upper[2 * pairedEnd], half(upper[2 * pairedEnd], lower[2 * pairedEnd]),
                                  lower[2 * pairedEnd]};
            for (int part = 0; part < 3 && out[part] != nullptr; ++part)
                for (int k = 3 * pairedEnd; k < std::min(3 * pairedEnd + 3, outWidth); ++k)
                    out[part][k] = edge[part];
        }
    }
}

} // namespace tk
