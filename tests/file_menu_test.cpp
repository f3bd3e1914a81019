// The File menu's test: New, Open, Save and Save As driven through the real
// main window, with scripted questions and file dialogs; the files' bytes are
// read back. The files layer alone (records, the writer) is record_test's.
#include "app/mainwindow.h"
#include "app/program.h"
#include "catalogue/catalogue.h"
#include "commands/file_commands.h"
#include "files/platform.h"
#include "files/record.h"
#include "support/design_files.h"
#include "support/file_size_limit.h"
#include "support/window_fixture.h"
#include "toolkit/dialogs.h"
#include "toolkit/listbox.h"
#include "toolkit/palettesurface.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <random>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray kUncoloured = words({cat::kNoColour});

// What a user sees of one model's design, and what is stored for it.
struct Snapshot {
    state::ModelDesign stored;
    QImage drawing, key, backKey;
    QStringList lines;
};

class FileMenu : public WindowTest {
protected:
    state::ModelDesign& model(int m) { return window->state()[m]; }
    void showPage(int m) { c().tabs->setCurrentTab(m); }
    // The file name the window title shows.
    QString title() const { return window->windowTitle().section(u'[', 1).chopped(1); }

    // Colours an area as a user does: area, fabric, palette cell.
    void colour(int m, const QString& area, const QString& fabric, int cell, bool back = false)
    {
        if (m == cat::kBrisa)
            (back ? c().backView : c().frontView)->click();
        c().areaLists[static_cast<std::size_t>(back ? cat::kBrisaBack : m)]->selectByText(area);
        c().fabricLists[static_cast<std::size_t>(m)]->selectByText(fabric);
        clickCell(m, cell);
    }
    void clickCell(int m, int cell)
    {
        const cat::CellPos pos = cat::cellOf(cell);
        window->designer().applyPaletteCell(m, {pos.column, pos.row});
    }
    cat::Colour drawingAt(int m, int x, int y) const
    {
        return c().drawings[static_cast<std::size_t>(m)]->pixel(x, y);
    }

    Snapshot snapshot(int m)
    {
        const auto i = static_cast<std::size_t>(m);
        const auto& key = c().colourKeys;
        Snapshot s{model(m), c().drawings[i]->image(), key[i]->image(), key[cat::kBrisaBack]->image(), {}};
        for (const tk::ListBox* list : {c().colourLists[i], c().colourLists[cat::kBrisaBack]}) {
            for (int row = 0; row < list->entryCount(); ++row)
                s.lines << list->entry(row);
        }
        return s;
    }

    // A file dialog answered with a typed path.
    void saveAs(const QString& typed) { viaDialog("saveasMnu", typed); }
    void open(const QString& typed) { viaDialog("openMnu", typed); }
    void viaDialog(const char* name, const QString& typed)
    {
        dialogs.answers.push_back(typed);
        command(name);
    }
};

TEST_F(FileMenu, RecordsByteForByte)
{
    // New then Save ("Untitled" saves through Save As): eleven words of 99.
    command("newMnu");
    EXPECT_TRUE(messages.asked.empty());
    dialogs.answers.push_back(path("new.olr"));
    command("saveMnu");
    EXPECT_EQ(fileBytes(path("new.olr")), kUncoloured.repeated(11));

    command("newMnu");
    colour(0, "Body", "Polycotton", 3);
    saveAs(path("body.olr"));
    EXPECT_EQ(fileBytes(path("body.olr")), words({3, 1}) + kUncoloured.repeated(9));

    // Brisa: 80 bytes, the fabric of all 20 areas.
    showPage(6);
    command("newMnu");
    const char* fabricsOf[] = {"Acrylic", "CottonFelt", "Polycotton"};
    QByteArray expected;
    for (int k = 0; k < 20; ++k) {
        colour(6, cat::kBrisaAreas[k % 10].name.data(), fabricsOf[k % 3], k % 7, k >= 10);
        expected += words({k % 7, cat::fabricByName(fabricsOf[k % 3])});
    }
    saveAs(path("brisa.brr"));
    EXPECT_EQ(expected.size(), 80);
    EXPECT_EQ(fileBytes(path("brisa.brr")), expected);

    // Lumen's wings keep their own colours through a save and an open.
    showPage(7);
    colour(7, "Front of Wings", "Nylon", 7);     // Red
    colour(7, "Back of Wings", "Polycotton", 8); // Royal Blue
    saveAs(path("wings.lur"));
    command("newMnu");
    EXPECT_EQ(drawingAt(7, 70, 60), cat::kWhite);
    open(path("wings.lur"));
    EXPECT_EQ(drawingAt(7, 70, 60), cat::rgb(190, 8, 0));
    EXPECT_EQ(drawingAt(7, 240, 120), cat::rgb(19, 24, 132));
    EXPECT_EQ(model(7).areaFabric[5], cat::kNylon);
    EXPECT_EQ(model(7).areaFabric[6], cat::kPolycotton);
    EXPECT_EQ(window->windowTitle(), "Orlensuit Jumpsuit Designer [wings.lur]");
}

