// The renderer below the widgets and the order sheet, checked against the real
// main window: the designer's drawing after Open, its colour list, and File >
// Print, Print Preview and Export Order Sheet with scripted dialogs. PDFs are
// read back with poppler's pdftotext, pdfinfo and pdfimages.
#include "app/mainwindow.h"
#include "app/print_dialogs.h"
#include "catalogue/catalogue.h"
#include "design/history.h"
#include "files/design_file.h"
#include "render/area_map.h"
#include "render/drawing.h"
#include "render/order_sheet.h"
#include "render/qtcolour.h"
#include "support/file_size_limit.h"
#include "support/window_fixture.h"
#include "toolkit/dialogs.h"
#include "toolkit/listbox.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"

#include <QAction>
#include <QDir>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <memory>
#include <random>

namespace {

QString poppler(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>")
            .arg(program, QString::fromLocal8Bit(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString& path)
{
    return poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
}

int pdfPages(const QString& path)
{
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption)
            .match(poppler(QStringLiteral("pdfinfo"), {path}));
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

// Pixels that differ, the alpha byte aside.
int differences(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            count += ((x.pixel(col, row) ^ y.pixel(col, row)) & 0xffffffU) != 0 ? 1 : 0;
    return count;
}

// Stored words for model m: mostly real colours of fabrics the model uses,
// some areas without colour, and with `odd` words no colour has: a colour
// beyond its palette, a negative one, a fabric the model does not use.
state::ModelDesign storedWords(int m, std::mt19937& random, bool odd)
{
    state::ModelDesign d;
    const auto fabrics = cat::kModels[m].rebuildFabrics;
    for (int s = 0; s < cat::slotCount(m); ++s) {
        const auto i = static_cast<std::size_t>(s);
        const int fabric = s == cat::tapeSlot(m) ? cat::kTape : fabrics[random() % fabrics.size()];
        const auto colours = static_cast<int>(cat::kFabrics[fabric].palette.size());
        d.areaFabric[i] = static_cast<std::int16_t>(fabric);
        d.areaColour[i] = static_cast<std::int16_t>(random() % colours);
        switch (random() % 9) {
        case 0: d.areaColour[i] = cat::kNoColour; break;
        case 1:
            if (odd)
                d.areaColour[i] = static_cast<std::int16_t>(colours + random() % 60);
            break;
        case 2:
            if (odd)
                d.areaColour[i] = static_cast<std::int16_t>(-1 - static_cast<int>(random() % 300));
            break;
        case 3:
            if (odd && s != cat::tapeSlot(m)) {
                constexpr std::int16_t kForeign[] = {cat::kTape, 8, -2, 99, 32767};
                d.areaFabric[i] = kForeign[random() % std::size(kForeign)];
            }
            break;
        default: break;
        }
    }
    return d;
}

// What the table of a sheet must say for one area, from the colour list's
// line: "Royal Blue (P)" reads Royal Blue, Polycotton, P; an empty line reads
// "not coloured".
QRegularExpression expectedRow(const QString& area, const QString& line)
{
    QString pattern = QStringLiteral("^\\s*") + QRegularExpression::escape(area) + QStringLiteral("\\s{2,}");
    const QRegularExpressionMatch parts = QRegularExpression(QStringLiteral("^(.+) \\((.?)\\)$")).match(line);
    if (line.isEmpty()) {
        pattern += QStringLiteral("not coloured\\s*$");
    } else if (parts.hasMatch()) {
        QString fabric;
        for (const cat::Fabric& f : cat::kFabrics)
            if (parts.captured(2) == QChar::fromLatin1(f.letter))
                fabric = QString::fromLatin1(f.name.data(), static_cast<qsizetype>(f.name.size()));
        pattern += QRegularExpression::escape(parts.captured(1)) + QStringLiteral("\\s{2,}") +
                   QRegularExpression::escape(fabric) + QStringLiteral("\\s{2,}") +
                   QRegularExpression::escape(parts.captured(2)) + QStringLiteral("\\s*$");
    } else {
        pattern = QStringLiteral("<a colour-list line the test cannot read: %1>").arg(line);
    }
    return QRegularExpression(pattern);
}

class Sheet : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        window->setPrintDialogService(&printing);
    }

    // Writes the stored words to a file of model m and opens it on its page.
    void openWords(int m, const state::ModelDesign& stored, const QString& name)
    {
        c().tabs->setCurrentTab(m);
        const QString file = path(name + QString::fromLatin1(cat::kModels[m].extension.data()));
        ASSERT_TRUE(files::writeDesignRecord(m, stored, file));
        messages.answers = {tk::kNo};
        dialogs.answers = {file};
        command("openMnu");
        ASSERT_EQ(window->state()[m].filePath, file.toStdString());
    }

    // The designer's colour list of model m, both of Brisa's.
    QStringList colourList(int m) const
    {
        QStringList lines;
        for (int i : {m, m == cat::kBrisa ? cat::kBrisaBack : -1}) {
            if (i < 0)
                continue;
            const tk::ListBox* list = c().colourLists[static_cast<std::size_t>(i)];
            for (int row = 0; row < list->entryCount(); ++row)
                lines << list->entry(row);
        }
        return lines;
    }

    // Checks that the sheet's text holds, in the order of the area list, one
    // row per area saying what the colour list says.
    void expectRowsLikeTheColourList(const QString& text, int m)
    {
        const QStringList lines = colourList(m);
        ASSERT_EQ(lines.size(), cat::slotCount(m));
        const QStringList textLines = text.split(QLatin1Char('\n'));
        const auto front = static_cast<int>(cat::kModels[m].areas.size());
        qsizetype at = 0;
        for (int s = 0; s < cat::slotCount(m); ++s) {
            if (m == cat::kBrisa && (s == 0 || s == front)) {
                const QString heading = s == 0 ? QStringLiteral("Front view") : QStringLiteral("Back view");
                while (at < textLines.size() && textLines[at].trimmed() != heading)
                    ++at;
                ASSERT_LT(at, textLines.size()) << heading.toStdString();
            }
            const auto i = static_cast<std::size_t>(s);
            const cat::AreaDefault& area =
                s < front ? cat::kModels[m].areas[i]
                          : cat::kModels[m].backAreas[i - static_cast<std::size_t>(front)];
            const QRegularExpression row = expectedRow(QString::fromLatin1(area.name.data()), lines[s]);
            while (at < textLines.size() && !row.match(textLines[at]).hasMatch())
                ++at;
            ASSERT_LT(at, textLines.size())
                << "slot " << s << ": no row like " << row.pattern().toStdString() << " in order in\n"
                << text.toStdString();
            ++at;
        }
    }

    app::ScriptedPrintDialogService printing;
};

TEST_F(Sheet, RendererPaintsTheDesignersDrawingAfterOpen)
{
    std::mt19937 random(20261209);
    for (int m = 0; m < cat::kModelCount; ++m) {
        for (int round = 0; round < 3; ++round) {
            SCOPED_TRACE(testing::Message() << "model " << m << " round " << round);
            const state::ModelDesign stored = storedWords(m, random, round == 2);
            openWords(m, stored, QStringLiteral("drawing"));
            const QImage expected = render::paintDesign(m, stored);
            ASSERT_EQ(expected.format(), QImage::Format_RGB32);
            EXPECT_GT(differences(expected, render::pristineDrawing(m)), 1000)
                << "the design painted nothing";
            EXPECT_EQ(differences(c().drawings[static_cast<std::size_t>(m)]->image(), expected), 0);
            if (m == cat::kBrisa) { // the back view shows the same drawing
                c().backView->click();
                EXPECT_EQ(differences(c().drawings[static_cast<std::size_t>(m)]->image(), expected), 0);
                c().frontView->click();
            }
        }
    }
    EXPECT_TRUE(render::paintDesign(cat::kModelCount, {}).isNull());
}

TEST_F(Sheet, PdfRowsSayWhatTheColourListSays)
{
    std::mt19937 random(14);
    const QDate date(2026, 12, 9);
    for (int m = 0; m < cat::kModelCount; ++m) {
        SCOPED_TRACE(m);
        const state::ModelDesign stored = storedWords(m, random, true);
        openWords(m, stored, QStringLiteral("odd design"));
        render::OrderSheet sheet = window->currentOrderSheet();
        EXPECT_EQ(sheet.model, m);
        sheet.date = date;
        const QString pdf = path(QStringLiteral("sheet%1.pdf").arg(m));
        ASSERT_TRUE(render::writeOrderSheet(pdf, sheet, m % 2 == 0 ? QPageSize::A4 : QPageSize::Letter));
        EXPECT_EQ(pdfPages(pdf), 1);
        const QString text = pdfText(pdf);
        for (const char* words :
             {"Orlensuit Jumpsuit Designer", "Date: 2026-12-09", "Customer", "Dealer", "Size/measurements",
              "Notes", "Orlensuits", "1200 Canopy Road, Hangar 4", "Drop Zone City, AZ 85000",
              "Tel. (555) 010-4477", "e-mail: sales@orlensuits.example"})
            EXPECT_TRUE(text.contains(QString::fromLatin1(words))) << words;
        EXPECT_TRUE(text.contains(QString::fromLatin1(cat::kModels[m].caption.data())));
        EXPECT_TRUE(text.contains(QStringLiteral("File: odd design") + cat::kModels[m].extension.data()));
        expectRowsLikeTheColourList(text, m);

        // The stored words alone, as a tool that reads the file has them,
        // give the same sheet.
        const QString raw = path(QStringLiteral("raw%1.pdf").arg(m));
        ASSERT_TRUE(render::writeOrderSheet(raw, {m, stored, sheet.fileName, date},
                                            m % 2 == 0 ? QPageSize::A4 : QPageSize::Letter));
        EXPECT_EQ(pdfText(raw), text);
    }

    // Letter where the locale measures in inches, A4 elsewhere.
    EXPECT_EQ(render::defaultPaper(QLocale(QLocale::English, QLocale::UnitedStates)), QPageSize::Letter);
    EXPECT_EQ(render::defaultPaper(QLocale(QLocale::English, QLocale::UnitedKingdom)), QPageSize::A4);

    // No model: nothing is written and nothing painted.
    for (int m : {-1, cat::kModelCount}) {
        const files::FileResult result =
            render::writeOrderSheet(path(QStringLiteral("none.pdf")), {m, {}, {}, date}, QPageSize::A4);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.reason.isEmpty());
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("none.pdf"))));
        QImage page(100, 100, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        render::paintOrderSheet(painter, QRectF(page.rect()), 72, {m, {}, {}, date});
        painter.end();
        EXPECT_EQ(page.pixel(50, 50), QColor(Qt::white).rgb());
    }
}

