// suitart-sheet BITMAPDIR OUTDIR [--seeds]: lays the eight drawings side by
// side twice, once as drawn (drawings-plain.png) and once with every area
// filled from its seeds in its own colour (drawings.png), and lists any fill
// that leaks, any seed off white and any white panel that no area reaches.
// For work on the artwork, --seeds also writes the filled sheet at twice the
// size (drawings-seeds.png) and each model at three times (model-N.png), with
// every seed marked.

#include "catalogue/models.h"
#include "catalogue/seeds.h"

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <vector>

namespace {

constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kGround = 0xffc0c0c0;
constexpr QRgb kWhite = 0xffffffff;

// Distinct, fabric-like colours for the areas of one model.
constexpr QRgb kAreaColours[] = {
    0xffd62728, 0xff1f77b4, 0xff2ca02c, 0xffff7f0e, 0xff9467bd, 0xff8c564b, 0xffe377c2,
    0xff17becf, 0xffbcbd22, 0xff00a087, 0xffaec7e8, 0xffffbb78, 0xff98df8a, 0xffff9896,
    0xffc5b0d5, 0xffc49c94, 0xfff7b6d2, 0xff9edae5, 0xffdbdb8d, 0xff393b79,
};

// A 4-connected border fill that stops only at black: the designer's own fill.
std::vector<QPoint> fillFrom(QImage& image, QPoint seed, QRgb colour)
{
    std::vector<QPoint> painted;
    if (!image.rect().contains(seed) || image.pixel(seed) == kBlack || image.pixel(seed) == colour)
        return painted;
    std::deque<QPoint> todo{seed};
    image.setPixel(seed, colour);
    while (!todo.empty()) {
        const QPoint p = todo.front();
        todo.pop_front();
        painted.push_back(p);
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + d;
            if (image.rect().contains(q) && image.pixel(q) != kBlack && image.pixel(q) != colour) {
                image.setPixel(q, colour);
                todo.push_back(q);
            }
        }
    }
    return painted;
}

// Fills every area of a model and reports what went wrong; returns the count of faults.
int paintModel(int m, const QImage& drawing, QImage& filled)
{
    int faults = 0;
    const auto& model = cat::kModels[m];
    filled = drawing.convertToFormat(QImage::Format_RGB32);

    // The ground around the suit: light grey reached from the picture's edge.
    QImage outside = filled;
    const QRgb outsideMark = 0xff00ff00;
    for (int x = 0; x < outside.width(); ++x)
        for (int y : {0, outside.height() - 1})
            if (outside.pixel(x, y) == kGround)
                fillFrom(outside, {x, y}, outsideMark);
    for (int y = 0; y < outside.height(); ++y)
        for (int x : {0, outside.width() - 1})
            if (outside.pixel(x, y) == kGround)
                fillFrom(outside, {x, y}, outsideMark);

    std::vector<int> owner(static_cast<std::size_t>(filled.width() * filled.height()), -1);
    int colourIndex = 0;
    for (const cat::AreaSeeds& row : cat::kAreaSeeds) {
        if (row.model != m)
            continue;
        const QRgb colour = kAreaColours[colourIndex++ % std::size(kAreaColours)];
        for (const cat::SeedPoint s : row.seeds()) {
            const QPoint seed(s.x, s.y);
            if (!drawing.rect().contains(seed) || drawing.pixel(seed) != kWhite) {
                std::printf("%s: %s seed (%d,%d) is not on white\n", model.caption.data(), row.name.data(),
                            s.x, s.y);
                ++faults;
                continue;
            }
            QImage scratch = drawing.convertToFormat(QImage::Format_RGB32);
            const auto region = fillFrom(scratch, seed, colour);
            bool edge = false, ground = false;
            int stolen = -1;
            for (const QPoint p : region) {
                edge |=
                    p.x() == 0 || p.y() == 0 || p.x() == drawing.width() - 1 || p.y() == drawing.height() - 1;
                ground |= outside.pixel(p) == outsideMark;
                int& o = owner[static_cast<std::size_t>(p.y() * drawing.width() + p.x())];
                if (o >= 0 && o != row.slot)
                    stolen = o;
                o = row.slot;
                filled.setPixel(p, colour);
            }
            if (edge || ground || stolen >= 0 || region.size() < 60) {
                std::printf("%s: %s seed (%d,%d): %zu px%s%s", model.caption.data(), row.name.data(), s.x,
                            s.y, region.size(), edge ? ", reaches the edge" : "",
                            ground ? ", reaches the ground" : "");
                if (stolen >= 0)
                    std::printf(", overlaps slot %d", stolen);
                std::printf("\n");
                ++faults;
            }
        }
    }
    // White left over is a panel no area can paint.
    QImage rest = filled;
    for (int y = 0; y < rest.height(); ++y)
        for (int x = 0; x < rest.width(); ++x)
            if (rest.pixel(x, y) == kWhite) {
                const auto region = fillFrom(rest, {x, y}, 0xff010101);
                std::printf("%s: unpainted white panel at (%d,%d), %zu px\n", model.caption.data(), x, y,
                            region.size());
                ++faults;
            }
    return faults;
}

