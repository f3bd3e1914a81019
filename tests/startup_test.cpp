// The program's start as main() runs it (splash, then the main window), the
// About window and Exit, driven through the real program on the offscreen
// platform.
#include "app/about.h"
#include "app/mainwindow.h"
#include "app/program.h"
#include "app/splash.h"
#include "catalogue/catalogue.h"
#include "design/controls.h"
#include "state/state.h"
#include "support/design_files.h"
#include "toolkit/dialogs.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/tabstrip.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

std::vector<QWidget*> visibleTopLevels()
{
    std::vector<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            out.push_back(w);
    return out;
}

// Calls `onShow` whenever the main window is shown.
struct MainShownFilter final : QObject {
    std::function<void()> onShow;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("frmMain"))
            onShow();
        return false;
    }
};

TEST(Start, SplashFirstThenTheMainWindowAfterTwoSecondsAndTheSplashGoes)
{
    QElapsedTimer clock;
    clock.start();
    app::Program program;
    std::vector<std::pair<qint64, bool>> shows; // when, and whether the painted splash was still up
    MainShownFilter filter;
    filter.onShow = [&] {
        const app::SplashWindow* s = program.splash();
        shows.emplace_back(clock.elapsed(), s != nullptr && s->isVisible() && s->paintCount() > 0);
    };
    qApp->installEventFilter(&filter);

    // The splash alone, its picture's size, no decorations, centred.
    app::SplashWindow* splash = program.splash();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(visibleTopLevels(), std::vector<QWidget*>{splash});
    EXPECT_EQ(splash->size(), QSize(288, 405));
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash->geometry().center(), QGuiApplication::primaryScreen()->geometry().center());

    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return program.mainWindow() != nullptr && program.mainWindow()->isVisible(); }, 6000));
    // Once the main window has loaded, the splash is gone.
    EXPECT_TRUE(QTest::qWaitFor([&] { return program.splash() == nullptr; }, 1000));
    EXPECT_EQ(visibleTopLevels(), std::vector<QWidget*>{program.mainWindow()});
    QTest::qWait(100);
    // Shown once, no earlier than two seconds after start, while the splash was still up.
    ASSERT_EQ(shows.size(), 1u);
    EXPECT_GE(shows[0].first, 2000);
    EXPECT_TRUE(shows[0].second) << "the splash went, or was never painted, before the hand-over";
}

// Design files named on the command line open after the hand-over, each on
// its model's tab as Open opens it; a file that cannot be opened is said and
// changes nothing.
TEST(Start, FilesNamedOnTheCommandLineOpenOnTheirTabs)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("one")) &&
                QDir(dir.path()).mkpath(QStringLiteral("two")));
    writeBytes(dir.filePath("one/a.VTR"),
               words({2, cat::kCottonFelt}) + words({cat::kNoColour}).repeated(15));
    writeBytes(dir.filePath("two/b.brr"),
               words({3, cat::kPolycotton}) + words({cat::kNoColour}).repeated(38));
    writeBytes(dir.filePath("notes.txt"), QByteArray(80, '\0'));
    writeBytes(dir.filePath("short.kmr"), QByteArray(5, '\0'));
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path()); // names are taken as the shell gives them, relative ones too
    tk::ScriptedMessageService messages;
    {
        app::Program program({dir.filePath("one/a.VTR"), dir.filePath("notes.txt"), dir.filePath("two/b.brr"),
                              dir.filePath("gone.olr"), QStringLiteral("short.kmr")});
        ASSERT_TRUE(QTest::qWaitFor([&] { return program.mainWindow() != nullptr; }, 1500));
        ASSERT_NE(program.splash(), nullptr) << "handed over before the test could answer";
        app::MainWindow* window = program.mainWindow();
        window->setMessageService(&messages);
        ASSERT_TRUE(QTest::qWaitFor([&] { return program.splash() == nullptr; }, 6000));
        QDir::setCurrent(cwd);

        const state::DesignState& state = window->state();
        EXPECT_EQ(state[1].areaColour[0], 2);
        EXPECT_EQ(state[1].fileName, "a.VTR");
        EXPECT_TRUE(state[1].saved && !state[1].changed);
        EXPECT_EQ(window->controls().colourLists[1]->entry(0),
                  QString::fromLatin1(cat::kFabrics[cat::kCottonFelt].palette[2].name.data()) + " (C)");
        EXPECT_EQ(state[6].areaColour[0], 3);
        EXPECT_EQ(state[6].fileName, "b.brr");
        EXPECT_EQ(state[2].fileName, "Untitled"); // the short file changed nothing
        EXPECT_FALSE(state[2].saved);
        EXPECT_EQ(window->controls().tabs->currentTab(), 6);
        EXPECT_EQ(window->windowTitle(), "Orlensuit Jumpsuit Designer [b.brr]");
        EXPECT_EQ(state.dialogFolder, dir.filePath("two").toStdString());

        QStringList said;
        for (const tk::ScriptedMessageService::Asked& asked : messages.asked) {
            said << asked.prompt;
            EXPECT_EQ(asked.style, tk::kOkExclamation);
        }
        EXPECT_EQ(said, QStringList({
                            "Could not open 'notes.txt' in " + dir.path() +
                                ": the extension '.txt' belongs to no suit model.",
                            "Could not open 'gone.olr' in " + dir.path() + ": the file does not exist.",
                            "Could not open 'short.kmr' in " + dir.path() +
                                ": the file is too short for a design of this suit (5 of 30 bytes).",
                        }));
        window->setMessageService(nullptr);
    }
}