TEST_F(Sheet, DrawingsAreExactWholeNumberBlocks)
{
    std::mt19937 random(75);
    for (int m : {cat::kBrisa, 4 /* the widest drawing */}) {
        for (QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter}) {
            SCOPED_TRACE(testing::Message() << "model " << m << (paper == QPageSize::A4 ? " A4" : " Letter"));
            const state::ModelDesign stored = storedWords(m, random, false);
            const QImage painted = render::sheetDrawing(m, stored);
            const QString png = path(QStringLiteral("sheet.PNG"));
            ASSERT_TRUE(render::writeOrderSheet(png, {m, stored, QStringLiteral("x"), {}}, paper));
            QImage page(png, "PNG");
            ASSERT_EQ(page.size(), QPageSize(paper).sizePixels(render::kPngDpi));
            const render::SheetLayout layout = render::sheetLayout(QRectF(page.rect()), render::kPngDpi, m);
            ASSERT_GE(layout.scale, 2); // a suit maker needs it large
            ASSERT_EQ(layout.drawing.size(), painted.size() * layout.scale);
            ASSERT_TRUE(page.rect().contains(layout.drawing));
            int wrong = 0;
            for (int y = 0; y < layout.drawing.height(); ++y)
                for (int x = 0; x < layout.drawing.width(); ++x)
                    wrong += (page.pixel(layout.drawing.left() + x, layout.drawing.top() + y) & 0xffffffU) !=
                                     (painted.pixel(x / layout.scale, y / layout.scale) & 0xffffffU)
                                 ? 1
                                 : 0;
            EXPECT_EQ(wrong, 0);

            // The PDF embeds the drawing losslessly, enlarged by a whole number.
            const QString pdf = path(QStringLiteral("sheet.pdf"));
            ASSERT_TRUE(render::writeOrderSheet(pdf, {m, stored, QStringLiteral("x"), {}}, paper));
            const QStringList images =
                poppler(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'));
            ASSERT_GE(images.size(), 3) << images.join(QLatin1Char('\n')).toStdString();
            const QStringList columns = images[2].simplified().split(QLatin1Char(' '));
            ASSERT_GE(columns.size(), 10);
            EXPECT_EQ(columns[2], QStringLiteral("image"));
            EXPECT_EQ(columns[3].toInt() % painted.width(), 0);
            EXPECT_EQ(columns[3].toInt() / painted.width(), columns[4].toInt() / painted.height());
            EXPECT_EQ(columns[8], QStringLiteral("image")) << "not lossless"; // not jpeg
            EXPECT_EQ(columns[9], QStringLiteral("no")) << "interpolated";
        }
    }
}