QImage sheet(const std::vector<QImage>& pictures, int scale)
{
    const int cellW = 330 * scale, cellH = 325 * scale, caption = 22;
    QImage out(4 * cellW, 2 * (cellH + caption), QImage::Format_RGB32);
    out.fill(QColor(238, 238, 238));
    QPainter painter(&out);
    QFont font = painter.font();
    font.setPixelSize(15);
    painter.setFont(font);
    for (int m = 0; m < cat::kModelCount; ++m) {
        const QImage& p = pictures[static_cast<std::size_t>(m)];
        const int left = (m % 4) * cellW, top = (m / 4) * (cellH + caption);
        painter.setPen(Qt::black);
        painter.drawText(QRect(left, top, cellW, caption), Qt::AlignCenter,
                         QString::fromUtf8(cat::kModels[m].caption.data(),
                                           static_cast<int>(cat::kModels[m].caption.size())));
        const QImage scaled = p.scaled(p.size() * scale);
        painter.drawImage(left + (cellW - scaled.width()) / 2, top + caption + (cellH - scaled.height()) / 2,
                          scaled);
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: suitart-sheet BITMAPDIR OUTDIR [--seeds]\n");
        return 2;
    }
    const QDir in(args[1]), out(args[2]);
    const bool seeds = args.contains(QStringLiteral("--seeds"));

    std::vector<QImage> plain, filled, marked;
    int faults = 0;
    for (int m = 0; m < cat::kModelCount; ++m) {
        const QString name = in.filePath(QStringLiteral("%1.bmp").arg(cat::kModels[m].pictureId));
        QImage drawing(name);
        if (drawing.isNull()) {
            std::printf("cannot read %s\n", qPrintable(name));
            ++faults;
            drawing =
                QImage(cat::kModels[m].pictureWidth, cat::kModels[m].pictureHeight, QImage::Format_RGB32);
            drawing.fill(kGround);
        }
        drawing = drawing.convertToFormat(QImage::Format_RGB32);
        QImage painted;
        faults += paintModel(m, drawing, painted);
        plain.push_back(drawing);
        filled.push_back(painted);
        if (seeds) {
            QImage big = painted.scaled(painted.size() * 2);
            QImage huge = painted.scaled(painted.size() * 3);
            for (const cat::AreaSeeds& row : cat::kAreaSeeds)
                if (row.model == m)
                    for (const cat::SeedPoint s : row.seeds())
                        for (int d = -4; d <= 4; ++d) {
                            huge.setPixel(std::clamp(3 * s.x + 1 + d, 0, huge.width() - 1), 3 * s.y + 1,
                                          kBlack);
                            huge.setPixel(3 * s.x + 1, std::clamp(3 * s.y + 1 + d, 0, huge.height() - 1),
                                          kBlack);
                        }
            huge.save(out.filePath(QStringLiteral("model-%1.png").arg(m)));
            for (const cat::AreaSeeds& row : cat::kAreaSeeds)
                if (row.model == m)
                    for (const cat::SeedPoint s : row.seeds())
                        for (int d = -3; d <= 3; ++d) {
                            big.setPixel(std::clamp(2 * s.x + d, 0, big.width() - 1), 2 * s.y, kBlack);
                            big.setPixel(2 * s.x, std::clamp(2 * s.y + d, 0, big.height() - 1), kBlack);
                        }
            marked.push_back(big);
        }
    }
    bool ok = sheet(plain, 1).save(out.filePath(QStringLiteral("drawings-plain.png"))) &&
              sheet(filled, 1).save(out.filePath(QStringLiteral("drawings.png")));
    if (seeds)
        ok = ok && sheet(marked, 2).save(out.filePath(QStringLiteral("drawings-seeds.png")));
    if (!ok) {
        std::fprintf(stderr, "cannot write to %s\n", qPrintable(args[2]));
        return 1;
    }
    std::printf("%d faults\n", faults);
    return faults == 0 ? 0 : 1;
}