TEST_F(FileMenu, RandomFullDesignRoundTripsOnEveryModel)
{
    std::mt19937 random(20261208);
    for (int m = 0; m < cat::kModelCount; ++m) {
        SCOPED_TRACE(m);
        showPage(m);
        command("newMnu");
        for (int view = 0; view < (m == cat::kBrisa ? 2 : 1); ++view) {
            if (m == cat::kBrisa)
                (view == 1 ? c().backView : c().frontView)->click();
            tk::ListBox* areas = c().areaLists[static_cast<std::size_t>(view == 1 ? cat::kBrisaBack : m)];
            tk::ListBox* fabrics = c().fabricLists[static_cast<std::size_t>(m)];
            for (int a = 0; a < areas->entryCount(); ++a) {
                areas->selectByText(areas->entry(a));
                fabrics->selectByText(fabrics->entry(static_cast<int>(random() % fabrics->entryCount())));
                clickCell(m,
                          static_cast<int>(random() % cat::kFabrics[model(m).currentFabric].palette.size()));
            }
        }
        Snapshot before = snapshot(m);
        for (int k = 0; k < cat::slotCount(m); ++k)
            ASSERT_NE(before.stored.areaColour[static_cast<std::size_t>(k)], cat::kNoColour) << k;

        const QString file = path(QStringLiteral("design%1").arg(m));
        saveAs(file);
        const QString saved = file + cat::kModels[m].extension.data();
        ASSERT_EQ(fileBytes(saved).size(), files::recordBytes(m));
        command("newMnu");
        ASSERT_EQ(model(m).areaColour[0], cat::kNoColour);
        open(saved);

        const Snapshot after = snapshot(m);
        if (cat::hasTape(m)) // the tape's fabric is not stored
            before.stored.areaFabric[static_cast<std::size_t>(cat::tapeSlot(m))] =
                after.stored.areaFabric[static_cast<std::size_t>(cat::tapeSlot(m))];
        EXPECT_EQ(after.stored.areaColour, before.stored.areaColour);
        EXPECT_EQ(after.stored.areaFabric, before.stored.areaFabric);
        EXPECT_EQ(after.stored.areaColourName, before.stored.areaColourName);
        EXPECT_EQ(after.stored.areaFabricCode, before.stored.areaFabricCode);
        EXPECT_TRUE(after.drawing == before.drawing && after.key == before.key &&
                    after.backKey == before.backKey);
        EXPECT_EQ(after.lines, before.lines);
        EXPECT_TRUE(model(m).saved && !model(m).changed);
        // The first area is chosen again, with its fabric.
        EXPECT_EQ(c().areaLists[static_cast<std::size_t>(m)]->selectedIndex(), 0);
        EXPECT_EQ(
            cat::fabricByName(c().fabricLists[static_cast<std::size_t>(m)]->selectedText().toStdString()),
            model(m).areaFabric[0]);
    }
    EXPECT_TRUE(messages.asked.empty());
}

