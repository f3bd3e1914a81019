// The splash picture: what the designer shows at start, and the generator
// that draws it from resources/art/splash.txt.
#include "splash.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

QByteArray committed()
{
    QFile file(QStringLiteral(":/bitmaps/splash.bmp"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SplashPicture, Is288By405With256Colours)
{
    const QImage picture = QImage::fromData(committed(), "BMP");
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(288, 405));
    EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
    EXPECT_EQ(picture.depth(), 8);
    EXPECT_EQ(picture.colorCount(), 256);
}

TEST(SplashPicture, IsExactlyWhatTheGeneratorMakesFromItsSource)
{
    const std::string source = readFile(SPLASH_SOURCE);
    ASSERT_FALSE(source.empty());
    const auto bytes = splashart::encodeBmp8(splashart::render(source, SUITART_ART_DIR));
    EXPECT_TRUE(committed() ==
                QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())))
        << "splash.bmp differs from its source: rebuild the update-splash target";
}

TEST(SplashGenerator, DrawsCentredTextAndRejectsWhatItCannotDraw)
{
    const std::string glyph = "glyph I X\n        X\n";
    const auto p = splashart::render("size 7 2\ntext 0 1 255 0 0 II\n" + glyph, ".");
    // "II" is 3 pixels wide with its gap; centred in 7 it starts at x = 2.
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(p.at(x, 0) == (splashart::Rgb{255, 0, 0}), x == 2 || x == 4) << x;

    try {
        (void)splashart::render("size 4 4\n\ntext 0 1 1 2 3 Q\n", ".");
        FAIL() << "a letter without a glyph was drawn";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "line 3: no glyph for 'Q'");
    }
    EXPECT_THROW((void)splashart::render("sky 0 0 0 1 1 1 2\n", "."), std::runtime_error);
    EXPECT_THROW((void)splashart::render("size 4 4\npaint 0 1 2 3\n", "."), std::runtime_error);

    // 257 colours do not fit a 256-colour palette; 256 do.
    splashart::Picture many{257, 1, {}};
    for (int i = 0; i < 257; ++i)
        many.pixels.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8), 0});
    EXPECT_THROW((void)splashart::encodeBmp8(many), std::runtime_error);
    many.pixels.back() = many.pixels.front();
    EXPECT_NO_THROW((void)splashart::encodeBmp8(many));
}

} // namespace
