// The renderer below the widgets and the order sheet, on designs made in
// plain code: the sheet's rows against the colour list's lines, its drawings
// as exact enlargements on white paper, the order details on it, and writes
// that fail. PDFs are read back with poppler's pdftotext, pdfinfo and
// pdfimages. The window's own printing is print_test's.
#include "catalogue/catalogue.h"
#include "files/design_file.h"
#include "files/opened_design.h"
#include "order/summary.h"
#include "render/area_map.h"
#include "render/drawing.h"
#include "render/order_sheet.h"
#include "render/qtcolour.h"
#include "state/rebuild_plan.h"
#include "support/file_size_limit.h"
#include "support/pdf_text.h"
#include "support/sheet_rows.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <random>

namespace {

class Sheet : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

// The colour list's lines of a design: one per slot, Brisa's back list after
// its front list.
QStringList colourListOf(int m, const state::ModelDesign& design)
{
    QStringList lines;
    for (const order::OrderRow& row : order::rows(m, design))
        lines << QString::fromStdString(row.line());
    return lines;
}

TEST_F(Sheet, PdfRowsSayWhatTheColourListSays)
{
    std::mt19937 random(14);
    const QDate date(2026, 12, 9);
    for (int m = 0; m < cat::kModelCount; ++m) {
        SCOPED_TRACE(m);
        const state::ModelDesign stored = storedWords(m, random, true);
        // The design as the designer has it after opening a file of these words.
        const QString file = path(QStringLiteral("odd design") + cat::kModels[m].extension.data());
        ASSERT_TRUE(files::writeDesignRecord(m, stored, file));
        files::OpenedDesign opened;
        ASSERT_TRUE(files::openDesign(m, file, opened));
        const render::OrderSheet sheet{m, opened.design, QString::fromStdString(opened.design.fileName),
                                       date};
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
        expectRowsLikeTheColourList(text, m, colourListOf(m, opened.design));

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
        EXPECT_TRUE(render::paintDesign(m, {}).isNull());
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
    // Brisa as start-up leaves it, then its order details given: a change.
    state::DesignState start;
    state::resetToStartValues(start);
    state::ModelDesign brisa = start[cat::kBrisa];
    state::setDefaultLetters(brisa, cat::kBrisa);
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
    brisa.order = order;
    brisa.changed = true;

    for (const QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter}) {
        const render::OrderSheet sheet{cat::kBrisa, brisa, QStringLiteral("team.brr"), QDate(2026, 12, 10)};
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
    ASSERT_TRUE(render::writeOrderSheet(path(QStringLiteral("saved.pdf")),
                                        {cat::kBrisa, brisa, QStringLiteral("team.brr"), {}}, QPageSize::A4));
    EXPECT_FALSE(pdfText(path(QStringLiteral("saved.pdf"))).contains(QStringLiteral("Unsaved")));
    brisa.saved = false;
    brisa.changed = true;
    ASSERT_TRUE(render::writeOrderSheet(path(QStringLiteral("new.pdf")),
                                        {cat::kBrisa, brisa, QString::fromStdString(brisa.fileName), {}},
                                        QPageSize::A4));
    const QString untitled = pdfText(path(QStringLiteral("new.pdf")));
    EXPECT_TRUE(untitled.contains(QStringLiteral("File: Untitled")));
    EXPECT_FALSE(untitled.contains(QStringLiteral("Unsaved")));
}

} // namespace