TEST_F(FileMenu, SavingOverLongerAndForeignFiles)
{
    // A longer file keeps its tail; words the open left as read go back unchanged.
    writeBytes(path("long.olr"), QByteArray(22, '\x01') + "the tail");
    open(path("long.olr"));
    colour(0, "Legs", "Acrylic", 2);
    command("saveMnu");
    EXPECT_EQ(fileBytes(path("long.olr")),
              QByteArray(4, '\x01') + words({2, 2}) + QByteArray(14, '\x01') + "the tail");

    // A Vantor file renamed .olr is read as Orlensuit's first eleven words.
    showPage(1);
    colour(1, "Body Front", "Nylon", 5);
    saveAs(path("vantor.vtr"));
    QFile::copy(path("vantor.vtr"), path("VANTOR.OLR"));
    showPage(0);
    messages.answers = {tk::kNo};
    open(path("VANTOR.OLR"));
    EXPECT_EQ(model(0).areaColour[0], 5);
    EXPECT_EQ(model(0).areaFabric[0], cat::kNylon); // kept, though Orlensuit offers no Nylon
    EXPECT_EQ(model(0).areaColourName[0], "");      // and not painted
    EXPECT_EQ(title(), "VANTOR.OLR");
}

TEST_F(FileMenu, QuestionsOfNewAndOpen)
{
    colour(0, "Body", "CottonFelt", 2);
    const auto body = model(0).areaColour;

    // Cancel, and Yes with a cancelled Save As: nothing changes, no Open dialog.
    for (const QString name : {"newMnu", "openMnu"}) {
        for (int answer : {tk::kCancel, tk::kYes}) {
            SCOPED_TRACE(testing::Message() << name.toStdString() << answer);
            messages.answers = {answer};
            dialogs.answers = {std::nullopt};
            const auto requests = dialogs.requests.size();
            command(name.toLatin1().constData());
            EXPECT_EQ(messages.asked.back().prompt,
                      "Do you want to save 'Untitled'" + QString(name == "openMnu" ? "." : ""));
            ASSERT_EQ(dialogs.requests.size(), requests + (answer == tk::kYes ? 1 : 0));
            if (answer == tk::kYes) {
                EXPECT_EQ(dialogs.requests.back().title, "Save As");
            }
            EXPECT_EQ(model(0).areaColour, body);
            EXPECT_TRUE(model(0).changed);
        }
    }
    EXPECT_EQ(messages.asked.back().style, tk::kYesNoCancelQuestion);
    EXPECT_EQ(title(), "Untitled");

    // Yes: saved, then cleared.
    messages.answers = {tk::kYes};
    dialogs.answers = {path("kept.olr")};
    command("newMnu");
    EXPECT_EQ(fileBytes(path("kept.olr")).left(4), words({2, 0}));
    EXPECT_EQ(model(0).areaColour[0], cat::kNoColour);

    // No: cleared without saving; Open with No goes on to its dialog.
    colour(0, "Body", "CottonFelt", 4);
    messages.answers = {tk::kNo};
    command("newMnu");
    EXPECT_EQ(model(0).areaColour[0], cat::kNoColour);
    colour(0, "Body", "CottonFelt", 4);
    messages.answers = {tk::kNo};
    open(path("kept.olr"));
    EXPECT_EQ(model(0).areaColour[0], 2);
    const tk::FileDialogRequest& request = dialogs.requests.back();
    EXPECT_EQ(request.title, "Open File");
    EXPECT_EQ(tk::qtFileFilter(request.filter), "OrlenSuit Files (*.olr)");
    EXPECT_EQ(request.defaultExtension, "olr");
    EXPECT_EQ(request.initialFolder, QFileInfo(path("kept.olr")).absolutePath());

    // A named design answers Yes with a plain Save, no dialog.
    colour(0, "Body", "CottonFelt", 6);
    messages.answers = {tk::kYes};
    const auto requests = dialogs.requests.size();
    command("newMnu");
    EXPECT_EQ(dialogs.requests.size(), requests);
    EXPECT_EQ(fileBytes(path("kept.olr")).left(4), words({6, 0}));
}

