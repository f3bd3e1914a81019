// The design record as bytes, and the file read and write beneath the
// commands, without a window: the one writer, down to a writer killed in the
// middle of its saves.
#include "catalogue/catalogue.h"
#include "files/design_file.h"
#include "files/order_block.h"
#include "files/output.h"
#include "files/platform.h"
#include "files/record.h"
#include "support/design_files.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

state::ModelDesign afterNew(int m)
{
    state::ModelDesign d;
    state::setDefaultLetters(d, m);
    state::clearAreas(d, m);
    return d;
}

const QByteArray kUncoloured = words({cat::kNoColour}).repeated(11);

TEST(Record, LayoutOfEveryModel)
{
    constexpr int kWords[] = {11, 17, 15, 15, 15, 17, 40, 15};
    for (int m = 0; m < cat::kModelCount; ++m) {
        SCOPED_TRACE(m);
        EXPECT_EQ(files::recordWords(m), kWords[m]);
        state::ModelDesign d = afterNew(m);
        QByteArray expected;
        for (int k = 0; k < cat::slotCount(m); ++k) {
            d.areaColour[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(100 + k);
            d.areaFabric[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(-1 - k);
            // The tape stores its colour only, as the last word.
            expected += k == cat::tapeSlot(m) ? words({100 + k}) : words({100 + k, -1 - k});
        }
        const files::RecordBytes packed = files::packDesignRecord(m, d);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(packed.bytes.data()), packed.size), expected);

        state::ModelDesign back = afterNew(m);
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
    QStringList entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    state::ModelDesign design = afterNew(0);
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

    state::ModelDesign back = afterNew(0);
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

    state::ModelDesign read = afterNew(0);
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

// A write that cannot be finished (here a file-size limit below the record,
// or below record and tail) is reported and leaves every old file byte for
// byte, and no new or temporary file behind.
TEST_F(DesignFile, AWriteThatCannotFinishLeavesTheOldFile)
{
    design.areaColour[0] = 3;
    const QByteArray old(22, 'o');
    const QByteArray tail(1000, 't');
    writeBytes(path("plain.olr"), old);
    writeBytes(path("tail.olr"), old + tail);
    const QStringList before = entries();
    for (const rlim_t limit : {rlim_t{0}, rlim_t{10}, rlim_t{100}}) {
        SCOPED_TRACE(limit);
        for (const char* name : {"plain.olr", "tail.olr", "new.olr"}) {
            SCOPED_TRACE(name);
            files::FileResult result;
            {
                const FileSizeLimit guard(limit);
                ASSERT_TRUE(guard.set());
                result = files::writeDesignRecord(0, design, path(QString::fromLatin1(name)));
            }
            const bool fits = limit == 100 && QByteArray(name) != "tail.olr";
            if (fits) {
                EXPECT_TRUE(result) << result.reason.toStdString();
                continue;
            }
            EXPECT_FALSE(result);
            EXPECT_EQ(result.reason, "the file would be larger than the system allows");
        }
        EXPECT_EQ(fileBytes(path("plain.olr")), limit == 100 ? words({3, 99}) + kUncoloured.mid(4) : old);
        EXPECT_EQ(fileBytes(path("tail.olr")), old + tail);
        QStringList now = entries();
        now.removeAll(QStringLiteral("new.olr"));
        EXPECT_EQ(now, before) << "a file was left behind";
        QFile::remove(path("new.olr"));
        writeBytes(path("plain.olr"), old);
    }
}

// A pipe is refused without waiting for a reader, and nothing goes into it; a
// name too long for a temporary name beside it still saves.
TEST_F(DesignFile, PipesAreRefusedAndLongNamesSave)
{
    const QString pipe = path("pipe.olr");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // Held open for reading and writing, so that nothing here can block.
    const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const files::FileResult written = files::writeDesignRecord(0, design, pipe);
    EXPECT_FALSE(written);
    EXPECT_EQ(written.reason, "it is a pipe, not a file");
    char byte = 0;
    EXPECT_EQ(::read(reader, &byte, 1), -1) << "the record went into the pipe";
    ::close(reader);
    EXPECT_TRUE(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
    state::ModelDesign read = afterNew(0);
    EXPECT_EQ(files::readDesignRecord(0, read, pipe).reason, "it is a pipe, not a file");

    for (const int length : {249, 255}) {
        const QString name = QString(length - 4, u'n') + ".olr";
        writeBytes(path(name), QByteArray(22, 'o') + "tail");
        design.areaColour[1] = static_cast<std::int16_t>(length);
        const files::FileResult result = files::writeDesignRecord(0, design, path(name));
        EXPECT_TRUE(result) << length << ": " << result.reason.toStdString();
        EXPECT_EQ(fileBytes(path(name)).mid(4, 2), words({length})) << length;
        EXPECT_TRUE(fileBytes(path(name)).endsWith("tail"));
    }
}

// Root gives a group to a file, and lets an unprivileged user save another
// user's file in a sticky shared folder: group, owner and permissions stay.
TEST_F(DesignFile, SharedFilesKeepOwnerGroupAndPermissions)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give files away";
    constexpr gid_t kGroup = 4242;
    const QByteArray grouped = QFile::encodeName(path("grouped.olr"));
    writeBytes(path("grouped.olr"), QByteArray(22, 'o'));
    ASSERT_EQ(::chown(grouped.constData(), 0, kGroup), 0);
    ASSERT_EQ(::chmod(grouped.constData(), 0640), 0);
    design.areaColour[0] = 4;
    ASSERT_TRUE(files::writeDesignRecord(0, design, path("grouped.olr")));
    struct stat st {};
    ASSERT_EQ(::stat(grouped.constData(), &st), 0);
    EXPECT_EQ(st.st_gid, kGroup);
    EXPECT_EQ(st.st_mode & 07777, 0640U);
    EXPECT_EQ(fileBytes(path("grouped.olr")).left(2), words({4}));

    // /tmp-like: everyone may create files, only owners may replace them.
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("shared")));
    ASSERT_EQ(::chmod(QFile::encodeName(path("shared")).constData(), 01777), 0);
    const QByteArray roots = QFile::encodeName(path("shared/roots.olr"));
    writeBytes(path("shared/roots.olr"), QByteArray(22, 'o'));
    ASSERT_EQ(::chmod(roots.constData(), 0666), 0);
    design.areaColour[0] = 5;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(3);
        const files::FileResult result = files::writeDesignRecord(0, design, path("shared/roots.olr"));
        ::_exit(result ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    ASSERT_EQ(::stat(roots.constData(), &st), 0);
    EXPECT_EQ(st.st_uid, 0U);
    EXPECT_EQ(st.st_mode & 07777, 0666U);
    EXPECT_EQ(fileBytes(path("shared/roots.olr")), words({5, 99}) + kUncoloured.mid(4));
}

// A full disk: a small file system filled up. Mounting needs root, and not
// every sandbox allows it.
TEST_F(DesignFile, AFullDiskLeavesTheOldFile)
{
    const QString disk = path("disk");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("disk")));
    const QByteArray where = QFile::encodeName(disk);
    if (::mount("tmpfs", where.constData(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    struct Unmount {
        QByteArray where;
        ~Unmount() { ::umount2(where.constData(), MNT_DETACH); }
    } unmount{where};

    const QByteArray old = QByteArray(22, 'o') + QByteArray(3000, 't');
    writeBytes(disk + "/a.olr", old.left(22));
    writeBytes(disk + "/b.olr", old);
    {
        QFile filler(disk + "/filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
    }
    design.areaColour[0] = 6;
    for (const char* name : {"a.olr", "b.olr", "c.olr"}) {
        SCOPED_TRACE(name);
        const files::FileResult result = files::writeDesignRecord(0, design, disk + "/" + name);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.reason, "the disk is full");
    }
    EXPECT_EQ(fileBytes(disk + "/a.olr"), old.left(22));
    EXPECT_EQ(fileBytes(disk + "/b.olr"), old);
    EXPECT_FALSE(QFileInfo::exists(disk + "/c.olr"));

    // With room again the same save goes through.
    ASSERT_TRUE(QFile::remove(disk + "/filler"));
    EXPECT_TRUE(files::writeDesignRecord(0, design, disk + "/b.olr"));
    EXPECT_EQ(fileBytes(disk + "/b.olr"), words({6, 99}) + kUncoloured.mid(4) + old.mid(22));
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
    {
        // In place too, a record that cannot be written whole is not begun.
        const FileSizeLimit guard(10);
        EXPECT_EQ(files::writeDesignRecord(0, design, path("ro/a.olr")).reason,
                  "the file would be larger than the system allows");
    }
    EXPECT_EQ(fileBytes(path("ro/a.olr")), QByteArray(22, 'o') + "tail");
    EXPECT_TRUE(files::writeDesignRecord(0, design, path("ro/a.olr")));
    EXPECT_TRUE(files::writeDesignRecord(0, design, path("ro/b.olr")));
    QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(fileBytes(path("ro/a.olr")), kUncoloured + "tail");
    EXPECT_EQ(fileBytes(path("ro/b.olr")), kUncoloured);
}

// Runs as an unprivileged user too: where the file can only be updated in
// place, a block that grows or shrinks moves what follows it.
TEST_F(DesignFile, InPlaceWritesMoveWhatFollowsTheOrderBlock)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root replaces files in any folder";
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ro")));
    const QByteArray tail = QByteArray("tail of another program") + QByteArray(5000, 't');
    writeBytes(path("ro/a.olr"), QByteArray(22, 'o') + tail);
    ASSERT_TRUE(QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::ExeOwner));
    const auto blockFor = [](const state::ModelDesign& d) { return *files::orderBlock(d.order); };

    design.order.orderNumber = "A-1";
    ASSERT_TRUE(files::writeDesignRecord(0, design, path("ro/a.olr")));
    EXPECT_EQ(fileBytes(path("ro/a.olr")), kUncoloured + blockFor(design) + tail);
    design.order.notes = std::string(300, 'n');
    ASSERT_TRUE(files::writeDesignRecord(0, design, path("ro/a.olr")));
    EXPECT_EQ(fileBytes(path("ro/a.olr")), kUncoloured + blockFor(design) + tail);
    {
        // Too large for the limit: refused before a byte is written.
        const QByteArray before = fileBytes(path("ro/a.olr"));
        const FileSizeLimit guard(before.size());
        design.order.notes = std::string(400, 'n');
        EXPECT_FALSE(files::writeDesignRecord(0, design, path("ro/a.olr")));
        EXPECT_EQ(fileBytes(path("ro/a.olr")), before);
    }
    design.order = {};
    ASSERT_TRUE(files::writeDesignRecord(0, design, path("ro/a.olr")));
    QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(fileBytes(path("ro/a.olr")), kUncoloured + tail);
}

