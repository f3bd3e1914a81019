// The design record as bytes, the file read and write beneath the commands,
// and the rebuild's decisions, all without a window.
#include "catalogue/catalogue.h"
#include "files/design_file.h"
#include "files/record.h"
#include "state/rebuild_plan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

#include <vector>

namespace {

std::vector<std::uint8_t> bytesOf(const files::RecordBytes& record)
{
    return {record.bytes.begin(), record.bytes.begin() + record.size};
}

design::ModelDesign afterNew(int m)
{
    design::ModelDesign d;
    design::setDefaultLetters(d, m);
    design::clearAreas(d, m);
    return d;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

TEST(Record, LayoutOfEveryModel)
{
    constexpr int kWords[] = {11, 17, 15, 15, 15, 17, 40, 15};
    for (int m = 0; m < cat::kModelCount; ++m) {
        SCOPED_TRACE(m);
        EXPECT_EQ(files::recordWords(m), kWords[m]);
        design::ModelDesign d = afterNew(m);
        for (int k = 0; k < cat::slotCount(m); ++k) {
            d.areaColour[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(100 + k);
            d.areaFabric[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(-1 - k);
        }
        const auto bytes = bytesOf(files::packDesignRecord(m, d));
        ASSERT_EQ(bytes.size(), static_cast<std::size_t>(2 * kWords[m]));
        auto word = [&](int w) {
            return static_cast<std::int16_t>(bytes[static_cast<std::size_t>(2 * w)] |
                                             (bytes[static_cast<std::size_t>(2 * w + 1)] << 8));
        };
        for (int k = 0; k < kWords[m] / 2; ++k) {
            EXPECT_EQ(word(2 * k), 100 + k);
            EXPECT_EQ(word(2 * k + 1), -1 - k);
        }
        if (cat::hasTape(m)) { // last word: the tape's colour, its fabric not stored
            EXPECT_EQ(word(kWords[m] - 1), 100 + cat::tapeSlot(m));
        }

        design::ModelDesign back = afterNew(m);
        back.areaFabric[static_cast<std::size_t>(cat::slotCount(m) - 1)] = 5;
        ASSERT_TRUE(files::unpackDesignRecord(m, bytes, back));
        EXPECT_EQ(back.areaColour, d.areaColour);
        for (int k = 0; k < cat::slotCount(m); ++k)
            EXPECT_EQ(back.areaFabric[static_cast<std::size_t>(k)],
                      k == cat::tapeSlot(m) ? 5 : d.areaFabric[static_cast<std::size_t>(k)]);
    }
}

TEST(Record, InputSizesAroundTheRecord)
{
    const int n = files::recordBytes(0);
    std::vector<std::uint8_t> input(static_cast<std::size_t>(n + 1), 0x07);
    for (int size : {0, n - 1, n, n + 1}) {
        design::ModelDesign d = afterNew(0);
        const bool read = files::unpackDesignRecord(0, {input.data(), static_cast<std::size_t>(size)}, d);
        EXPECT_EQ(read, size >= n) << size;
        EXPECT_EQ(d.areaColour[0], read ? 0x0707 : 99) << size;
    }
}

TEST(RebuildPlan, OnlyRealPaletteCellsAreRepainted)
{
    design::ModelDesign d = afterNew(0);
    d.areaColour[0] = 13; // Polycotton "Black"
    d.areaFabric[0] = 1;
    d.areaColour[1] = 500; // beyond the palette
    d.areaFabric[1] = 0;
    d.areaColour[2] = -4; // negative
    d.areaFabric[2] = 0;
    d.areaColour[3] = 2; // Nylon: not a fabric Orlensuit's rebuild knows
    d.areaFabric[3] = 3;
    d.areaColour[4] = 1;
    d.areaFabric[4] = 9;
    d.areaColour[5] = 2; // tape: Royal Blue
    const design::RebuildPlan plan = design::planRebuild(0, d);
    ASSERT_EQ(plan.count, 2);
    EXPECT_EQ(plan.repaints[0].slot, 0);
    EXPECT_EQ(plan.repaints[0].colourName, "Black");
    EXPECT_EQ(plan.repaints[0].fabricCode, 'P');
    EXPECT_TRUE(plan.repaints[0].paintsDrawing);
    EXPECT_EQ(plan.repaints[1].slot, 5);
    EXPECT_EQ(plan.repaints[1].colourName, "Royal Blue");
    EXPECT_FALSE(plan.repaints[1].paintsDrawing);
    EXPECT_EQ(plan.repaints[1].fabricCode, 0);

    design::applyNamesAndCodes(plan, d);
    EXPECT_EQ(d.areaColourName[1], "");
    EXPECT_EQ(d.areaFabricCode[5], "T");
    EXPECT_EQ(d.currentColour, cat::rgb(5, 43, 211));
}

TEST(RebuildPlan, BrisaBackAreasUseTheBackKey)
{
    design::ModelDesign d = afterNew(6);
    d.areaColour[13] = 0;
    d.areaFabric[13] = 6;
    const design::RebuildPlan plan = design::planRebuild(6, d);
    ASSERT_EQ(plan.count, 1);
    EXPECT_EQ(plan.repaints[0].key, cat::kBrisaBack);
    EXPECT_EQ(plan.repaints[0].keyPoint, 3);
    EXPECT_EQ(plan.repaints[0].fabricCode, 'Z');
}

class DesignFile : public testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    design::ModelDesign design = afterNew(0);
    QTemporaryDir dir;
};

TEST_F(DesignFile, WriteKeepsTailPermissionsAndLinks)
{
    design.areaColour[0] = 3;
    design.areaFabric[0] = 1;
    const QByteArray record = QByteArray::fromHex("0300010063006300630063006300630063006300") + "c\0"_qba;
    // A tail bigger than one copy chunk.
    QByteArray tail(200 * 1024 + 17, 'x');
    tail[0] = 't';
    writeBytes(path("long.olr"), QByteArray(22, 'o') + tail);
    ASSERT_TRUE(
        QFile::setPermissions(path("long.olr"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    ASSERT_TRUE(QFile::link(path("long.olr"), path("link.olr")));

    ASSERT_TRUE(files::writeDesignRecord(0, design, path("link.olr")));
    EXPECT_TRUE(QFileInfo(path("link.olr")).isSymLink());
    EXPECT_EQ(fileBytes(path("long.olr")), record + tail);
    EXPECT_EQ(QFileInfo(path("long.olr")).permissions() & 0x7077,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);

    design::ModelDesign back = afterNew(0);
    ASSERT_TRUE(files::readDesignRecord(0, back, path("long.olr")));
    EXPECT_EQ(back.areaColour, design.areaColour);
}

TEST_F(DesignFile, FailuresChangeNothing)
{
    EXPECT_FALSE(files::writeDesignRecord(0, design, path("no such folder/x.olr")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.olr")));
    const files::FileResult onFolder = files::writeDesignRecord(0, design, path("folder.olr"));
    EXPECT_FALSE(onFolder);
    EXPECT_FALSE(onFolder.reason.isEmpty());

    design::ModelDesign read = afterNew(0);
    read.areaColour[0] = 5;
    const auto unchanged = read.areaColour;
    EXPECT_FALSE(files::readDesignRecord(0, read, path("folder.olr")));
    EXPECT_FALSE(files::readDesignRecord(0, read, path("missing.olr")));
    writeBytes(path("short.olr"), QByteArray(21, '\0'));
    EXPECT_FALSE(files::readDesignRecord(0, read, path("short.olr")));
    EXPECT_FALSE(files::readDesignRecord(0, read, QStringLiteral("/proc/self")));
    EXPECT_EQ(read.areaColour, unchanged);
}

TEST_F(DesignFile, ReadOnlyTargetFailsWithQtsReason)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes read-only files";
    writeBytes(path("ro.olr"), QByteArray(22, 'o'));
    ASSERT_TRUE(QFile::setPermissions(path("ro.olr"), QFile::ReadOwner));
    const files::FileResult result = files::writeDesignRecord(0, design, path("ro.olr"));
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.reason.isEmpty());
    EXPECT_EQ(fileBytes(path("ro.olr")), QByteArray(22, 'o'));
}

TEST_F(DesignFile, ReadOnlyFolderWritesInPlace)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ro")));
    writeBytes(path("ro/a.olr"), QByteArray(22, 'o') + "tail");
    writeBytes(path("ro/b.olr"), QByteArray(22, 'o'));
    ASSERT_TRUE(QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_TRUE(files::writeDesignRecord(0, design, path("ro/a.olr")));
    EXPECT_TRUE(files::writeDesignRecord(0, design, path("ro/b.olr")));
    QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(fileBytes(path("ro/a.olr")), QByteArray::fromHex(QByteArray("6300").repeated(11)) + "tail");
    EXPECT_EQ(fileBytes(path("ro/b.olr")), QByteArray::fromHex(QByteArray("6300").repeated(11)));
}

TEST_F(DesignFile, HugeFileReadsOnlyTheRecord)
{
    QByteArray big(8 * 1024 * 1024, '\xff');
    big.replace(0, 4, QByteArray::fromHex("05000200"));
    writeBytes(path("big.olr"), big);
    ASSERT_TRUE(files::readDesignRecord(0, design, path("big.olr")));
    EXPECT_EQ(design.areaColour[0], 5);
    EXPECT_EQ(design.areaFabric[0], 2);
    EXPECT_EQ(design.areaColour[5], -1);
}

} // namespace
