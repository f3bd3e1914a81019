#include "render/drawing.h"

#include "bitmaps.h"
#include "catalogue/models.h"
#include "catalogue/seeds.h"
#include "fill/floodfill.h"
#include "render/qtcolour.h"

#include <array>
#include <cstring>
#include <span>

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

QImage enlarged(const QImage& drawing, int factor)
{
    if (factor < 2 || drawing.isNull())
        return drawing;
    const QImage source = drawing.convertToFormat(QImage::Format_RGB32);
    const int width = source.width() * factor;
    QImage out(width, source.height() * factor, QImage::Format_RGB32);
    const auto rowBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    for (int y = 0; y < source.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* first = reinterpret_cast<QRgb*>(out.scanLine(y * factor));
        for (int x = 0; x < width; ++x)
            first[x] = from[x / factor];
        for (int copy = 1; copy < factor; ++copy)
            std::memcpy(out.scanLine(y * factor + copy), first, rowBytes);
    }
    return out;
}

} // namespace render