// Brisa's New shows, makes current and applies Polycotton whatever the page
// showed before, in either view; the view stays as the user left it.
TEST_F(FileMenu, BrisasNewStartsOnPolycottonInEitherView)
{
    showPage(cat::kBrisa);
    const auto paletteCell0 = [this] {
        const cat::CellPos pos = cat::cellOf(0);
        return c().palettes[cat::kBrisa]->pixel(cat::cellLeft(pos.column) + 7, cat::cellTop(pos.row) + 7);
    };
    for (const bool back : {false, true}) {
        SCOPED_TRACE(back ? "back view" : "front view");
        colour(cat::kBrisa, "Upper Body Left", "Acrylic", 3, false);
        colour(cat::kBrisa, "Upper Body Left", "Acrylic", 3, true);
        // Both lists left on other entries, the hidden one and the shown one.
        (back ? c().backView : c().frontView)->click();
        c().areaLists[back ? cat::kBrisa : cat::kBrisaBack]->selectByText("Legs Left");
        c().areaLists[back ? cat::kBrisaBack : cat::kBrisa]->selectByText("Upper Arm Left");

        messages.answers = {tk::kNo};
        command("newMnu");
        for (const int list : {cat::kBrisa, cat::kBrisaBack})
            EXPECT_EQ(c().areaLists[list]->selectedText().toStdString(), "Upper Body Left");
        EXPECT_EQ(c().fabricLists[cat::kBrisa]->selectedText().toStdString(), "Polycotton");
        EXPECT_EQ(c().fabricLabels[cat::kBrisa]->text().toStdString(), "Fabric - (Slow)");
        EXPECT_EQ(model(cat::kBrisa).currentFabric, cat::kPolycotton);
        EXPECT_EQ(paletteCell0(), cat::kFabrics[cat::kPolycotton].palette[0].value);
        EXPECT_EQ(c().backView->isChecked(), back);

        // The next click applies the colour shown in the cell, with its code.
        clickCell(cat::kBrisa, 0);
        const int list = back ? cat::kBrisaBack : cat::kBrisa;
        EXPECT_EQ(c().colourLists[list]->entry(0).toStdString(), "Purple (P)");
        EXPECT_EQ(c().colourKeys[list]->pixel(window->state().keyX[0], window->state().keyY[0]),
                  paletteCell0());
        EXPECT_EQ(model(cat::kBrisa).areaFabric[back ? cat::kBackOffset : 0], cat::kPolycotton);
    }
}

TEST_F(FileMenu, ExtensionsAndNames)
{
    // Open: another model's extension is refused, nothing changes.
    writeBytes(path("x.vtr"), QByteArray(34, '\0'));
    const std::string startFolder = window->state().dialogFolder;
    open(path("x.vtr"));
    ASSERT_EQ(messages.asked.size(), 1U);
    EXPECT_EQ(messages.asked[0].prompt, "Invalid extension selected.");
    EXPECT_EQ(messages.asked[0].style, tk::kOkExclamation);
    EXPECT_EQ(window->state().dialogFolder, startFolder);
    EXPECT_EQ(model(0).areaColour[0], cat::kNoColour);

    // Save As: refused, then the same proposal again; a bare name gets .olr.
    colour(0, "Arms", "Heavy Cotton", 1);
    dialogs.answers = {path("wrong.vtr"), path("name")};
    command("saveasMnu");
    ASSERT_EQ(dialogs.requests.size(), 3U);
    EXPECT_EQ(dialogs.requests[1].proposedName, "Untitled");
    EXPECT_EQ(dialogs.requests[2].proposedName, "Untitled");
    EXPECT_EQ(messages.asked.back().prompt, "Invalid extension selected.");
    EXPECT_FALSE(QFile::exists(path("wrong.vtr")));
    EXPECT_TRUE(QFile::exists(path("name.olr")));
    EXPECT_EQ(title(), "name.olr");
    EXPECT_EQ(window->state().dialogFolder, QFileInfo(path("x")).absolutePath().toStdString());

    // Letter case does not matter; the next Save As proposes the name.
    saveAs(path("UPPER.OLR"));
    EXPECT_EQ(dialogs.requests.back().proposedName, "name.olr");
    EXPECT_EQ(title(), "UPPER.OLR");
}