// A splash whose hand-over loads nothing still goes when its timer fires.
// The installed program with no display and no environment at all: --help
// and --version answer before any window is thought of, and a plain start
// says how to get a display with the installed command's name.
TEST(Start, HelpAndVersionNeedNoDisplay)
{
    const auto run = [](const QStringList& args, QByteArray& out, QByteArray& err) {
        QProcess process;
        process.setProcessEnvironment(QProcessEnvironment());
        process.start(QStringLiteral(DESIGNER_PROGRAM), args);
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        out = process.readAllStandardOutput();
        err = process.readAllStandardError();
        return process.exitCode();
    };
    QByteArray out;
    QByteArray err;
    EXPECT_EQ(run({QStringLiteral("--version")}, out, err), 0) << err.toStdString();
    EXPECT_EQ(out, "jumpsuit-designer 1.2.0\n");
    for (const char* help : {"--help", "-h"}) {
        EXPECT_EQ(run({QString::fromLatin1(help)}, out, err), 0) << err.toStdString();
        EXPECT_TRUE(out.startsWith("Usage: jumpsuit-designer [options] [FILE...]\n")) << out.toStdString();
        EXPECT_TRUE(out.contains("--version") && err.isEmpty());
    }
    EXPECT_EQ(run({}, out, err), 2);
    EXPECT_EQ(err, "jumpsuit-designer: no display found; start it with: xvfb-run -a jumpsuit-designer\n");
}

TEST(Start, TheSplashClosesItselfWhenTheHandOverDoesNot)
{
    int handOvers = 0;
    QPointer<app::SplashWindow> splash = new app::SplashWindow([&] { ++handOvers; });
    splash->startUp();
    splash->show();
    splash->timer()->setInterval(10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 2000));
    QTest::qWait(50);
    EXPECT_EQ(handOvers, 1);
}

// The picture fills the window pixel for pixel; at a scale factor of 2 (the
// scaled run of this test) each pixel is a 2 x 2 block of the same colour.
TEST(SplashPicture, IsDrawnPixelForPixelAtAnyScale)
{
    app::SplashWindow splash(nullptr);
    splash.timer()->stop();
    splash.startUp();
    splash.show();
    const QPixmap grabbed = splash.grab();
    const QImage shown = grabbed.toImage().convertToFormat(QImage::Format_RGB32);
    const QImage picture = splash.picture().convertToFormat(QImage::Format_RGB32);
    const int scale = qRound(grabbed.devicePixelRatio());
    if (qEnvironmentVariableIntValue("QT_SCALE_FACTOR") == 2) {
        EXPECT_EQ(scale, 2);
    }
    ASSERT_EQ(shown.size(), picture.size() * scale);
    int wrong = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            wrong += shown.pixel(x, y) != picture.pixel(x / scale, y / scale);
    EXPECT_EQ(wrong, 0) << "pixels smoothed or shifted at scale " << scale;
}

TEST(SplashPicture, IsReadAsQtReadsItAndDamagedFilesAreRefused)
{
    const auto read = [](const char* name) {
        QFile file(QString::fromLatin1(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray bytes = read(":/bitmaps/splash.bmp");
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_EQ(app::decodeIndexedBmp(bytes),
              QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(app::decodeIndexedBmp(bytes.left(bytes.size() - 1)).isNull()) << "one byte short";
    QByteArray tall = bytes;
    tall[23] = char(0x7f); // a height that runs far past the end of the file
    EXPECT_TRUE(app::decodeIndexedBmp(tall).isNull());
    EXPECT_TRUE(app::decodeIndexedBmp(read(":/bitmaps/16.bmp")).isNull()); // 4 bits a pixel
}

// About and Exit on the main window the real start made.
class Shell : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_program = new app::Program;
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return s_program->mainWindow() != nullptr && s_program->splash() == nullptr; }, 6000));
    }
    static void TearDownTestSuite() { delete s_program; }

    static app::MainWindow* window() { return s_program->mainWindow(); }
    static QAction* action(const char* name)
    {
        return window()->findChild<QAction*>(QString::fromLatin1(name));
    }

    // A click that comes from the window system, so that modality applies.
    static void clickAsUser(QWidget* target)
    {
        QTest::mouseClick(target->window()->windowHandle(), Qt::LeftButton, {},
                          target->mapTo(target->window(), target->rect().center()));
    }

    // Chooses Help > About and, once it is up, checks it is modal, returns
    // its texts and closes it the way `close` says.
    static QStringList aboutTexts(const std::function<void(app::AboutWindow*)>& close)
    {
        QStringList texts;
        QPushButton* suitInfo = window()->panels(0).suitInfoButton;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* about = qobject_cast<app::AboutWindow*>(QApplication::activeModalWidget());
            if (about == nullptr || !about->isVisible())
                return;
            poll.stop();
            EXPECT_EQ(about->windowModality(), Qt::ApplicationModal);
            EXPECT_FALSE(about->iconLabel->pixmap().isNull());
            clickAsUser(suitInfo); // must not get through to the main window
            EXPECT_TRUE(suitInfo->isEnabled());
            texts = {about->windowTitle(),           about->titleLabel->text(),
                     about->versionLabel->text(),    about->descriptionLabel->text(),
                     about->disclaimerLabel->text(), about->okButton->text()};
            close(about);
        });
        poll.start(10);
        action("aboutMnu")->trigger(); // returns when the About window is closed
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the About window stayed open";
        return texts;
    }

    static app::Program* s_program;
};