// A sticky, world-writable folder (as /tmp) in which another user planted
// links named like files this user will save, pointing at this user's files.
// The system would not follow them for us (protected_symlinks), so no write
// may go through them; links in ordinary folders, and our own, still work.
TEST_F(DesignFile, LinksAnotherUserPlantedInASharedFolderAreRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to plant a link as another user";
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("shared")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("plain")));
    ASSERT_EQ(::chmod(QFile::encodeName(path("shared")).constData(), 01777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path("plain")).constData(), 0777), 0);
    const QByteArray victim = QByteArray(22, 'v') + "precious";
    writeBytes(path("victim"), victim);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
            ::setresuid(kNobody, kNobody, kNobody) != 0)
            ::_exit(3);
        const QByteArray target = QFile::encodeName(path("victim"));
        for (const char* name : {"shared/evil.olr", "shared/evil.pdf", "plain/ok.olr"}) {
            if (::symlink(target.constData(), QFile::encodeName(path(name)).constData()) != 0)
                ::_exit(4);
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;

    design.areaColour[0] = 7;
    const files::FileResult record = files::writeDesignRecord(0, design, path("shared/evil.olr"));
    EXPECT_FALSE(record);
    EXPECT_EQ(record.reason, "it is a link owned by another user");
    const files::FileResult whole = files::writeFile(path("shared/evil.pdf"), "%PDF-1.4 not the victim");
    EXPECT_FALSE(whole);
    EXPECT_EQ(whole.reason, "it is a link owned by another user");
    EXPECT_EQ(fileBytes(path("victim")), victim);
    EXPECT_TRUE(QFileInfo(path("shared/evil.olr")).isSymLink());

    // Our own link in the shared folder, and theirs in a plain folder, are
    // followed: the file they point at is updated, and the links stay.
    ASSERT_TRUE(QFile::link(path("victim"), path("shared/mine.olr")));
    EXPECT_TRUE(files::writeDesignRecord(0, design, path("shared/mine.olr")));
    EXPECT_EQ(fileBytes(path("victim")), words({7, 99}) + kUncoloured.mid(4) + "precious");
    design.areaColour[0] = 8;
    EXPECT_TRUE(files::writeDesignRecord(0, design, path("plain/ok.olr")));
    EXPECT_EQ(fileBytes(path("victim")).left(2), words({8}));
    EXPECT_TRUE(QFileInfo(path("plain/ok.olr")).isSymLink() &&
                QFileInfo(path("shared/mine.olr")).isSymLink());
}

