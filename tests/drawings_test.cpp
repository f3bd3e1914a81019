// The suit drawings: what the designer paints on, and the generator that
// makes them from resources/art.

#include "art.h"
#include "bitmaps.h"
#include "catalogue/models.h"
#include "catalogue/seeds.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kGround = 0xffc0c0c0;
constexpr QRgb kGrey = 0xff808080;
constexpr QRgb kWhite = 0xffffffff;

QImage drawing(int model)
{
    return builtInBitmap(cat::kModels[model].pictureId).convertToFormat(QImage::Format_RGB32);
}

// The pixels a 4-connected border fill from `seeds` reaches, stopping only at
// black; the way the designer paints an area.
std::vector<bool> reach(const QImage& image, const std::vector<QPoint>& seeds)
{
    const int w = image.width();
    std::vector<bool> seen(static_cast<std::size_t>(w * image.height()), false);
    std::vector<QPoint> todo;
    auto visit = [&](QPoint p) {
        if (!image.rect().contains(p) || image.pixel(p) == kBlack)
            return;
        const auto i = static_cast<std::size_t>(p.y() * w + p.x());
        if (!seen[i]) {
            seen[i] = true;
            todo.push_back(p);
        }
    };
    for (const QPoint s : seeds)
        visit(s);
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
            visit(p + d);
    }
    return seen;
}

std::size_t count(const std::vector<bool>& mask)
{
    return static_cast<std::size_t>(std::count(mask.begin(), mask.end(), true));
}

std::vector<QPoint> points(const cat::AreaSeeds& row)
{
    std::vector<QPoint> out;
    for (const cat::SeedPoint s : row.seeds())
        out.emplace_back(s.x, s.y);
    return out;
}

std::vector<const cat::AreaSeeds*> areasOf(int model)
{
    std::vector<const cat::AreaSeeds*> out;
    for (const cat::AreaSeeds& row : cat::kAreaSeeds)
        if (row.model == model && row.count > 0)
            out.push_back(&row);
    return out;
}

// The light grey around the suit: what a leaking fill would run into.
std::vector<bool> outside(const QImage& image)
{
    std::vector<QPoint> edge;
    for (int x = 0; x < image.width(); ++x)
        edge.insert(edge.end(), {QPoint(x, 0), QPoint(x, image.height() - 1)});
    for (int y = 0; y < image.height(); ++y)
        edge.insert(edge.end(), {QPoint(0, y), QPoint(image.width() - 1, y)});
    std::erase_if(edge, [&](QPoint p) { return image.pixel(p) != kGround; });
    QImage groundOnly = image;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (groundOnly.pixel(x, y) != kGround)
                groundOnly.setPixel(x, y, kBlack);
    return reach(groundOnly, edge);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string where(int model, const cat::AreaSeeds& row)
{
    return std::string(cat::kModels[model].caption) + " / " + std::string(row.name) + " (slot " +
           std::to_string(row.slot) + ")";
}

} // namespace

TEST(Drawings, ComeInTheModelsPictureSizesInTheFourInks)
{
    for (int m = 0; m < cat::kModelCount; ++m) {
        SCOPED_TRACE(cat::kModels[m].caption);
        const QImage image = drawing(m);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), cat::kModels[m].pictureWidth);
        EXPECT_EQ(image.height(), cat::kModels[m].pictureHeight);
        std::set<QRgb> inks;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                inks.insert(image.pixel(x, y));
        EXPECT_EQ(inks, (std::set<QRgb>{kBlack, kGround, kGrey, kWhite}));
    }
}

TEST(Drawings, AreSixteenColourBottomUpBitmaps)
{
    for (int id = 16; id <= 144; id += 16) {
        QFile file(QStringLiteral(":/bitmaps/%1.bmp").arg(id));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << id;
        const QByteArray bytes = file.readAll();
        ASSERT_GT(bytes.size(), 118) << id;
        auto u32 = [&](int at) {
            std::uint32_t v = 0;
            for (int i = 3; i >= 0; --i)
                v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
            return v;
        };
        EXPECT_EQ(bytes.left(2), QByteArray("BM")) << id;
        EXPECT_EQ(u32(28) & 0xffff, 4u) << id; // bits per pixel
        EXPECT_EQ(u32(30), 0u) << id;          // uncompressed
        const auto height = static_cast<std::int32_t>(u32(22));
        EXPECT_GT(height, 0) << id << ": rows must run bottom-up";
        EXPECT_EQ(height, builtInBitmap(id).height()) << id;
    }
}