TEST_F(Sheet, FailedWritesAreReportedAndLeaveTheOldFile)
{
    const render::OrderSheet sheet{cat::kBrisa, {}, QStringLiteral("x.brr"), {}};
    const QString file = path(QStringLiteral("old.pdf"));
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("the old sheet") == 13);
    }
    // A pipe named like a sheet is refused, not replaced (nor waited on).
    const QString pipe = path(QStringLiteral("pipe.pdf"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& bad : {path(QStringLiteral("missing/x.pdf")), dir.path(), pipe}) {
        const files::FileResult result = render::writeOrderSheet(bad, sheet, QPageSize::A4);
        EXPECT_FALSE(result.ok) << bad.toStdString();
        EXPECT_FALSE(result.reason.isEmpty());
    }
    EXPECT_TRUE(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
    ASSERT_TRUE(QFile::remove(pipe));

    // A disk that fills up on the way: the writes or the last flush fail.
    for (rlim_t limit : {rlim_t{0}, rlim_t{4096}, rlim_t{20000}}) {
        files::FileResult pdf, png;
        {
            const FileSizeLimit small(limit);
            ASSERT_TRUE(small.set());
            pdf = render::writeOrderSheet(file, sheet, QPageSize::A4);
            png = render::writeOrderSheet(path(QStringLiteral("old.png")), sheet, QPageSize::A4);
        }
        EXPECT_FALSE(pdf.ok) << limit;
        EXPECT_FALSE(png.ok) << limit;
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), "the old sheet");
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("old.png"))));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.pdf")})
        << "a temporary file was left";
}