// An output that is the file it is made from, by name, through a link or as
// a hard link, is refused before a byte is written.
TEST_F(DesignFile, AnOutputIsNeverTheFileItIsMadeFrom)
{
    const QByteArray design = kUncoloured + "design";
    writeBytes(path("a.olr"), design);
    ASSERT_TRUE(QFile::link(path("a.olr"), path("s.pdf")));
    ASSERT_EQ(
        ::link(QFile::encodeName(path("a.olr")).constData(), QFile::encodeName(path("h.png")).constData()),
        0);
    files::WriteOptions options;
    options.source = path("a.olr");
    for (const char* name : {"a.olr", "s.pdf", "h.png"}) {
        SCOPED_TRACE(name);
        const files::FileResult result = files::writeFile(path(name), "\x89PNG not a design", options);
        EXPECT_FALSE(result);
        EXPECT_TRUE(result.reason.contains(path("a.olr"))) << result.reason.toStdString();
    }
    EXPECT_EQ(fileBytes(path("a.olr")), design);
    // A file of the same name elsewhere is another file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("other")));
    EXPECT_TRUE(files::writeFile(path("other/a.olr"), "picture", options));
}

// Output names up to the system's 255 bytes; the temporary file has no name
// (or a short one), and nothing is left beside the output.
TEST_F(DesignFile, OutputsTakeNamesOfEveryAllowedLengthAndLeaveNothingBehind)
{
    for (int length = 248; length <= 255; ++length) {
        const QString name = QString(length - 4, u'n') + QStringLiteral(".png");
        const files::FileResult result = files::writeFile(path(name), QByteArray(100, 'p'));
        EXPECT_TRUE(result) << length << ": " << result.reason.toStdString();
        EXPECT_EQ(fileBytes(path(name)), QByteArray(100, 'p'));
    }
    EXPECT_EQ(entries().size(), 8);
    EXPECT_EQ(files::writeFile(path(QString(252, u'n') + QStringLiteral(".png")), "x").reason,
              "the name is too long");
}