app::Program* Shell::s_program = nullptr;

TEST_F(Shell, AboutShowsItsTextsModallyAndClosesTheSameWayTwice)
{
    const QStringList first =
        aboutTexts([](app::AboutWindow* about) { QTest::mouseClick(about->okButton, Qt::LeftButton); });
    ASSERT_EQ(first.size(), 6);
    EXPECT_EQ(first[0], "About Orlensuit Jumpsuit Designer");
    EXPECT_TRUE(first[1].startsWith("Orlensuit Jumpsuit Designer"));
    EXPECT_EQ(first[2], "Version 1.2.0");
    EXPECT_TRUE(first[3].contains("Orlensuits") && first[3].endsWith("\n\nwww.orlensuits.example"));
    EXPECT_FALSE(first[4].isEmpty());
    EXPECT_EQ(first[5], "OK");
    // The window's close button closes it too, and the texts are the same.
    EXPECT_EQ(aboutTexts([](app::AboutWindow* about) { about->close(); }), first);

    // With About closed the same click reaches the main window again.
    QPushButton* suitInfo = window()->panels(0).suitInfoButton;
    clickAsUser(suitInfo);
    EXPECT_FALSE(suitInfo->isEnabled());
    window()->showSelectionPanel(0);
}

// Last in this suite: the main window really closes at the end.
TEST_F(Shell, ExitAsksAboutUnsavedDesignsAndNoKeepsTheWindow)
{
    tk::ScriptedMessageService messages;
    window()->setMessageService(&messages);
    QApplication::setQuitOnLastWindowClosed(false);
    window()->state()[3].changed = true;
    messages.answers = {tk::kNo};
    action("exitMnu")->trigger();
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(messages.asked[0].style, tk::kYesNoQuestion);
    QTest::qWait(20);
    EXPECT_TRUE(window()->isVisible());

    messages.answers = {tk::kYes};
    action("exitMnu")->trigger();
    EXPECT_EQ(messages.asked.size(), 2u);
    // Nothing is left open, so the program ends.
    for (const QWindow* w : QGuiApplication::topLevelWindows())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    window()->setMessageService(nullptr);
}

} // namespace

// The table of object names is the one list scripts and screen-reader users
// go by: every name in it belongs to a control, and every control's name is in it.
TEST(ControlNames, TheTableNamesEveryControlAndNothingElse)
{
    app::MainWindow window;
    window.startUp();
    app::AboutWindow about(&window);
    about.startUp();
    auto* splash = new app::SplashWindow([] {});

    QSet<QString> expected;
    for (const design::ControlName& control : design::kControlNames) {
        const QString name = tk::qs(control.objectName);
        EXPECT_FALSE(expected.contains(name)) << name.toStdString();
        if (!control.perPage) {
            expected.insert(name);
            continue;
        }
        for (int page = 0; page < cat::kModelCount; ++page)
            expected.insert(name + QString::number(page));
    }

    QSet<QString> found;
    for (QObject* root : std::initializer_list<QObject*>{&window, &about, splash}) {
        QList<QObject*> objects = root->findChildren<QObject*>();
        objects.prepend(root);
        for (const QObject* object : objects) {
            const QString name = object->objectName();
            // Qt's own parts, and the editor inside each text box (named after it).
            const bool qtOwn = name.startsWith(QStringLiteral("qt_")) || name.startsWith(QLatin1Char('_')) ||
                               name == QStringLiteral("ScrollLeftButton") ||
                               name == QStringLiteral("ScrollRightButton");
            if (name.isEmpty() || qtOwn || name.endsWith(QStringLiteral("Editor")))
                continue;
            found.insert(name);
        }
    }
    // Brisa's back view repeats three of the page controls with index 8.
    for (const char* back : {"suitlist8", "colordesc8", "cbbfrontPb8"}) {
        EXPECT_TRUE(found.remove(QString::fromLatin1(back))) << back;
    }
    for (const QString& name : found)
        EXPECT_TRUE(expected.contains(name)) << "not in the table: " << name.toStdString();
    for (const QString& name : expected)
        EXPECT_TRUE(found.contains(name)) << "no such control: " << name.toStdString();
    delete splash;
}
