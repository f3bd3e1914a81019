// What users expect of a desktop document program: recent files, dropped
// files, remembered settings, one designer at a time, Copy Picture, the
// guide and the usual keys.
#include "app/mainwindow.h"
#include "app/preferences.h"
#include "app/recent_files.h"
#include "app/single_instance.h"
#include "app/user_guide.h"
#include "catalogue/catalogue.h"
#include "commands/file_commands.h"
#include "support/window_fixture.h"
#include "toolkit/listbox.h"
#include "toolkit/picturesurface.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLocalServer>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

#include <future>
#include <thread>

namespace {

TEST(RecentList, NewestFirstOnceAndAtMostTen)
{
    QStringList list;
    for (int i = 0; i < 12; ++i)
        list = app::withRecentFile(list, QStringLiteral("/designs/%1.olr").arg(i));
    ASSERT_EQ(list.size(), app::kRecentFileCount);
    EXPECT_EQ(list.front(), "/designs/11.olr");
    EXPECT_EQ(list.back(), "/designs/2.olr");
    // Saving an older one again brings it to the front, once.
    list = app::withRecentFile(list, QStringLiteral("/designs/../designs/5.olr"));
    EXPECT_EQ(list.size(), app::kRecentFileCount);
    EXPECT_EQ(list.front(), "/designs/5.olr");
    EXPECT_EQ(list.count(QStringLiteral("/designs/5.olr")), 1);
    EXPECT_EQ(app::withoutRecentFile(list, QStringLiteral("/designs/5.olr")).size(), 9);

    EXPECT_EQ(app::recentFileCaption(1, QStringLiteral("/d/a&b.BRR")), "&1 a&&b.BRR (Brisa)");
    EXPECT_EQ(app::recentFileCaption(10, QStringLiteral("/d/x.lur")), "1&0 x.lur (Lumen)");
    EXPECT_EQ(app::recentFileCaption(2, QStringLiteral("/d/notes.txt")), "&2 notes.txt");
}

TEST(Remembered, ValuesSurviveAndBadOnesReadAsNone)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    {
        app::Preferences preferences(file);
        EXPECT_FALSE(preferences.zoom());
        EXPECT_FALSE(preferences.windowPosition());
        preferences.setZoom(175);
        preferences.setWindowPosition(QPoint(40, 60));
        preferences.setRecentFiles({QStringLiteral("/a.olr"), QStringLiteral("/b.brr")});
        preferences.setDialogFolder(dir.path());
    }
    app::Preferences again(file);
    EXPECT_EQ(again.zoom(), 175);
    EXPECT_EQ(again.windowPosition(), QPoint(40, 60));
    EXPECT_EQ(again.recentFiles(), (QStringList{QStringLiteral("/a.olr"), QStringLiteral("/b.brr")}));
    again.setZoom(110); // no step
    EXPECT_FALSE(again.zoom());

    EXPECT_EQ(app::rememberedFolder(dir.path()), dir.path());
    EXPECT_FALSE(app::rememberedFolder(dir.filePath(QStringLiteral("gone"))));
    EXPECT_FALSE(app::rememberedFolder(QString()));
    EXPECT_FALSE(app::rememberedFolder(file)); // a file, not a folder
}

TEST(Remembered, TheDealerLivesWithTheRestAndMovesInFromTheOlderFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    const state::OrderParty dealer{"Sky Shop", "1 Drop Zone\nEloy", "+1 520 555 0100", "sky@example.com"};
    {
        app::Preferences preferences(file);
        EXPECT_TRUE(preferences.dealer().empty());
        preferences.setDealer(dealer);
        preferences.setDealer({}); // an empty dealer keeps the one known
    }
    EXPECT_EQ(app::Preferences(file).dealer(), dealer);

    // The user's own settings (in Qt's test folder): a dealer the older
    // version kept in the application's default file is taken over once.
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("orlensuits"),
              QStringLiteral("jumpsuit-designer"))
        .remove(QStringLiteral("dealer"));
    QSettings earlier;
    earlier.setValue(QStringLiteral("dealer/name"), QStringLiteral("Old Shop"));
    earlier.sync();
    EXPECT_EQ(app::Preferences().dealer().name, "Old Shop");
    EXPECT_FALSE(QSettings().contains(QStringLiteral("dealer/name")));
    EXPECT_EQ(app::Preferences().dealer().name, "Old Shop");
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("orlensuits"),
              QStringLiteral("jumpsuit-designer"))
        .remove(QStringLiteral("dealer"));
}

