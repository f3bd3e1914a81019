// jumpsuit-order run as a dealer runs it: a process with no display and no
// environment at all. Its summaries, sheets and thumbnails are checked
// against the layers below the widgets: files::openDesign, order::rows and
// render::paintDesign give what the designer shows after Open (the window
// itself is compared in agreement_test).
#include "catalogue/catalogue.h"
#include "files/design_file.h"
#include "files/opened_design.h"
#include "files/record.h"
#include "order/summary.h"
#include "render/drawing.h"
#include "render/qtcolour.h"
#include "support/design_files.h"
#include "support/order_tool_run.h"
#include "support/pdf_text.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <span>

#include <csignal>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The tool run with arguments as raw bytes (names that are no text), no
// environment, and optionally a file-size limit with SIGXFSZ at its default:
// a size limit must not kill it. status is -1 when a signal ended it.
ToolRun runRaw(const std::vector<QByteArray>& args, rlim_t sizeLimit = RLIM_INFINITY)
{
    int out[2];
    int err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv{const_cast<char*>(ORDER_TOOL)};
        for (const QByteArray& arg : args)
            argv.push_back(const_cast<char*>(arg.constData()));
        argv.push_back(nullptr);
        char* noEnvironment[] = {nullptr};
        if (::dup2(out[1], 1) < 0 || ::dup2(err[1], 2) < 0)
            ::_exit(125);
        // The test itself ignores the signal; a program must not rely on that.
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{sizeLimit, sizeLimit};
        if (sizeLimit != RLIM_INFINITY && ::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(126);
        ::execve(ORDER_TOOL, argv.data(), noEnvironment);
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    // Small outputs only: both fit in a pipe's buffer while the tool runs.
    int status = 0;
    const bool ended = child > 0 && ::waitpid(child, &status, 0) == child;
    ToolRun run;
    run.status = ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    char buffer[65536];
    for (ssize_t n = 0; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        run.out.append(buffer, n);
    for (ssize_t n = 0; (n = ::read(err[0], buffer, sizeof buffer)) > 0;)
        run.err.append(buffer, n);
    ::close(out[0]);
    ::close(err[0]);
    return run;
}

// The names in a folder as bytes (QDir cannot list names that are no text),
// each removed.
std::vector<QByteArray> takeNames(const QByteArray& folder)
{
    std::vector<QByteArray> names;
    if (DIR* listing = ::opendir(folder.constData())) {
        while (const dirent* entry = ::readdir(listing)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(listing);
    }
    for (const QByteArray& name : names)
        ::unlink((folder + '/' + name).constData());
    return names;
}

// The tool writing into a named pipe, and what came through it.
QByteArray throughPipe(QStringList args, const QString& fifo, int& status)
{
    const QByteArray name = QFile::encodeName(fifo);
    if (mkfifo(name.constData(), 0600) != 0)
        return {};
    // Open without waiting for the writer, so a tool that never writes cannot hang the test.
    const int reader = ::open(name.constData(), O_RDONLY | O_NONBLOCK);
    QProcess process;
    process.setProcessEnvironment(QProcessEnvironment());
    process.start(QStringLiteral(ORDER_TOOL), args);
    QByteArray bytes;
    char buffer[65536];
    for (int wait = 0; wait < 6000; ++wait) {
        const bool finished = process.waitForFinished(10) || process.state() == QProcess::NotRunning;
        for (ssize_t n = 0; (n = ::read(reader, buffer, sizeof buffer)) > 0;)
            bytes.append(buffer, n);
        if (finished)
            break;
    }
    ::close(reader);
    status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return bytes;
}

class OrderTool : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

// The repaint Open's rebuild does for a slot, or null when it leaves the slot alone.
const state::SlotRepaint* repaintOf(const state::RebuildPlan& plan, int slot)
{
    const state::SlotRepaint* found = nullptr;
    for (int r = 0; r < plan.count; ++r)
        if (plan.repaints[static_cast<std::size_t>(r)].slot == slot)
            found = &plan.repaints[static_cast<std::size_t>(r)];
    return found;
}

// A file opened as the designer opens it; an unreadable one fails the test.
files::OpenedDesign opened(int m, const QString& file)
{
    files::OpenedDesign design;
    const files::FileResult result = files::openDesign(m, file, design);
    EXPECT_TRUE(result.ok) << result.reason.toStdString();
    return design;
}

TEST_F(OrderTool, JsonSummaryAndThumbnailsShowWhatTheDesignerShows)
{
    std::mt19937 random(20261209);
    const QStringList designs = writeRandomDesigns(QDir(dir.path()), random);
    QDir().mkdir(path("folder.olr"));
    writeBytes(path("short.brr"), QByteArray(79, '\0'));
    writeBytes(path("notes.txt"), QByteArray(40, '\0'));
    const QStringList bad = {path("missing.olr"), path("folder.olr"), path("short.brr"), path("notes.txt")};

    const ToolRun run =
        runTool(QStringList{QStringLiteral("summary"), QStringLiteral("--json")} << designs << bad);
    ASSERT_EQ(run.status, 1) << run.err.toStdString();
    QJsonParseError parseError;
    const QJsonArray summaries = QJsonDocument::fromJson(run.out, &parseError).array();
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << parseError.errorString().toStdString();
    ASSERT_EQ(summaries.size(), designs.size() + bad.size());

    // Each bad file: an error object in its place and one line on stderr naming it.
    const QStringList complaints = QString::fromUtf8(run.err).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(complaints.size(), bad.size()) << run.err.toStdString();
    for (qsizetype b = 0; b < bad.size(); ++b) {
        const QJsonObject error = summaries[designs.size() + b].toObject();
        EXPECT_EQ(error.value("file").toString(), bad[b]);
        EXPECT_FALSE(error.value("error").toString().isEmpty());
        EXPECT_FALSE(error.contains("areas"));
        EXPECT_TRUE(
            complaints[b].startsWith(QStringLiteral("jumpsuit-order: ") + bad[b] + QStringLiteral(": ")))
            << complaints[b].toStdString();
    }

    int coloured = 0;
    int uncoloured = 0;
    for (qsizetype d = 0; d < designs.size(); ++d) {
        const QJsonObject summary = summaries[d].toObject();
        const int m = summary.value("modelIndex").toInt(-1);
        SCOPED_TRACE(designs[d].toStdString());
        ASSERT_EQ(m, static_cast<int>(d / 3));
        EXPECT_EQ(summary.value("file").toString(), designs[d]);
        EXPECT_EQ(summary.value("model").toString(), cat::kModels[m].caption.data());

        const files::OpenedDesign afterOpen = opened(m, designs[d]);
        const state::ModelDesign& shown = afterOpen.design;
        const std::vector<order::OrderRow> rows = order::rows(m, shown);
        const QJsonArray areas = summary.value("areas").toArray();
        ASSERT_EQ(areas.size(), cat::slotCount(m));
        const int front = static_cast<int>(cat::kModels[m].areas.size());
        for (int k = 0; k < cat::slotCount(m); ++k) {
            SCOPED_TRACE(k);
            const auto s = static_cast<std::size_t>(k);
            const QJsonObject area = areas[k].toObject();
            const bool back = k >= front;
            EXPECT_EQ(area.value("slot").toInt(), k);
            EXPECT_EQ(area.value("area").toString(), QString::fromUtf8(rows[s].area));
            EXPECT_EQ(area.value("view").toString(), back ? "back" : "front");
            // The line is the colour list's, and the words are those Open stored.
            EXPECT_EQ(area.value("line").toString(), QString::fromStdString(rows[s].line()));
            EXPECT_EQ(area.value("colourIndex").toInt(), shown.areaColour[s]);
            if (k == cat::tapeSlot(m))
                EXPECT_TRUE(area.value("fabricIndex").isNull());
            else
                EXPECT_EQ(area.value("fabricIndex").toInt(), shown.areaFabric[s]);

            // The colour is the one Open's rebuild puts in the area's colour-key
            // slot; an area it leaves alone has none.
            const state::SlotRepaint* repaint = repaintOf(afterOpen.plan, k);
            if (area.value("colour").isNull()) {
                ++uncoloured;
                EXPECT_TRUE(area.value("rgb").isNull() && area.value("fabric").isNull() &&
                            area.value("code").isNull());
                EXPECT_EQ(area.value("line").toString(), "");
                EXPECT_EQ(repaint, nullptr);
                continue;
            }
            ++coloured;
            ASSERT_NE(repaint, nullptr);
            EXPECT_EQ(area.value("rgb").toString(), QColor(render::toQRgb(repaint->colour)).name());
            EXPECT_EQ(area.value("line").toString(),
                      area.value("colour").toString() + " (" + area.value("code").toString() + ")");
            const int fabric = k == cat::tapeSlot(m) ? static_cast<int>(cat::kTape) : shown.areaFabric[s];
            EXPECT_EQ(area.value("fabric").toString(), cat::kFabrics[fabric].name.data());
            EXPECT_EQ(area.value("colour").toString(),
                      cat::paletteColour(fabric, shown.areaColour[s])->name.data());
        }

        // The thumbnail at the drawing's own size is the designer's drawing after
        // Open, pixel for pixel.
        const QImage drawing = render::paintDesign(m, shown);
        const QString exact = path(QStringLiteral("exact%1.png").arg(d));
        const ToolRun thumbnail = runTool({QStringLiteral("thumbnail"), designs[d], exact,
                                           QString::number(std::max(drawing.width(), drawing.height()))});
        ASSERT_EQ(thumbnail.status, 0) << thumbnail.err.toStdString();
        EXPECT_TRUE(thumbnail.err.isEmpty() && thumbnail.out.isEmpty());
        EXPECT_TRUE(QImage(exact).convertToFormat(QImage::Format_RGB32) ==
                    drawing.convertToFormat(QImage::Format_RGB32));

        // Odd words make a sheet like any other: text a program can read.
        const QString pdf = path(QStringLiteral("sheet%1.pdf").arg(d));
        const ToolRun sheet = runTool({QStringLiteral("sheet"), designs[d], QStringLiteral("-o"), pdf});
        ASSERT_EQ(sheet.status, 0) << sheet.err.toStdString();
        EXPECT_TRUE(sheet.err.isEmpty() && sheet.out.isEmpty());
        const QString text = pdfText(pdf);
        EXPECT_TRUE(text.contains(cat::kModels[m].caption.data())) << text.toStdString();
        // Every area has its row: the name, then its colour, fabric and code as
        // the summary gives them, or "not coloured".
        for (const QJsonValue value : areas) {
            const QJsonObject area = value.toObject();
            QStringList cells = {area.value("area").toString()};
            if (area.value("colour").isNull())
                cells << QStringLiteral("not coloured");
            else
                cells << area.value("colour").toString() << area.value("fabric").toString()
                      << area.value("code").toString();
            for (QString& cell : cells)
                cell = QRegularExpression::escape(cell);
            const QRegularExpression row(QStringLiteral("^\\s*") + cells.join(QStringLiteral("\\s+")) +
                                             QStringLiteral("\\s*$"),
                                         QRegularExpression::MultilineOption);
            EXPECT_TRUE(row.match(text).hasMatch()) << cells.join(' ').toStdString() << "\n"
                                                    << text.toStdString();
        }
    }
    // The random words gave both kinds of area in good number.
    EXPECT_GT(coloured, 50);
    EXPECT_GT(uncoloured, 50);
}

TEST_F(OrderTool, DefaultThumbnailFitsAndKeepsThePaintedColours)
{
    // Every Brisa area in a colour of its own: each must still be seen in the
    // 256-pixel thumbnail, which is smaller than the drawing.
    QByteArray record;
    for (int k = 0; k < 20; ++k)
        record += words({k % 14, k < 10 ? cat::kPolycotton : cat::kAcrylic});
    writeBytes(path("all.brr"), record);
    ASSERT_EQ(runTool({QStringLiteral("thumbnail"), path("all.brr"), path("t.png")}).status, 0);
    const QImage thumbnail = QImage(path("t.png")).convertToFormat(QImage::Format_RGB32);
    const QImage drawing = render::paintDesign(cat::kBrisa, opened(cat::kBrisa, path("all.brr")).design);
    ASSERT_EQ(thumbnail.size(), drawing.size().scaled(256, 256, Qt::KeepAspectRatio));

    std::set<QRgb> inThumbnail;
    for (int y = 0; y < thumbnail.height(); ++y)
        for (int x = 0; x < thumbnail.width(); ++x)
            inThumbnail.insert(thumbnail.pixel(x, y) & 0xffffffU);
    for (int k = 0; k < 20; ++k) {
        const cat::AreaSeeds* seeds = cat::seedsOf(cat::kBrisa, k);
        for (const cat::SeedPoint& seed :
             seeds != nullptr ? seeds->seeds() : std::span<const cat::SeedPoint>{}) {
            const QRgb painted = drawing.pixel(seed.x, seed.y) & 0xffffffU;
            EXPECT_TRUE(inThumbnail.count(painted)) << k << " " << std::hex << painted;
        }
    }

    // Larger sizes enlarge by whole pixels first: the outlines stay pure black.
    ASSERT_EQ(runTool({QStringLiteral("thumbnail"), path("all.brr"), path("big.png"), QStringLiteral("640")})
                  .status,
              0);
    const QImage big = QImage(path("big.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(big.size(), drawing.size() * 2);
    int differ = 0;
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            differ += big.pixel(x, y) != drawing.pixel(x / 2, y / 2);
    EXPECT_EQ(differ, 0);
}

TEST_F(OrderTool, FailuresAreSaidAndChangeNothing)
{
    writeBytes(path("good.kfr"), words({4, 0}).repeated(7) + words({4}));
    writeBytes(path("short.olr"), QByteArray(21, '\0'));
    writeBytes(path("kept.png"), "an earlier picture");
    writeBytes(path("kept.pdf"), "an earlier sheet");
    QDir().mkdir(path("folder.kmr"));

    // A file that cannot be read: a message naming it, status 1, no output written.
    for (const QString& file :
         {path("missing.olr"), path("short.olr"), path("folder.kmr"), path("good.txt")}) {
        SCOPED_TRACE(file.toStdString());
        for (const QStringList& args :
             {QStringList{"thumbnail", file, path("new.png")},
              QStringList{"thumbnail", file, path("kept.png")},
              QStringList{"sheet", file, "-o", path("new.pdf")},
              QStringList{"sheet", file, "-o", path("kept.pdf")}, QStringList{"summary", file}}) {
            const ToolRun run = runTool(args);
            EXPECT_EQ(run.status, 1);
            EXPECT_TRUE(run.out.isEmpty());
            EXPECT_TRUE(run.err.startsWith(("jumpsuit-order: " + file + ": ").toUtf8()))
                << run.err.toStdString();
            EXPECT_EQ(run.err.count('\n'), 1);
        }
        if (file == path("short.olr")) {
            EXPECT_TRUE(
                runTool({"summary", file}).err.endsWith("less than the 22 bytes of an Orlensuit design\n"));
        }
        EXPECT_FALSE(QFile::exists(path("new.png")) || QFile::exists(path("new.pdf")));
        EXPECT_EQ(fileBytes(path("kept.png")), "an earlier picture");
        EXPECT_EQ(fileBytes(path("kept.pdf")), "an earlier sheet");
    }
    // An output that cannot be written names the output.
    const ToolRun unwritable = runTool({"thumbnail", path("good.kfr"), path("no/such/folder.png")});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.err.startsWith(("jumpsuit-order: " + path("no/such/folder.png")).toUtf8()));
    // An output that is a link replaces the file it points at, and the link
    // stays; one that is a pipe (or a device) is written into, never replaced.
    ASSERT_TRUE(QFile::link(path("real.png"), path("link.png")));
    for (const char* size : {"64", "32"}) {
        ASSERT_EQ(runTool({"thumbnail", path("good.kfr"), path("link.png"), size}).status, 0);
        EXPECT_TRUE(QFileInfo(path("link.png")).isSymLink());
        EXPECT_EQ(QImage(path("real.png")).height(), QByteArray(size).toInt());
    }
    int status = -1;
    EXPECT_TRUE(throughPipe({"thumbnail", path("good.kfr"), path("pipe.png")}, path("pipe.png"), status)
                    .startsWith("\x89PNG\r\n"));
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(throughPipe({"sheet", path("good.kfr"), "-o", path("pipe.pdf")}, path("pipe.pdf"), status)
                    .startsWith("%PDF"));
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(QFileInfo(path("pipe.png")).isFile() || QFileInfo(path("pipe.pdf")).isFile());

    // Output that does not reach stdout is a failure, not a success.
    const ToolRun full = runTool({"summary", "--json", path("good.kfr")}, QStringLiteral("/dev/full"));
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(full.err.contains("write error")) << full.err.toStdString();

    // Usage errors: status 2, nothing on stdout, nothing written.
    const QString good = path("good.kfr");
    for (const QStringList& args :
         {QStringList{}, QStringList{"frobnicate"}, QStringList{"summary"},
          QStringList{"summary", "--jsn", good}, QStringList{"sheet", good}, QStringList{"sheet", good, "-o"},
          QStringList{"sheet", good, "-o", path("s.txt")},
          QStringList{"sheet", good, good, "-o", path("s.pdf")},
          QStringList{"sheet", good, "-o", path("s.pdf"), "--paper", "a3"}, QStringList{"thumbnail", good},
          QStringList{"thumbnail", good, path("t.png"), "0"},
          QStringList{"thumbnail", good, path("t.png"), "4097"},
          QStringList{"thumbnail", good, path("t.png"), "12px"},
          QStringList{"thumbnail", good, path("t.png"), "64", "extra"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("jumpsuit-order: ") && run.err.contains("--help"));
    }
    EXPECT_FALSE(QFile::exists(path("s.pdf")) || QFile::exists(path("s.txt")) ||
                 QFile::exists(path("t.png")));

    // What works says nothing on stderr, with no environment at all.
    const ToolRun help = runTool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: jumpsuit-order summary"));
    EXPECT_EQ(runTool({"--version"}).out, "jumpsuit-order 1.2.0\n");
    const ToolRun text = runTool({"summary", "--", good});
    EXPECT_EQ(text.status, 0);
    EXPECT_TRUE(text.err.isEmpty());
    EXPECT_TRUE(text.out.startsWith((good + ": Kiro (Female)\n  Body Front: Navy Blue (C)\n").toUtf8()))
        << text.out.toStdString();
    EXPECT_TRUE(text.out.endsWith("  Binding Tape: Silver (T)\n"));
    for (const QString& out : {path("s.pdf"), path("s.png")}) {
        const ToolRun sheet = runTool({"sheet", good, "-o", out, "--paper", "Letter"});
        EXPECT_EQ(sheet.status, 0);
        EXPECT_TRUE(sheet.err.isEmpty()) << sheet.err.toStdString();
        EXPECT_TRUE(QFileInfo(out).size() > 0);
    }
    EXPECT_TRUE(fileBytes(path("s.pdf")).startsWith("%PDF"));
    EXPECT_TRUE(fileBytes(path("s.png")).startsWith("\x89PNG\r\n"));
}

TEST_F(OrderTool, OrderDetailsInTextJsonCsvAndSheet)
{
    state::ModelDesign design;
    state::clearAreas(design, 0);
    design.areaColour[1] = 8;
    design.areaFabric[1] = 1;
    design.order.orderNumber = "=2+3";
    design.order.orderDate = "2026-12-09";
    design.order.quantity = 2;
    design.order.customer = {"Smith, \"Jo\"", "1 Road\nTown", "", "jo@example.org"};
    design.order.units = state::Units::Metric;
    design.order.measurements[static_cast<std::size_t>(state::Measure::Chest)] = 101.5;
    design.order.notes = "Zip left";
    // A key of a later version, kept as stored.
    design.order.stored = R"({"giftWrap":true})";
    const QString withDetails = path(QStringLiteral("with details.olr"));
    ASSERT_TRUE(files::writeDesignRecord(0, design, withDetails));
    const QString plain = path(QStringLiteral("plain.kmr"));
    writeBytes(plain, words({cat::kNoColour}).repeated(files::recordWords(2)));

    const ToolRun text = runTool({QStringLiteral("summary"), withDetails, plain});
    EXPECT_EQ(text.status, 0) << text.err.toStdString();
    const QString out = QString::fromUtf8(text.out);
    for (const char* line :
         {"  Binding Tape:\n  Order details:\n    Order number: =2+3\n    Order date: 2026-12-09\n",
          "    Quantity: 2\n    Customer: Smith, \"Jo\"\n    Customer address: 1 Road\n      Town\n",
          "    Customer e-mail: jo@example.org\n", "    Chest: 101.5 cm\n", "    Notes: Zip left\n"})
        EXPECT_TRUE(out.contains(QString::fromUtf8(line))) << line << "\nin\n" << out.toStdString();
    EXPECT_EQ(out.count(QStringLiteral("Order details:")), 1); // the plain file has none

    const ToolRun json = runTool({QStringLiteral("summary"), QStringLiteral("--json"), withDetails, plain});
    EXPECT_EQ(json.status, 0);
    const QJsonArray files = QJsonDocument::fromJson(json.out).array();
    ASSERT_EQ(files.size(), 2) << json.out.toStdString();
    const QJsonObject order = files[0].toObject().value("order").toObject();
    EXPECT_EQ(order.value("orderNumber").toString(), "=2+3");
    EXPECT_EQ(order.value("customer").toObject().value("name").toString(), "Smith, \"Jo\"");
    EXPECT_EQ(order.value("measurements").toObject().value("chest").toDouble(), 101.5);
    EXPECT_EQ(order.value("units").toString(), "metric");
    EXPECT_TRUE(order.value("giftWrap").toBool());
    EXPECT_FALSE(order.contains("deliveryDate"));
    EXPECT_FALSE(files[1].toObject().contains("order"));

    const QString missing = path(QStringLiteral("missing.olr"));
    const ToolRun csv =
        runTool({QStringLiteral("summary"), QStringLiteral("--csv"), withDetails, missing, plain});
    EXPECT_EQ(csv.status, 1);
    EXPECT_TRUE(csv.err.contains("missing.olr"));
    const QList<QByteArray> lines = csv.out.split('\n');
    ASSERT_EQ(lines.size(), 1 + 6 + 8 + 1) << csv.out.toStdString();
    EXPECT_EQ(lines[0], "file,model,order number,customer name,area,view,colour,rgb,fabric,code\r");
    EXPECT_EQ(lines[1], withDetails.toUtf8() + ",Orlensuit,'=2+3,\"Smith, \"\"Jo\"\"\",Body,front,,,,\r");
    EXPECT_EQ(lines[2], withDetails.toUtf8() +
                            ",Orlensuit,'=2+3,\"Smith, \"\"Jo\"\"\",Legs,front,Royal Blue,#131884,"
                            "Polycotton,P\r");
    EXPECT_EQ(lines[7], plain.toUtf8() + ",Kiro (Male),,,Body Front,front,,,,\r");
    EXPECT_TRUE(lines.back().isEmpty());
    const ToolRun both =
        runTool({QStringLiteral("summary"), QStringLiteral("--csv"), QStringLiteral("--json"), plain});
    EXPECT_EQ(both.status, 2);

    const QString pdf = path(QStringLiteral("sheet.pdf"));
    const ToolRun sheet = runTool({QStringLiteral("sheet"), withDetails, QStringLiteral("-o"), pdf});
    ASSERT_EQ(sheet.status, 0) << sheet.err.toStdString();
    const QString sheetText = pdfText(pdf);
    for (const char* words : {"=2+3", "2026-12-09", "Smith, \"Jo\"", "1 Road", "jo@example.org",
                              "Size/measurements (cm, kg)", "101.5 cm", "Zip left", "File: with details.olr"})
        EXPECT_TRUE(sheetText.contains(QString::fromUtf8(words))) << words << "\nin\n"
                                                                  << sheetText.toStdString();
    EXPECT_FALSE(sheetText.contains(QStringLiteral("Unsaved changes")));
}

// An output that is the design it is made from (the same name, a link to
// it, a hard link) is refused before anything is written, naming both.
TEST_F(OrderTool, AnOutputNeverReplacesItsOwnDesign)
{
    const QByteArray design = words({4, 0}).repeated(5) + words({4});
    writeBytes(path("a.olr"), design);
    ASSERT_TRUE(QFile::link(path("a.olr"), path("s.pdf")));
    ASSERT_EQ(
        ::link(QFile::encodeName(path("a.olr")).constData(), QFile::encodeName(path("h.png")).constData()),
        0);
    for (const QStringList& args : {QStringList{"thumbnail", path("a.olr"), path("a.olr"), "64"},
                                    QStringList{"sheet", path("a.olr"), "-o", path("s.pdf")},
                                    QStringList{"thumbnail", path("a.olr"), path("h.png")},
                                    QStringList{"sheet", path("a.olr"), "-o", path("h.png")}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 1);
        const QString said = QString::fromUtf8(run.err);
        EXPECT_TRUE(said.startsWith("jumpsuit-order: " + args.back() + ": ") ||
                    said.startsWith("jumpsuit-order: " + args[2] + ": "))
            << run.err.toStdString();
        EXPECT_TRUE(said.contains(path("a.olr"))) << run.err.toStdString();
        EXPECT_EQ(fileBytes(path("a.olr")), design);
    }
    EXPECT_TRUE(QFileInfo(path("s.pdf")).isSymLink());
}

// A file-size limit (ulimit -f) fails the write, which is said: the tool is
// not killed by SIGXFSZ, and no output is left.
TEST_F(OrderTool, AFileSizeLimitIsSaidNotFatal)
{
    writeBytes(path("good.kfr"), words({4, 0}).repeated(7) + words({4}));
    const QByteArray good = QFile::encodeName(path("good.kfr"));
    for (const std::vector<QByteArray>& args :
         {std::vector<QByteArray>{"thumbnail", good, QFile::encodeName(path("t.png"))},
          std::vector<QByteArray>{"sheet", good, "-o", QFile::encodeName(path("s.pdf"))}}) {
        SCOPED_TRACE(args.front().toStdString());
        const ToolRun run = runRaw(args, 10);
        EXPECT_EQ(run.status, 1) << "-1: killed by a signal";
        EXPECT_TRUE(run.err.startsWith("jumpsuit-order: " + args.back() + ": ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("larger than the system allows")) << run.err.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"good.kfr"});
}

// Names are bytes: one that is no UTF-8 opens and is named losslessly (JSON:
// Python's surrogate escapes; text: as the shell quotes it). Output names of
// up to 255 bytes work, and nothing is left beside them.
TEST_F(OrderTool, NamesAreTakenByteForByte)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("names"));
    const QByteArray folder = QFile::encodeName(path("names"));
    const QByteArray bad = folder + "/bad\xff.olr";
    {
        const int fd = ::open(bad.constData(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        const QByteArray record = words({3, 1}) + words({99}).repeated(9);
        ASSERT_EQ(::write(fd, record.constData(), static_cast<size_t>(record.size())), record.size());
        ::close(fd);
    }
    const ToolRun json = runRaw({"summary", "--json", "--", bad});
    EXPECT_EQ(json.status, 0) << json.err.toStdString();
    EXPECT_TRUE(json.err.isEmpty());
    EXPECT_TRUE(json.out.contains("\"file\":\"" + folder + "/bad\\udcff.olr\"")) << json.out.toStdString();
    const QJsonArray summaries = QJsonDocument::fromJson(json.out).array();
    ASSERT_EQ(summaries.size(), 1);
    EXPECT_EQ(summaries[0].toObject().value("areas").toArray()[0].toObject().value("line").toString(),
              "Turquoise (P)");

    const ToolRun text = runRaw({"summary", bad});
    EXPECT_EQ(text.status, 0);
    EXPECT_TRUE(text.out.startsWith("$'" + folder + "/bad\\xff.olr': Orlensuit\n")) << text.out.toStdString();

    const ToolRun missing = runRaw({"summary", folder + "/gone\xfe.olr"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "jumpsuit-order: $'" + folder + "/gone\\xfe.olr': No such file or directory\n");

    for (int length = 249; length <= 255; ++length) {
        const QByteArray name = folder + '/' + QByteArray(length - 5, 't') + "\xff.png";
        const ToolRun run = runRaw({"thumbnail", bad, name, "32"});
        EXPECT_EQ(run.status, 0) << length << ": " << run.err.toStdString();
        struct stat st {};
        EXPECT_EQ(::stat(name.constData(), &st), 0) << length;
    }
    EXPECT_EQ(takeNames(folder).size(), 1U + 7U) << "a temporary file was left";
}

} // namespace