// A disk mounted read-only is said as such, for a file that is there and for
// a new one.
TEST_F(DesignFile, AReadOnlyDiskIsSaidAsSuch)
{
    const QString disk = path("disk");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("disk")));
    const QByteArray where = QFile::encodeName(disk);
    if (::mount("tmpfs", where.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    struct Unmount {
        QByteArray where;
        ~Unmount() { ::umount2(where.constData(), MNT_DETACH); }
    } unmount{where};
    writeBytes(disk + "/a.olr", QByteArray(22, 'o'));
    ASSERT_EQ(::mount(nullptr, where.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0)
        << std::strerror(errno);
    for (const char* name : {"a.olr", "b.olr"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(files::writeDesignRecord(0, design, disk + "/" + name).reason, "the disk is read-only");
    }
    EXPECT_EQ(fileBytes(disk + "/a.olr"), QByteArray(22, 'o'));
}

// File names are bytes: decoding keeps every byte that is no UTF-8 as a lone
// surrogate, and encoding gives the very bytes back.
TEST(FileNames, DecodeAndEncodeKeepEveryByte)
{
    using files::platform::decodeName;
    using files::platform::encodeName;
    using files::platform::hasUndecodedBytes;
    EXPECT_EQ(decodeName("bad\xff.olr"), QStringLiteral("bad") + QChar(0xDCFF) + QStringLiteral(".olr"));
    EXPECT_EQ(decodeName("caf\xc3\xa9 \xf0\x9f\xaa\x82"), QStringLiteral("café 🪂"));
    // Overlong forms and encoded surrogates are no text either.
    EXPECT_EQ(decodeName("\xc0\xaf"), QString(QChar(0xDCC0)) + QChar(0xDCAF));
    EXPECT_EQ(decodeName("\xed\xb3\xbf").size(), 3);
    EXPECT_TRUE(hasUndecodedBytes(decodeName("bad\xff")));
    EXPECT_FALSE(hasUndecodedBytes(QStringLiteral("café 🪂")));

    std::mt19937 random(18);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes(static_cast<qsizetype>(random() % 12), '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(random() % 4 == 0 ? 'a' : 0x80 + random() % 0x80);
        bytes.replace('\0', 'z');
        EXPECT_EQ(encodeName(decodeName(bytes)), bytes) << bytes.toHex().toStdString();
    }
}

// A child saves two designs in turn through the writer, over and over, and
// is killed at random moments: the file is always one of the two whole
// designs, its tail kept.
TEST(SaveLoop, KilledWhileSavingLeavesAWholeFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("loop.brr"));
    const QByteArray name = QFile::encodeName(file);
    const QByteArray tail(300 * 1024, 't');
    writeBytes(file, words({0}).repeated(40) + tail);
    QByteArray a, b;
    for (int k = 0; k < 20; ++k) {
        a += words({k % 7, 1});
        b += words({(k + 3) % 7, 2});
    }
    std::mt19937 random(7);
    for (int run = 0; run < 40; ++run) {
        int out[2];
        ASSERT_EQ(::pipe(out), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::dup2(out[1], 1) < 0)
                ::_exit(125);
            ::execl(SAVE_LOOP_PROGRAM, SAVE_LOOP_PROGRAM, name.constData(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        // The child says "saved" when its first save is done.
        pollfd said{out[0], POLLIN, 0};
        char buffer[16];
        const bool saved = ::poll(&said, 1, 5000) == 1 && ::read(out[0], buffer, sizeof buffer) > 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(saved ? random() % 40 : 0));
        ::kill(child, SIGKILL);
        int status = 0;
        const bool ended = ::waitpid(child, &status, 0) == child;
        ::close(out[0]);
        ASSERT_TRUE(saved) << "run " << run << ": the first save was not done";
        EXPECT_TRUE(ended && WIFSIGNALED(status)) << "the child stopped saving before the kill";
        const QByteArray now = fileBytes(file);
        EXPECT_TRUE(now == a + tail || now == b + tail) << "run " << run << ": " << now.size() << " bytes";
    }
}

} // namespace
