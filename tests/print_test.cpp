// The real main window's order sheet: File > Print, Print Preview and Export
// Order Sheet with scripted dialogs, and the sheet of the design as it stands
// in the window (after Open, with its order details, saved or not) against
// the window's own colour list. The sheet's painting itself is render_test's.
#include "app/mainwindow.h"
#include "app/print_dialogs.h"
#include "catalogue/catalogue.h"
#include "design/designer.h"
#include "design/history.h"
#include "files/design_file.h"
#include "render/order_sheet.h"
#include "support/pdf_text.h"
#include "support/sheet_rows.h"
#include "support/window_fixture.h"
#include "toolkit/dialogs.h"
#include "toolkit/listbox.h"
#include "toolkit/tabstrip.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <random>

namespace {

class PrintWindow : public WindowTest {
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

    // The window's colour list of model m, both of Brisa's.
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

    app::ScriptedPrintDialogService printing;
};

// The sheet the window prints after Open is the current page's design, its
// rows what the window's colour list says, under the file's name; the stored
// words alone, as a tool that reads the file has them, give the same sheet.
TEST_F(PrintWindow, TheSheetAfterOpenSaysWhatTheColourListSays)
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
        const QString text = pdfText(pdf);
        EXPECT_TRUE(text.contains(QStringLiteral("File: odd design") + cat::kModels[m].extension.data()));
        expectRowsLikeTheColourList(text, m, colourList(m));

        const QString raw = path(QStringLiteral("raw%1.pdf").arg(m));
        ASSERT_TRUE(render::writeOrderSheet(raw, {m, stored, sheet.fileName, date},
                                            m % 2 == 0 ? QPageSize::A4 : QPageSize::Letter));
        EXPECT_EQ(pdfText(raw), text);
    }
}

// Order details given through the history are a change the sheet shows as
// such; a saved design's sheet names the file alone; a design never saved is
// "Untitled".
TEST_F(PrintWindow, TheSheetCarriesTheOrderDetailsAndFlagsAsTheyStand)
{
    state::ModelDesign& brisa = window->state()[cat::kBrisa];
    c().tabs->setCurrentTab(cat::kBrisa);
    state::OrderDetails order;
    order.orderNumber = "A-2026-118";
    order.customer = {"Zoë Ørsted", "Hauptstraße 5\n80331 München", "+49 89 1234", "zoe@example.org"};
    order.notes = "Zip on the left.";
    ASSERT_TRUE(window->designer().history().applyOrderDetails(cat::kBrisa, order));
    EXPECT_TRUE(brisa.changed);

    render::OrderSheet sheet = window->currentOrderSheet();
    EXPECT_EQ(sheet.model, cat::kBrisa);
    EXPECT_EQ(sheet.design.order, order);
    sheet.fileName = QStringLiteral("team.brr");
    sheet.date = QDate(2026, 12, 10);
    const QString pdf = path(QStringLiteral("details.pdf"));
    ASSERT_TRUE(render::writeOrderSheet(pdf, sheet, QPageSize::A4));
    const QString text = pdfText(pdf);
    for (const char* words : {"A-2026-118", "Zoë Ørsted", "80331 München", "Zip on the left.", "not coloured",
                              "File: team.brr", "Unsaved changes", "Date: 2026-12-10"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(words))) << words << "\nin\n" << text.toStdString();

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

TEST_F(PrintWindow, FileMenuPrintsPreviewsAndExportsTheDesignAsItStands)
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
    expectRowsLikeTheColourList(pdfText(path(QStringLiteral("order.pdf"))), cat::kBrisa,
                                colourList(cat::kBrisa));
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
        expectRowsLikeTheColourList(pdfText(path(QString::fromLatin1(name))), cat::kBrisa,
                                    colourList(cat::kBrisa));
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

// Export under a design's extension would put a PDF where a design is
// looked for, or over one: it is refused with the failed-export message and
// the dialog comes again. Every failure is a sentence with its full stop.
TEST_F(PrintWindow, ExportRefusesDesignNamesAndAsksAgain)
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
