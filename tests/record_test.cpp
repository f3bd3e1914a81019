// The design record as bytes, and the file read and write beneath the
// commands, without a window.
#include "catalogue/catalogue.h"
#include "files/design_file.h"
#include "files/record.h"
#include "support/design_files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

design::ModelDesign afterNew(int m)
{
    design::ModelDesign d;
    design::setDefaultLetters(d, m);
    design::clearAreas(d, m);
    return d;
}

const QByteArray kUncoloured = words({cat::kNoColour}).repeated(11);

TEST(Record, LayoutOfEveryModel)
{
    constexpr int kWords[] = {11, 17, 15, 15, 15, 17, 40, 15};
    for (int m = 0; m < cat::kModelCount; ++m) {
        SCOPED_TRACE(m);
        EXPECT_EQ(files::recordWords(m), kWords[m]);
        design::ModelDesign d = afterNew(m);
        QByteArray expected;
        for (int k = 0; k < cat::slotCount(m); ++k) {
            d.areaColour[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(100 + k);
            d.areaFabric[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(-1 - k);
            // The tape stores its colour only, as the last word.
            expected += k == cat::tapeSlot(m) ? words({100 + k}) : words({100 + k, -1 - k});
        }
        const files::RecordBytes packed = files::packDesignRecord(m, d);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(packed.bytes.data()), packed.size), expected);

        design::ModelDesign back = afterNew(m);
        back.areaFabric[static_cast<std::size_t>(cat::slotCount(m) - 1)] = 5;
        ASSERT_TRUE(files::unpackDesignRecord(m, packed.view(), back));
        EXPECT_EQ(back.areaColour, d.areaColour);
        for (int k = 0; k < cat::slotCount(m); ++k)
            EXPECT_EQ(back.areaFabric[static_cast<std::size_t>(k)],
                      k == cat::tapeSlot(m) ? 5 : d.areaFabric[static_cast<std::size_t>(k)]);
    }
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
    QByteArray tail(200 * 1024 + 17, 'x'); // more than one copy chunk
    tail[0] = 't';
    writeBytes(path("long.olr"), QByteArray(22, 'o') + tail);
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path("long.olr"), mode));
    ASSERT_TRUE(QFile::link(path("long.olr"), path("link.olr")));

    ASSERT_TRUE(files::writeDesignRecord(0, design, path("link.olr")));
    EXPECT_TRUE(QFileInfo(path("link.olr")).isSymLink());
    EXPECT_EQ(fileBytes(path("long.olr")), words({3, 1}) + kUncoloured.mid(4) + tail);
    EXPECT_EQ(QFileInfo(path("long.olr")).permissions() & 0x7077, mode);

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
    EXPECT_FALSE(files::readDesignRecord(0, read, QStringLiteral("/proc/self")));
    EXPECT_EQ(read.areaColour, unchanged);

    // A file of several megabytes: only the record is read.
    QByteArray big(8 * 1024 * 1024, '\xff');
    writeBytes(path("big.olr"), big.replace(0, 4, words({5, 2})));
    ASSERT_TRUE(files::readDesignRecord(0, read, path("big.olr")));
    EXPECT_EQ(read.areaColour[0], 5);
    EXPECT_EQ(read.areaFabric[0], 2);
    EXPECT_EQ(read.areaColour[5], -1);
}

// Runs as an unprivileged user too (see CMakeLists.txt): root writes anything.
TEST_F(DesignFile, ReadOnlyTargetFailsAndReadOnlyFolderWritesInPlace)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes read-only files and folders";
    writeBytes(path("ro.olr"), QByteArray(22, 'o'));
    ASSERT_TRUE(QFile::setPermissions(path("ro.olr"), QFile::ReadOwner));
    const files::FileResult result = files::writeDesignRecord(0, design, path("ro.olr"));
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.reason.isEmpty());
    EXPECT_EQ(fileBytes(path("ro.olr")), QByteArray(22, 'o'));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ro")));
    writeBytes(path("ro/a.olr"), QByteArray(22, 'o') + "tail");
    writeBytes(path("ro/b.olr"), QByteArray(22, 'o'));
    ASSERT_TRUE(QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_TRUE(files::writeDesignRecord(0, design, path("ro/a.olr")));
    EXPECT_TRUE(files::writeDesignRecord(0, design, path("ro/b.olr")));
    QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(fileBytes(path("ro/a.olr")), kUncoloured + "tail");
    EXPECT_EQ(fileBytes(path("ro/b.olr")), kUncoloured);
}

} // namespace