TEST(Remembered, WindowPositionOnlyWhereItsTitleBarIsOnAScreen)
{
    const QList<QRect> screens{QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1024)};
    const QSize frame(900, 600);
    EXPECT_EQ(app::visiblePosition(QPoint(100, 50), frame, screens), QPoint(100, 50));
    EXPECT_EQ(app::visiblePosition(QPoint(2500, 10), frame, screens), QPoint(2500, 10));
    EXPECT_EQ(app::visiblePosition(QPoint(1820, 10), frame, screens), QPoint(1820, 10)); // last 100 pixels
    EXPECT_FALSE(app::visiblePosition(QPoint(1821, 10), frame, screens));                // straddles
    EXPECT_FALSE(app::visiblePosition(QPoint(3200, 10), frame, screens));                // a screen gone
    EXPECT_FALSE(app::visiblePosition(QPoint(10, -5), frame, screens));

    // A window grown since (a larger zoom) moves left and up into the screen.
    const QRect area = screens.front();
    EXPECT_EQ(app::keptInside(QRect(QPoint(1500, 900), frame), area), QPoint(1020, 440));
    EXPECT_EQ(app::keptInside(QRect(QPoint(100, 50), frame), area), QPoint(100, 50));
    EXPECT_EQ(app::keptInside(QRect(QPoint(-10, 5), frame), area), QPoint(0, 5));
    EXPECT_EQ(app::keptInside(QRect(QPoint(100, 50), QSize(2500, 600)), area), QPoint(0, 50));
}

class Desktop : public WindowTest {
protected:
    // A design of model m saved under `name` in the scratch folder.
    QString saved(int m, const QString& name)
    {
        c().tabs->setCurrentTab(m);
        dialogs.answers.push_back(path(name));
        command("saveasMnu");
        return path(name);
    }
    QStringList recent() const { return window->recentFiles(); }
};

TEST_F(Desktop, OpenRecentListsFilesOpenedOrSavedAndOpensThemOnTheirTabs)
{
    const QString brisa = saved(cat::kBrisa, QStringLiteral("b.brr"));
    const QString lumen = saved(7, QStringLiteral("l.lur"));
    ASSERT_EQ(recent(), (QStringList{lumen, brisa}));
    auto* menu = window->findChild<QMenu*>(QStringLiteral("recentMnu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->menuAction()->isEnabled());
    EXPECT_EQ(menu->actions().front()->text(), "&1 l.lur (Lumen)");
    EXPECT_EQ(menu->actions().back()->text(), "Clear List");

    c().tabs->setCurrentTab(0);
    window->openRecent(brisa);
    EXPECT_EQ(c().tabs->currentTab(), cat::kBrisa);
    EXPECT_EQ(window->state()[cat::kBrisa].fileName, "b.brr");
    EXPECT_EQ(recent().front(), brisa);
    EXPECT_TRUE(messages.asked.empty());

    // A file gone since is said and dropped.
    ASSERT_TRUE(QFile::remove(lumen));
    window->openRecent(lumen);
    ASSERT_EQ(messages.asked.size(), 1U);
    EXPECT_TRUE(messages.asked.front().prompt.startsWith("Could not open 'l.lur'"));
    EXPECT_EQ(recent(), QStringList{brisa});

    command("clearRecentMnu");
    EXPECT_TRUE(recent().isEmpty());
    EXPECT_FALSE(menu->menuAction()->isEnabled());
}

TEST_F(Desktop, AChangedDesignIsOfferedForSavingBeforeAnotherFileReplacesIt)
{
    const QString file = saved(0, QStringLiteral("o.olr"));
    // Change the design: a colour for the first area.
    c().tabs->setCurrentTab(0);
    window->designer().applyPaletteCell(0, {0, 0});
    ASSERT_TRUE(window->state()[0].changed);
    const auto colours = window->state()[0].areaColour;
    messages.answers.push_back(tk::kCancel);
    window->openFiles({file});
    ASSERT_EQ(messages.asked.size(), 1U);
    EXPECT_EQ(messages.asked.front().prompt, "Do you want to save 'o.olr'.");
    EXPECT_EQ(window->state()[0].areaColour, colours); // kept
    EXPECT_TRUE(window->state()[0].changed);
    messages.answers.push_back(tk::kNo);
    window->openFiles({file});
    EXPECT_FALSE(window->state()[0].changed);
    EXPECT_NE(window->state()[0].areaColour, colours);
}

TEST_F(Desktop, DroppedDesignFilesOpenOnTheirTabsAndAnythingElseIsSaid)
{
    const QString kiro = saved(2, QStringLiteral("k.kmr"));
    c().tabs->setCurrentTab(0);
    const auto drop = [this](QMimeData* data) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &dropped);
        QApplication::processEvents();
    };
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(kiro)});
    drop(&files);
    EXPECT_EQ(c().tabs->currentTab(), 2);
    EXPECT_TRUE(messages.asked.empty());

    const QString notes = path(QStringLiteral("notes.txt"));
    QFile(notes).open(QIODevice::WriteOnly);
    const state::DesignState before = window->state();
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(notes)});
    drop(&other);
    ASSERT_EQ(messages.asked.size(), 1U);
    EXPECT_TRUE(messages.asked.front().prompt.startsWith("Could not open 'notes.txt'"));
    EXPECT_EQ(c().tabs->currentTab(), 2);
    for (int m = 0; m < cat::kModelCount; ++m)
        EXPECT_EQ(window->state()[m].areaColour, before[m].areaColour);
}