TEST_F(FileMenu, OddWordsAreKeptAndThePaletteStaysSafe)
{
    // Odd words: stored as read, painted nowhere, saved back unchanged, and
    // the palette works at once (99: the list keeps its fabric).
    for (int first : {99, 5, -7, 9, 32767}) {
        SCOPED_TRACE(first);
        const QByteArray odd = words({200, first, -1, 1, 3, 99, 7, 7, 7, 7, 14});
        writeBytes(path("odd.olr"), odd);
        messages.answers = {tk::kNo};
        open(path("odd.olr"));
        EXPECT_EQ(model(0).areaFabric[0], first);
        EXPECT_EQ(model(0).areaColour[1], -1);
        EXPECT_EQ(cat::fabricByName(c().fabricLists[0]->selectedText().toStdString()),
                  model(0).currentFabric);
        EXPECT_EQ(drawingAt(0, 74, 76), cat::kWhite);
        command("saveMnu");
        EXPECT_EQ(fileBytes(path("odd.olr")), odd);
        clickCell(0, 0);
        EXPECT_NE(drawingAt(0, 74, 76), cat::kWhite);
        EXPECT_TRUE(model(0).changed);
    }
}

TEST_F(FileMenu, EachModelKeepsItsOwnFile)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("one")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("two")));
    showPage(1);
    colour(1, "Sides", "CottonFelt", 3);
    saveAs(path("one/v.vtr"));
    command("newMnu");
    open(path("one/v.vtr"));
    showPage(0);
    colour(0, "Legs", "Polycotton", 5);
    saveAs(path("two/o.olr"));
    command("newMnu");
    open(path("two/o.olr"));
    const QByteArray olBytes = fileBytes(path("two/o.olr"));
    showPage(1);
    EXPECT_EQ(title(), "v.vtr");
    colour(1, "Back", "Spandex", 4);
    command("saveMnu");
    EXPECT_EQ(fileBytes(path("one/v.vtr")).mid(16, 4), words({4, cat::kSpandex}));
    EXPECT_FALSE(QFile::exists(path("two/v.vtr")));
    EXPECT_EQ(fileBytes(path("two/o.olr")), olBytes);
    EXPECT_EQ(dialogs.requests.back().initialFolder, QFileInfo(path("two/o.olr")).absolutePath());
}

TEST_F(FileMenu, StandardKeysAndTheClosingQuestion)
{
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    // The standard keys: Save, New, Open, Save As.
    colour(0, "Body", "CottonFelt", 2);
    dialogs.answers = {path("keys.olr")};
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(fileBytes(path("keys.olr")).left(4), words({2, 0}));
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(model(0).areaColour[0], cat::kNoColour);
    dialogs.answers = {path("keys.olr"), path("other.olr")};
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(model(0).areaColour[0], 2);
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(title(), "other.olr");

    // Changes in two models: the closing question is asked once.
    showPage(2);
    colour(2, "Back", "Spandex", 0);
    showPage(5);
    colour(5, "Arms", "CottonFelt", 0);
    messages.answers = {tk::kNo};
    EXPECT_FALSE(window->close());
    ASSERT_EQ(messages.asked.size(), 1U);
    EXPECT_EQ(messages.asked[0].prompt, "Do you wish to exit without saving suit(s). ");
    EXPECT_EQ(messages.asked[0].style, tk::kYesNoQuestion);
    EXPECT_EQ(messages.asked[0].defaultAnswer, tk::kNo); // Enter keeps the designs
    EXPECT_TRUE(window->isVisible());
}

