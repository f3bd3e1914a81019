#include "render/drawing.h"

#include "bitmaps.h"
#include "catalogue/models.h"
#include "catalogue/seeds.h"
#include "fill/floodfill.h"
#include "render/qtcolour.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace render {

QImage pristineDrawing(int m)
{
    if (!cat::isModelIndex(m))
        return {};
    QImage image = builtInBitmap(cat::kModels[m].pictureId).convertToFormat(QImage::Format_RGB32);
    // Opaque whatever the file said, so every pixel compares as a colour.
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] |= 0xff000000U;
    }
    return image;
}

fill::FillRequest fillRequestFor(QImage& image, QRgb fill)
{
    fill::FillRequest request;
    request.pixels = reinterpret_cast<std::uint32_t*>(image.bits());
    request.width = image.width();
    request.height = image.height();
    request.stride = image.bytesPerLine() / static_cast<qsizetype>(sizeof(std::uint32_t));
    request.fill = fill;
    request.boundary = toQRgb(cat::kBoundary);
    request.mask = 0x00ffffffU;
    return request;
}

std::size_t paintArea(QImage& drawing, int m, int slot, cat::Colour colour, QRegion* painted)
{
    if (painted != nullptr)
        *painted = QRegion();
    const cat::AreaSeeds* row = cat::seedsOf(m, slot);
    if (row == nullptr || drawing.isNull() || drawing.format() != QImage::Format_RGB32)
        return 0;
    const fill::FillRequest request = fillRequestFor(drawing, toQRgb(colour));
    std::array<fill::Point, cat::kMaxSeeds> seeds{};
    std::size_t count = 0;
    for (const cat::SeedPoint& seed : row->seeds())
        seeds[count++] = {seed.x, seed.y};
    std::array<fill::Bounds, cat::kMaxSeeds> eachSeed{};
    const std::size_t filled = fill::borderFill(request, std::span(seeds.data(), count), nullptr,
                                                std::span(eachSeed.data(), painted != nullptr ? count : 0));
    if (painted != nullptr)
        for (std::size_t i = 0; i < count; ++i)
            if (!eachSeed[i].empty())
                *painted += QRect(QPoint(eachSeed[i].left, eachSeed[i].top),
                                  QPoint(eachSeed[i].right, eachSeed[i].bottom));
    return filled;
}

void paintPlan(QImage& drawing, int m, const state::RebuildPlan& plan)
{
    for (int r = 0; r < plan.count; ++r) {
        const state::SlotRepaint& repaint = plan.repaints[static_cast<std::size_t>(r)];
        if (repaint.paintsDrawing)
            paintArea(drawing, m, repaint.slot, repaint.colour);
    }
}

QImage paintDesign(int m, const state::ModelDesign& design)
{
    QImage drawing = pristineDrawing(m);
    if (!drawing.isNull())
        paintPlan(drawing, m, state::planRebuild(m, design));
    return drawing;
}

namespace {

// One row of pixels, each repeated `factor` times; a constant factor lets the
// compiler unroll the repeats.
template <int Factor> void repeatPixels(const QRgb* from, int count, QRgb* to)
{
    for (int x = 0; x < count; ++x, to += Factor)
        for (int k = 0; k < Factor; ++k)
            to[k] = from[x];
}

void repeatPixels(const QRgb* from, int count, int factor, QRgb* to)
{
    switch (factor) {
    case 2: {
        int x = 0;
#if defined(__SSE2__)
        // Four pixels in, each twice out: the 150 % and 175 % steps enlarge
        // by two, on every change of a drawing.
        for (; x + 4 <= count; x += 4) {
            const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 2 * x), _mm_unpacklo_epi32(four, four));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 2 * x + 4), _mm_unpackhi_epi32(four, four));
        }
#endif
        repeatPixels<2>(from + x, count - x, to + 2 * x);
        break;
    }
    case 3: repeatPixels<3>(from, count, to); break;
    default:
        for (int x = 0; x < count; ++x, to += factor)
            std::fill_n(to, factor, from[x]);
        break;
    }
}

} // namespace

void enlarge(const QImage& from, const QRect& pixels, int factor, QImage& to)
{
    const auto width = static_cast<std::size_t>(pixels.width()) * static_cast<std::size_t>(factor);
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(from.constScanLine(y)) + pixels.left();
        auto* first = reinterpret_cast<QRgb*>(to.scanLine(y * factor)) + pixels.left() * factor;
        repeatPixels(source, pixels.width(), factor, first);
        for (int k = 1; k < factor; ++k)
            std::memcpy(reinterpret_cast<QRgb*>(to.scanLine(y * factor + k)) + pixels.left() * factor, first,
                        width * sizeof(QRgb));
    }
}

QImage enlarged(const QImage& drawing, int factor)
{
    if (factor < 2 || drawing.isNull())
        return drawing;
    const QImage source = drawing.convertToFormat(QImage::Format_RGB32);
    QImage out(source.size() * factor, QImage::Format_RGB32);
    enlarge(source, source.rect(), factor, out);
    return out;
}

} // namespace render