TEST_F(Sheet, FileMenuPrintsPreviewsAndExportsTheDesignAsItStands)
{
    // The new commands sit between Save As and Exit; the others keep their places.
    QStringList captions;
    for (const QAction* action : window->findChild<QMenu*>(QStringLiteral("fileMnu"))->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(captions.join(QLatin1Char('|')),
              QStringLiteral("&New|&Open...|Open Recent|-|&Save|Save &as...|-|&Print...|Print Pre&view...|"
                             "&Export Order Sheet...|-|E&xit"));
    EXPECT_EQ(window->findChild<QAction*>(QStringLiteral("printMnu"))->shortcut(),
              QKeySequence(QKeySequence::Print));

    // An unsaved Brisa design with a front and a back area coloured.
    c().tabs->setCurrentTab(cat::kBrisa);
    c().areaLists[cat::kBrisa]->selectByText(QStringLiteral("Legs Left"));
    c().fabricLists[cat::kBrisa]->selectByText(QStringLiteral("Polycotton"));
    window->designer().applyPaletteCell(cat::kBrisa, {0, 0}); // Purple
    c().backView->click();
    c().areaLists[cat::kBrisaBack]->selectByText(QStringLiteral("Mid Body Right"));
    c().fabricLists[cat::kBrisa]->selectByText(QStringLiteral("Acrylic"));
    window->designer().applyPaletteCell(cat::kBrisa, {1, 0}); // Red
    ASSERT_TRUE(window->state()[cat::kBrisa].changed);
    const std::string folder = window->state().dialogFolder;

    // Export: a bare name is a PDF; ".PNG" a picture; a cancel writes nothing.
    dialogs.answers = {path(QStringLiteral("order")), path(QStringLiteral("order.PNG")), std::nullopt};
    for (int n = 0; n < 3; ++n)
        command("exportMnu");
    ASSERT_EQ(dialogs.requests.size(), 3U);
    EXPECT_EQ(dialogs.requests[0].title, QStringLiteral("Export Order Sheet"));
    EXPECT_EQ(dialogs.requests[0].proposedName, QStringLiteral("Untitled.pdf"));
    EXPECT_EQ(dialogs.requests[0].initialFolder.toStdString(), folder);
    EXPECT_EQ(pdfPages(path(QStringLiteral("order.pdf"))), 1);
    EXPECT_FALSE(QImage(path(QStringLiteral("order.PNG")), "PNG").isNull());
    expectRowsLikeTheColourList(pdfText(path(QStringLiteral("order.pdf"))), cat::kBrisa);
    EXPECT_TRUE(pdfText(path(QStringLiteral("order.pdf"))).contains(QStringLiteral("File: Untitled")));

    // Print and Print Preview paint the same rows on the printer's page.
    printing.answers = {path(QStringLiteral("printed.pdf")), QString()};
    printing.previewFile = path(QStringLiteral("preview.pdf"));
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keySequence(window.get(), QKeySequence::Print);
    command("printMnu");
    command("previewMnu");
    EXPECT_EQ(printing.dialogs, 2);
    for (const char* name : {"printed.pdf", "preview.pdf"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(pdfPages(path(QString::fromLatin1(name))), 1);
        expectRowsLikeTheColourList(pdfText(path(QString::fromLatin1(name))), cat::kBrisa);
    }
    EXPECT_TRUE(messages.asked.empty());

    // A failed export or print is said; nothing of the design moves.
    dialogs.answers = {path(QStringLiteral("missing/order.pdf"))};
    command("exportMnu");
    printing.answers = {path(QStringLiteral("missing/printed.pdf"))};
    command("printMnu");
    ASSERT_EQ(messages.asked.size(), 2U);
    EXPECT_TRUE(
        messages.asked[0].prompt.startsWith(QStringLiteral("Could not export the order sheet to '%1': ")
                                                .arg(path(QStringLiteral("missing/order.pdf")))));
    EXPECT_EQ(messages.asked[1].prompt, QStringLiteral("Could not print the order sheet."));
    EXPECT_TRUE(messages.asked[0].style == tk::kOkExclamation &&
                messages.asked[1].style == tk::kOkExclamation);
    EXPECT_TRUE(window->state()[cat::kBrisa].changed);
    EXPECT_EQ(window->state()[cat::kBrisa].fileName, "Untitled");
    EXPECT_EQ(window->state().dialogFolder, folder);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name).join(QLatin1Char(' ')),
              QStringLiteral("order.PNG order.pdf preview.pdf printed.pdf"));
}