TEST_F(Desktop, CopyPictureGivesTheDrawingBothViewsAtActualSize)
{
    c().tabs->setCurrentTab(cat::kBrisa);
    window->designer().applyPaletteCell(cat::kBrisa, {0, 0});
    window->setZoom(200);
    command("copyMnu");
    const QImage copied = QGuiApplication::clipboard()->image();
    const QImage& drawing = c().drawings[cat::kBrisa]->image();
    EXPECT_EQ(copied.size(), drawing.size());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), drawing);
    EXPECT_EQ(window->findChild<QAction*>(QStringLiteral("copyMnu"))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_C));
}

TEST_F(Desktop, ExitAnswersCtrlQAndF1ShowsTheGuideWithItsPictures)
{
    EXPECT_EQ(window->findChild<QAction*>(QStringLiteral("exitMnu"))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_Q));
    auto* guideCommand = window->findChild<QAction*>(QStringLiteral("helpMnu"));
    ASSERT_NE(guideCommand, nullptr);
    EXPECT_EQ(guideCommand->text(), "User Guide");
    EXPECT_EQ(guideCommand->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_NE(window->findChild<QMenu*>(QStringLiteral("helpMnu")), nullptr); // the menu keeps its name
    guideCommand->trigger();
    auto* guide = window->findChild<app::UserGuide*>();
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
    const QTextDocument* page = guide->browser()->document();
    EXPECT_TRUE(page->toPlainText().contains("Open Recent"));
    // Every picture the page shows is in the program.
    int pictures = 0;
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QString name = it.fragment().charFormat().toImageFormat().name();
                EXPECT_FALSE(
                    guide->browser()->loadResource(QTextDocument::ImageResource, QUrl(name)).isNull())
                    << name.toStdString();
                ++pictures;
            }
    EXPECT_GE(pictures, 2);
}

// The second start's side runs in a thread of its own: the running designer
// answers from the event loop.
TEST(OneDesigner, ASecondStartHandsItsFilesToTheRunningOne)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("designer.socket"));
    EXPECT_FALSE(app::handOverToRunning(name, {QStringLiteral("/x.olr")}, 300)); // nobody runs

    app::InstanceServer server;
    ASSERT_TRUE(server.listen(name));
    QList<QStringList> received;
    QObject::connect(&server, &app::InstanceServer::filesHandedOver,
                     [&received](const QStringList& files) { received << files; });
    const QStringList files{QStringLiteral("/d/a.olr"), QStringLiteral("/d/\u00e9 b.brr")};
    auto second = std::async(std::launch::async, [&] { return app::handOverToRunning(name, files); });
    while (second.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QApplication::processEvents();
    EXPECT_TRUE(second.get());
    QTRY_COMPARE(received.size(), 1);
    EXPECT_EQ(received.front(), files);

    // Without files: only to the front.
    auto bare = std::async(std::launch::async, [&] { return app::handOverToRunning(name, {}); });
    while (bare.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QApplication::processEvents();
    EXPECT_TRUE(bare.get());
    QTRY_COMPARE(received.size(), 2);
    EXPECT_TRUE(received.back().isEmpty());
}

TEST(OneDesigner, ADesignerThatDoesNotAnswerIsTakenForGone)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("hung.socket"));
    QLocalServer hung; // accepts, never answers
    ASSERT_TRUE(hung.listen(name));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(app::handOverToRunning(name, {QStringLiteral("/x.olr")}, 400));
    EXPECT_LT(clock.elapsed(), 2000);
    // A socket left behind is taken over.
    app::InstanceServer next;
    EXPECT_TRUE(next.listen(name));
}

} // namespace
