// The splash picture: what the designer shows at start, and the generator
// that draws it from resources/art/splash.txt.
#include "splash.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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

} // namespace