TEST_F(Sheet, DrawingsPrintOnWhitePaperWithUncolouredAreasHatched)
{
    std::mt19937 random(31);
    const QRgb white = render::toQRgb(cat::kWhite) & 0xffffffU;
    const QRgb grey = render::toQRgb(cat::kLightGrey) & 0xffffffU;
    for (int m = 0; m < cat::kModelCount; ++m) {
        SCOPED_TRACE(m);
        state::ModelDesign stored = storedWords(m, random, false);
        stored.areaColour[0] = cat::kNoColour; // at least one area without colour
        const QImage designer = render::paintDesign(m, stored);
        const QImage sheet = render::sheetDrawing(m, stored);
        ASSERT_EQ(sheet.size(), designer.size());
        const render::AreaMap map = render::areaMap(m);
        const state::RebuildPlan plan = state::planRebuild(m, stored);
        std::vector<bool> coloured(static_cast<std::size_t>(cat::slotCount(m)), false);
        for (int r = 0; r < plan.count; ++r)
            coloured[static_cast<std::size_t>(plan.repaints[static_cast<std::size_t>(r)].slot)] = true;

        int background = 0;
        int hatched = 0;
        int hatchedColoured = 0;
        int other = 0;
        for (int y = 0; y < sheet.height(); ++y) {
            for (int x = 0; x < sheet.width(); ++x) {
                const QRgb was = designer.pixel(x, y) & 0xffffffU;
                const QRgb now = sheet.pixel(x, y) & 0xffffffU;
                if (was == now)
                    continue;
                const int owner = map.ownerAt(x, y);
                if (was == grey && now == white && owner < 0)
                    ++background;
                else if (was == white && owner >= 0 && !coloured[static_cast<std::size_t>(owner)])
                    ++hatched;
                else if (owner >= 0)
                    ++hatchedColoured;
                else
                    ++other;
            }
        }
        EXPECT_EQ(sheet.pixel(0, 0) & 0xffffffU, white);
        EXPECT_GT(background, sheet.width() * sheet.height() / 10);
        EXPECT_GT(hatched, 20);
        EXPECT_EQ(hatchedColoured, 0);
        EXPECT_EQ(other, 0);
        // Every area without colour shows its hatching.
        for (int slot = 0; slot < cat::slotCount(m); ++slot) {
            if (coloured[static_cast<std::size_t>(slot)] || map.regionsOf(slot).empty())
                continue;
            int marks = 0;
            for (const std::uint8_t region : map.regionsOf(slot))
                for (const render::AreaMap::Run& run : map.runsOf(region))
                    for (int x = run.x; x < run.x + run.length; ++x)
                        marks +=
                            (sheet.pixel(x, run.y) & 0xffffffU) != (designer.pixel(x, run.y) & 0xffffffU);
            EXPECT_GT(marks, 0) << "slot " << slot;
        }
    }
}