// Undo and redo move the design's flags with the history: every step away
// from the clean state (start-up, Save, New, Open) is a change the closing
// question asks about; arriving back at it is not.
TEST_F(FileMenu, UndoAndRedoFollowTheSavedState)
{
    QAction* undo = window->findChild<QAction*>(QStringLiteral("undoMnu"));
    QAction* redo = window->findChild<QAction*>(QStringLiteral("redoMnu"));
    // Whether closing asks; answered No, so the window stays.
    const auto closingAsks = [this] {
        messages.answers = {tk::kNo};
        const auto asked = messages.asked.size();
        window->show();
        window->close();
        messages.answers.clear();
        return messages.asked.size() > asked;
    };
    const auto flags = [this] { return std::pair{model(0).saved, model(0).changed}; };
    using Flags = std::pair<bool, bool>;

    EXPECT_FALSE(closingAsks());
    colour(0, "Body", "CottonFelt", 2);
    EXPECT_TRUE(closingAsks());
    undo->trigger(); // back at start-up: nothing to save, nothing saved
    EXPECT_EQ(flags(), Flags(false, false));
    EXPECT_FALSE(closingAsks());
    redo->trigger();
    EXPECT_EQ(flags(), Flags(false, true));
    EXPECT_TRUE(closingAsks());

    saveAs(path("undo.olr"));
    EXPECT_FALSE(closingAsks());
    undo->trigger(); // before the saved design
    EXPECT_EQ(flags(), Flags(false, true));
    EXPECT_TRUE(closingAsks());
    redo->trigger(); // the saved design again
    EXPECT_EQ(flags(), Flags(true, false));
    EXPECT_FALSE(closingAsks());
    colour(0, "Legs", "CottonFelt", 3);
    EXPECT_TRUE(closingAsks());
    undo->trigger();
    EXPECT_FALSE(closingAsks());
    // A step taken from before the saved design can never lead back to it.
    undo->trigger();
    colour(0, "Arms", "CottonFelt", 4);
    EXPECT_FALSE(redo->isEnabled());
    undo->trigger();
    EXPECT_EQ(flags(), Flags(false, true));
    EXPECT_TRUE(closingAsks());
    // New asks its question, then starts a history of its own.
    messages.answers = {tk::kNo};
    command("newMnu");
    EXPECT_EQ(messages.asked.back().prompt, "Do you want to save 'undo.olr'");
    EXPECT_FALSE(undo->isEnabled() || redo->isEnabled());
    EXPECT_FALSE(closingAsks());

    // Open: the design read is the clean state, and the history starts there.
    open(path("undo.olr"));
    EXPECT_FALSE(undo->isEnabled());
    colour(0, "Body", "CottonFelt", 5);
    undo->trigger();
    EXPECT_EQ(flags(), Flags(true, false));
    EXPECT_EQ(model(0).areaColour[0], 2);
    // Neither Open's question nor New's is asked for the design as read.
    const auto asked = messages.asked.size();
    dialogs.answers = {std::nullopt};
    command("openMnu");
    command("newMnu");
    EXPECT_EQ(messages.asked.size(), asked);
    EXPECT_EQ(model(0).areaColour[0], cat::kNoColour);

    // Each model's flags follow its own history; the question counts them all.
    showPage(3);
    colour(3, "Back", "Spandex", 1);
    showPage(0);
    undo->trigger();
    EXPECT_TRUE(model(3).changed);
    EXPECT_TRUE(closingAsks());
    showPage(3);
    undo->trigger();
    EXPECT_FALSE(closingAsks());
    // A failed Save leaves the history's clean state where it was.
    colour(3, "Back", "Spandex", 2);
    saveAs(path("missing/kiro.kfr"));
    undo->trigger();
    EXPECT_FALSE(closingAsks());
    redo->trigger();
    EXPECT_TRUE(closingAsks());
}