TEST(Drawings, ClearingPictureIsOneLightGreyPixel)
{
    const QImage image = builtInBitmap(cat::kClearingPictureId);
    ASSERT_EQ(image.size(), QSize(1, 1));
    EXPECT_EQ(image.pixel(0, 0), kGround);
}

TEST(Drawings, EverySeedOpensARealPanelOfItsOwnArea)
{
    for (int m = 0; m < cat::kModelCount; ++m) {
        const QImage image = drawing(m);
        for (const cat::AreaSeeds* row : areasOf(m))
            for (const QPoint seed : points(*row)) {
                SCOPED_TRACE(where(m, *row));
                ASSERT_TRUE(image.rect().contains(seed));
                EXPECT_EQ(image.pixel(seed), kWhite) << seed.x() << "," << seed.y();
                EXPECT_GE(count(reach(image, {seed})), 60u) << seed.x() << "," << seed.y();
            }
    }
}

TEST(Drawings, AreaFillsStayInsideTheirOwnPanels)
{
    for (int m = 0; m < cat::kModelCount; ++m) {
        const QImage image = drawing(m);
        const int w = image.width(), h = image.height();
        const std::vector<bool> ground = outside(image);
        const auto areas = areasOf(m);
        std::vector<std::vector<bool>> filled;
        for (const cat::AreaSeeds* row : areas)
            filled.push_back(reach(image, points(*row)));

        for (std::size_t a = 0; a < areas.size(); ++a) {
            SCOPED_TRACE(where(m, *areas[a]));
            const auto& mine = filled[a];
            bool edge = false, spilt = false;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const auto i = static_cast<std::size_t>(y * w + x);
                    if (!mine[i])
                        continue;
                    edge |= x == 0 || y == 0 || x == w - 1 || y == h - 1;
                    spilt |= ground[i];
                }
            EXPECT_FALSE(edge) << "reaches the picture's edge";
            EXPECT_FALSE(spilt) << "reaches the ground around the suit";
            for (std::size_t b = 0; b < areas.size(); ++b) {
                if (b == a)
                    continue;
                for (const QPoint s : points(*areas[b]))
                    EXPECT_FALSE(mine[static_cast<std::size_t>(s.y() * w + s.x())])
                        << "reaches the seed " << s.x() << "," << s.y() << " of " << areas[b]->name;
                bool shared = false;
                for (std::size_t i = 0; i < mine.size() && !shared; ++i)
                    shared = mine[i] && filled[b][i];
                EXPECT_FALSE(shared) << "shares pixels with " << areas[b]->name;
            }
        }
    }
}

TEST(Drawings, LeaveNoWhitePanelThatNoAreaPaints)
{
    for (int m = 0; m < cat::kModelCount; ++m) {
        SCOPED_TRACE(cat::kModels[m].caption);
        const QImage image = drawing(m);
        std::vector<QPoint> all;
        for (const cat::AreaSeeds* row : areasOf(m))
            for (const QPoint s : points(*row))
                all.push_back(s);
        const auto painted = reach(image, all);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == kWhite) {
                    ASSERT_TRUE(painted[static_cast<std::size_t>(y * image.width() + x)])
                        << "white pixel at " << x << "," << y << " belongs to no area";
                }
            }
    }
}

TEST(Drawings, AreExactlyWhatTheGeneratorMakesFromTheArt)
{
    std::set<int> made;
    const QDir art(QStringLiteral(SUITART_ART_DIR));
    for (const QString& name : art.entryList({QStringLiteral("*.art")}, QDir::Files, QDir::Name)) {
        SCOPED_TRACE(name.toStdString());
        const suitart::Picture picture = suitart::render(readFile(art.filePath(name).toStdString()));
        const auto bytes = suitart::encodeBmp(picture);
        QFile built(QStringLiteral(":/bitmaps/%1.bmp").arg(picture.id));
        ASSERT_TRUE(built.open(QIODevice::ReadOnly)) << "no committed bitmap " << picture.id;
        EXPECT_TRUE(built.readAll() == QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                  static_cast<qsizetype>(bytes.size())))
            << picture.id << ".bmp differs from its source: rebuild the update-drawings target";
        made.insert(picture.id);
    }
    EXPECT_EQ(made, (std::set<int>{16, 32, 48, 64, 80, 96, 112, 128, 144}));

    std::set<int> committed;
    const QDir bitmaps(QStringLiteral(SUITART_BITMAP_DIR));
    for (const QString& name : bitmaps.entryList({QStringLiteral("*.bmp")}, QDir::Files))
        if (name != QLatin1String("splash.bmp")) // drawn by its own generator
            committed.insert(name.chopped(4).toInt());
    EXPECT_EQ(committed, made) << "a bitmap without a source, or a source without its bitmap";
}