TEST_F(Sheet, OrderDetailsFillTheSheetAndEmptyFieldsKeepTheirLines)
{
    state::ModelDesign& brisa = window->state()[cat::kBrisa];
    c().tabs->setCurrentTab(cat::kBrisa);
    state::OrderDetails order;
    order.orderNumber = "A-2026-118";
    order.orderDate = "2026-12-09";
    order.deliveryDate = "2027-02-28";
    order.quantity = 2;
    order.customer = {"Zoë Ørsted", "Hauptstraße 5\n80331 München", "+49 89 1234", "zoe@example.org"};
    order.units = state::Units::Imperial;
    order.measurements[static_cast<std::size_t>(state::Measure::Chest)] = 40.5;
    order.measurements[static_cast<std::size_t>(state::Measure::Height)] = 71;
    order.size = "ML";
    order.notes = std::string("Zip on the left. ") + std::string(60, 'x') + " end of the notes";
    ASSERT_TRUE(window->designer().history().applyOrderDetails(cat::kBrisa, order));
    EXPECT_TRUE(brisa.changed);

    for (const QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter}) {
        render::OrderSheet sheet = window->currentOrderSheet();
        sheet.fileName = QStringLiteral("team.brr");
        sheet.date = QDate(2026, 12, 10);
        const QString pdf = path(QStringLiteral("details.pdf"));
        ASSERT_TRUE(render::writeOrderSheet(pdf, sheet, paper));
        EXPECT_EQ(pdfPages(pdf), 1);
        const QString text = pdfText(pdf);
        for (const char* words : {"Order no.",
                                  "A-2026-118",
                                  "Quantity",
                                  "Ordered",
                                  "2026-12-09",
                                  "Delivery",
                                  "2027-02-28",
                                  "Zoë Ørsted",
                                  "Hauptstraße 5",
                                  "80331 München",
                                  "zoe@example.org",
                                  "Size/measurements (in, lb)",
                                  "ML",
                                  "40.5 in",
                                  "71 in",
                                  "Zip on the left.",
                                  "end of the notes",
                                  "not coloured",
                                  "File: team.brr",
                                  "Unsaved changes",
                                  "Date: 2026-12-10"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(words))) << words << "\nin\n" << text.toStdString();
        // The dealer was not given: its heading keeps lines to write on.
        EXPECT_TRUE(text.contains(QStringLiteral("Dealer")));
    }

    // Saved, the sheet names the file alone; never saved, it is "Untitled".
    brisa.saved = true;
    brisa.changed = false;
    render::OrderSheet saved = window->currentOrderSheet();
    saved.fileName = QStringLiteral("team.brr");
    ASSERT_TRUE(render::writeOrderSheet(path(QStringLiteral("saved.pdf")), saved, QPageSize::A4));
    EXPECT_FALSE(pdfText(path(QStringLiteral("saved.pdf"))).contains(QStringLiteral("Unsaved")));
    brisa.saved = false;
    brisa.changed = true;
    ASSERT_TRUE(
        render::writeOrderSheet(path(QStringLiteral("new.pdf")), window->currentOrderSheet(), QPageSize::A4));
    const QString untitled = pdfText(path(QStringLiteral("new.pdf")));
    EXPECT_TRUE(untitled.contains(QStringLiteral("File: Untitled")));
    EXPECT_FALSE(untitled.contains(QStringLiteral("Unsaved")));
}