TEST_F(FileMenu, FailedSavesAreSaidAndStopNewAndOpen)
{
    colour(0, "Body", "CottonFelt", 2);
    // One message naming the file, its folder and why, in a sentence.
    const auto said = [&] { return messages.asked.back().prompt; };
    saveAs(path("missing/x.olr"));
    ASSERT_EQ(messages.asked.size(), 1U);
    EXPECT_EQ(messages.asked[0].style, tk::kOkExclamation);
    EXPECT_EQ(said(), "Could not save 'x.olr' in " + path("missing") + ": the folder does not exist.");
    EXPECT_TRUE(model(0).changed && !model(0).saved);
    EXPECT_EQ(title(), "Untitled");

    // A pipe is refused at once (opening it would wait for a reader for ever).
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.olr")).constData(), 0600), 0);
    saveAs(path("pipe.olr"));
    EXPECT_EQ(said(), "Could not save 'pipe.olr' in " + dir.path() + ": it is a pipe, not a file.");
    EXPECT_EQ(title(), "Untitled");

    // A save that cannot be finished (here a file-size limit, as a full disk)
    // keeps the old file, and the design still counts as changed.
    saveAs(path("gone.olr"));
    colour(0, "Legs", "CottonFelt", 3);
    const QByteArray before = fileBytes(path("gone.olr"));
    {
        const FileSizeLimit guard(10);
        command("saveMnu");
        saveAs(path("new.olr"));
    }
    EXPECT_EQ(messages.asked[messages.asked.size() - 2].prompt,
              "Could not save 'gone.olr' in " + dir.path() +
                  ": the file would be larger than the system allows.");
    EXPECT_EQ(said(), "Could not save 'new.olr' in " + dir.path() +
                          ": the file would be larger than the system allows.");
    EXPECT_EQ(fileBytes(path("gone.olr")), before);
    EXPECT_FALSE(QFileInfo::exists(path("new.olr")));
    EXPECT_TRUE(model(0).changed && !model(0).saved);
    EXPECT_EQ(title(), "gone.olr");
    EXPECT_EQ(model(0).filePath, path("gone.olr").toStdString());

    // A named design whose file became a folder: Save fails, and the New or
    // Open that asked for it stops.
    ASSERT_TRUE(QFile::remove(path("gone.olr")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("gone.olr")));
    const auto requests = dialogs.requests.size();
    for (const char* name : {"newMnu", "openMnu"}) {
        messages.answers = {tk::kYes, tk::kOk};
        command(name);
        EXPECT_EQ(said(), "Could not save 'gone.olr' in " + dir.path() + ": it is a folder.") << name;
        EXPECT_TRUE(model(0).changed);
        EXPECT_EQ(model(0).areaColour[1], 3);
    }
    EXPECT_EQ(dialogs.requests.size(), requests);
    EXPECT_EQ(title(), "gone.olr");
}