// Export under a design's extension would put a PDF where a design is
// looked for, or over one: it is refused with the failed-export message and
// the dialog comes again. Every failure is a sentence with its full stop.
TEST_F(Sheet, ExportRefusesDesignNamesAndAsksAgain)
{
    const QByteArray design = QByteArray(22, 'd');
    {
        QFile file(path(QStringLiteral("x.olr")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(design) == design.size());
    }
    dialogs.answers = {path(QStringLiteral("x.olr")), path(QStringLiteral("y.LUR")),
                       path(QStringLiteral("fine.pdf"))};
    command("exportMnu");
    ASSERT_EQ(dialogs.requests.size(), 3U);
    ASSERT_EQ(messages.asked.size(), 2U);
    for (int n = 0; n < 2; ++n) {
        const QString name = path(QString::fromLatin1(n == 0 ? "x.olr" : "y.LUR"));
        EXPECT_EQ(messages.asked[static_cast<std::size_t>(n)].prompt,
                  QStringLiteral("Could not export the order sheet to '%1': its extension is that of a "
                                 "design file.")
                      .arg(name));
        EXPECT_EQ(messages.asked[static_cast<std::size_t>(n)].style, tk::kOkExclamation);
    }
    EXPECT_EQ(dialogs.requests[2].proposedName, QStringLiteral("y.pdf"));
    QFile kept(path(QStringLiteral("x.olr")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), design);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("y.LUR"))));
    EXPECT_EQ(pdfPages(path(QStringLiteral("fine.pdf"))), 1);

    dialogs.answers = {path(QStringLiteral("missing/order.pdf"))};
    command("exportMnu");
    ASSERT_EQ(messages.asked.size(), 3U);
    EXPECT_EQ(messages.asked[2].prompt, QStringLiteral("Could not export the order sheet to '%1': the folder "
                                                       "does not exist.")
                                            .arg(path(QStringLiteral("missing/order.pdf"))));
}

} // namespace