// A file-size limit (ulimit -f) on the designer itself: Save and Export
// fail with the failed-save message and the design stays, where SIGXFSZ
// would end the process and every unsaved design with it. A child process
// with the signal at its default, prepared as main() prepares the designer.
TEST_F(FileMenu, AFileSizeLimitFailsTheSaveAndKeepsTheDesigner)
{
    colour(0, "Body", "CottonFelt", 2);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        app::prepareProcess();
        const rlimit limit{10, 10};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(3);
        saveAs(path("limited.olr"));
        dialogs.answers.push_back(path("limited.pdf"));
        command("exportMnu");
        const bool said =
            messages.asked.size() == 2 &&
            messages.asked[0].prompt == "Could not save 'limited.olr' in " + dir.path() +
                                            ": the file would be larger than the system allows." &&
            messages.asked[1].prompt == "Could not export the order sheet to '" + path("limited.pdf") +
                                            "': the file would be larger than the system allows.";
        ::_exit(said && model(0).changed && !QFileInfo::exists(path("limited.olr")) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

// A file named on the command line whose name is no text in the system's
// encoding is said as such, not as missing; the design stays.
TEST_F(FileMenu, ANameThatIsNoTextIsSaidAsSuch)
{
    const QString name = files::platform::decodeName(QFile::encodeName(dir.path()) + "/bad\xff.olr");
    EXPECT_FALSE(window->fileCommands().openNamedFile(name));
    ASSERT_EQ(messages.asked.size(), 1U);
    EXPECT_TRUE(messages.asked[0].prompt.endsWith(": the name is not valid in the system's encoding."))
        << messages.asked[0].prompt.toStdString();
    EXPECT_EQ(title(), "Untitled");
}

// A file that cannot be opened is said in one message, and the design on
// screen, its flags, the title and the dialog folder stay as they were.
TEST_F(FileMenu, FailedOpensAreSaidAndChangeNothing)
{
    colour(0, "Body", "CottonFelt", 2);
    saveAs(path("good.olr"));
    colour(0, "Legs", "Acrylic", 4);
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("bad/folder.olr")));
    writeBytes(path("bad/short.olr"), QByteArray(21, '\1')); // a byte short
    writeBytes(path("bad/empty.olr"), QByteArray());
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("bad/pipe.olr")).constData(), 0600), 0);
    const std::pair<const char*, const char*> cases[] = {
        {"folder.olr", "it is a folder"},
        {"short.olr", "the file is too short for a design of this suit (21 of 22 bytes)"},
        {"empty.olr", "the file is empty"},
        {"pipe.olr", "it is a pipe, not a file"},
        {"vanished.olr", "the file does not exist"},
    };
    const Snapshot before = snapshot(0);
    const std::string folder = window->state().dialogFolder;
    for (const auto& [name, reason] : cases) {
        SCOPED_TRACE(name);
        messages.asked.clear();
        messages.answers = {tk::kNo, tk::kOk};
        open(path("bad/") + name);
        ASSERT_EQ(messages.asked.size(), 2U); // the save question, then the failure
        EXPECT_EQ(messages.asked[1].prompt,
                  QString("Could not open '%1' in %2: %3.").arg(name, path("bad"), reason));
        EXPECT_EQ(messages.asked[1].style, tk::kOkExclamation);
        const Snapshot after = snapshot(0);
        EXPECT_EQ(after.stored.areaColour, before.stored.areaColour);
        EXPECT_EQ(after.stored.areaFabric, before.stored.areaFabric);
        EXPECT_EQ(after.stored.fileName, "good.olr");
        EXPECT_TRUE(after.stored.changed && !after.stored.saved);
        EXPECT_TRUE(after.drawing == before.drawing && after.key == before.key);
        EXPECT_EQ(after.lines, before.lines);
        EXPECT_EQ(title(), "good.olr");
        EXPECT_EQ(window->state().dialogFolder, folder);
    }
    EXPECT_EQ(fileBytes(path("good.olr")).size(), 22);
}

// Installed, the program's own folder is the system's: the first dialog
// starts in the user's documents folder instead, made when missing.
TEST(FirstDialogFolder, IsTheProgramsWhereWritableElseTheDocuments)
{
    QTemporaryDir home;
    EXPECT_EQ(app::firstDialogFolder(home.path()), home.path()); // a build run in place
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    const QString documents = QDir(home.path()).filePath(QStringLiteral("Documents"));
    EXPECT_EQ(app::firstDialogFolder(QStringLiteral("/usr/bin")), documents);
    // The start-up chooses the folder; only a dialog about to show it makes it.
    EXPECT_FALSE(QFileInfo::exists(documents));
    tk::prepareInitialFolder(home.path() + QStringLiteral("/elsewhere"));
    EXPECT_FALSE(QFileInfo::exists(home.path() + QStringLiteral("/elsewhere")));
    tk::prepareInitialFolder(documents);
    EXPECT_TRUE(QFileInfo(documents).isDir());
    ASSERT_TRUE(QDir(documents).removeRecursively());
    writeBytes(documents, "a file where the folder would go");
    EXPECT_EQ(app::firstDialogFolder(QStringLiteral("/usr/local/bin")), home.path());
    qputenv("HOME", savedHome);
    if (!savedConfig.isEmpty())
        qputenv("XDG_CONFIG_HOME", savedConfig);
}

} // namespace
