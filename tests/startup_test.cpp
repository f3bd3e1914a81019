// The program's start as main() runs it (splash, then the main window), the
// About window and Exit, driven through the real program on the offscreen
// platform.
#include "app/about.h"
#include "app/mainwindow.h"
#include "app/program.h"
#include "app/splash.h"
#include "catalogue/about_texts.h"
#include "state/state.h"
#include "toolkit/dialogs.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

std::vector<QWidget*> visibleTopLevels()
{
    std::vector<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            out.push_back(w);
    return out;
}

// Notes the moments the main window is shown, and whether the splash was
// still up each time.
class ShowWatch final : public QObject {
public:
    explicit ShowWatch(const app::Program& program)
        : m_program(program)
    {
        m_clock.start();
        qApp->installEventFilter(this);
    }
    ~ShowWatch() override { qApp->removeEventFilter(this); }

    std::vector<qint64> shownAtMs;
    std::vector<bool> splashUp;
    std::vector<int> splashPaints;

    qint64 elapsed() const { return m_clock.elapsed(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("frmMain")) {
            shownAtMs.push_back(m_clock.elapsed());
            const app::SplashWindow* splash = m_program.splash();
            splashUp.push_back(splash != nullptr && splash->isVisible());
            splashPaints.push_back(splash != nullptr ? splash->paintCount() : -1);
        }
        return false;
    }

private:
    const app::Program& m_program;
    QElapsedTimer m_clock;
};

TEST(Start, SplashFirstThenTheMainWindowAfterTwoSecondsAndTheSplashGoes)
{
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<ShowWatch> watch;
    app::Program program;
    watch = std::make_unique<ShowWatch>(program);

    // The splash alone, its picture's size, no decorations, centred.
    app::SplashWindow* splash = program.splash();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(visibleTopLevels(), std::vector<QWidget*>{splash});
    EXPECT_EQ(program.mainWindow(), nullptr);
    EXPECT_EQ(splash->objectName(), QStringLiteral("frmSplash"));
    EXPECT_EQ(splash->size(), QSize(288, 405));
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash->geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    EXPECT_EQ(splash->picture().size(), QSize(288, 405));
    EXPECT_EQ(splash->timer()->interval(), 2000);
    EXPECT_TRUE(splash->timer()->isActive());

    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return program.mainWindow() != nullptr && program.mainWindow()->isVisible(); }, 6000));
    const qint64 startToShown = clock.elapsed();

    // Shown once, no earlier than two seconds after start, while the splash
    // was still up and had been painted.
    ASSERT_EQ(watch->shownAtMs.size(), 1u);
    EXPECT_GE(startToShown, 2000);
    EXPECT_GE(watch->shownAtMs[0], 2000);
    EXPECT_TRUE(watch->splashUp[0]) << "the splash went before the main window was shown";
    EXPECT_GT(watch->splashPaints[0], 0);

    // Once the main window has loaded, the splash is gone: hidden at once,
    // deleted with the next deferred deletions, and its timer with it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return program.splash() == nullptr; }, 1000));
    EXPECT_EQ(visibleTopLevels(), std::vector<QWidget*>{program.mainWindow()});
    EXPECT_EQ(program.mainWindow()->windowTitle(), QStringLiteral("Orlensuit Jumpsuit Designer [Untitled]"));
    EXPECT_FALSE(program.mainWindow()->windowIcon().isNull());
    QTest::qWait(100);
    EXPECT_EQ(watch->shownAtMs.size(), 1u);
}

// A splash whose hand-over loads nothing still goes when its timer fires.
TEST(Start, TheSplashClosesItselfWhenTheHandOverDoesNot)
{
    int handOvers = 0;
    QPointer<app::SplashWindow> splash = new app::SplashWindow([&] { ++handOvers; });
    splash->formLoad();
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
    splash.formLoad();
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
    QFile file(QStringLiteral(":/bitmaps/splash.bmp"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QImage read = app::decodeIndexedBmp(bytes);
    EXPECT_EQ(read, QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32));

    EXPECT_TRUE(app::decodeIndexedBmp(QByteArray()).isNull());
    EXPECT_TRUE(app::decodeIndexedBmp(bytes.left(bytes.size() - 1)).isNull()) << "one byte short";
    EXPECT_FALSE(app::decodeIndexedBmp(bytes + QByteArray(1, '\0')).isNull()) << "one byte over";
    QByteArray tall = bytes;
    tall[23] = char(0x7f); // a height that runs far past the end of the file
    EXPECT_TRUE(app::decodeIndexedBmp(tall).isNull());
    QFile drawing(QStringLiteral(":/bitmaps/16.bmp")); // 4 bits a pixel
    ASSERT_TRUE(drawing.open(QIODevice::ReadOnly));
    EXPECT_TRUE(app::decodeIndexedBmp(drawing.readAll()).isNull());
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
    static void TearDownTestSuite()
    {
        delete s_program;
        s_program = nullptr;
    }

    static app::MainWindow* window() { return s_program->mainWindow(); }
    static QAction* action(const char* name)
    {
        return window()->findChild<QAction*>(QString::fromLatin1(name));
    }

    struct AboutSeen {
        bool found = false;
        bool modal = false;
        QString caption, title, version, description, disclaimer, ok;
        bool iconShown = false;
        bool mainWindowReacted = false;
    };

    // Chooses Help > About and, while the window is open, reads it and then
    // closes it the way `close` says.
    static AboutSeen openAbout(const std::function<void(app::AboutWindow*)>& close)
    {
        AboutSeen seen;
        QPushButton* suitInfo = window()->panels(0).Command2;
        const bool suitInfoBefore = suitInfo->isEnabled();
        QTimer::singleShot(0, [&] {
            auto* about = qobject_cast<app::AboutWindow*>(QApplication::activeModalWidget());
            if (about == nullptr) {
                QTimer::singleShot(20, [&] { // not up yet: try once more
                    auto* later = qobject_cast<app::AboutWindow*>(QApplication::activeModalWidget());
                    if (later != nullptr)
                        read(later, seen, suitInfo, suitInfoBefore, close);
                });
                return;
            }
            read(about, seen, suitInfo, suitInfoBefore, close);
        });
        action("aboutMnu")->trigger(); // returns when the About window is closed
        return seen;
    }

    static void read(app::AboutWindow* about, AboutSeen& seen, QPushButton* suitInfo, bool suitInfoBefore,
                     const std::function<void(app::AboutWindow*)>& close)
    {
        seen.found = about->objectName() == QLatin1String("frmAbout") && about->isVisible();
        seen.modal = about->windowModality() == Qt::ApplicationModal;
        seen.caption = about->windowTitle();
        seen.title = about->lblTitle->text();
        seen.version = about->lblVersion->text();
        seen.description = about->lblDescription->text();
        seen.disclaimer = about->lblDisclaimer->text();
        seen.ok = about->cmdOK->text();
        seen.iconShown = !about->picIcon->pixmap().isNull();
        // A click on the main window must not get through.
        clickAsUser(suitInfo);
        seen.mainWindowReacted = suitInfo->isEnabled() != suitInfoBefore;
        close(about);
    }

    // A click that comes from the window system, so that modality applies.
    static void clickAsUser(QWidget* target)
    {
        QTest::mouseClick(target->window()->windowHandle(), Qt::LeftButton, {},
                          target->mapTo(target->window(), target->rect().center()));
    }

    static app::Program* s_program;
};

app::Program* Shell::s_program = nullptr;

TEST_F(Shell, AboutShowsItsTextsModallyAndOkClosesIt)
{
    const AboutSeen seen =
        openAbout([](app::AboutWindow* about) { QTest::mouseClick(about->cmdOK, Qt::LeftButton); });
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.modal);
    EXPECT_FALSE(seen.mainWindowReacted);
    EXPECT_TRUE(seen.iconShown);
    EXPECT_EQ(seen.caption, QStringLiteral("About Orlensuit Jumpsuit Designer"));
    EXPECT_EQ(
        seen.title,
        QStringLiteral("Orlensuit Jumpsuit Designer\n\nFor Windows 95, 98 and Windows NT 4.0 and later."));
    EXPECT_EQ(seen.version, QStringLiteral("Version 1.2.0"));
    EXPECT_TRUE(seen.description.contains(QStringLiteral("Orlensuits")));
    EXPECT_TRUE(seen.description.endsWith(QStringLiteral("\n\nwww.orlensuits.example")));
    EXPECT_FALSE(seen.disclaimer.isEmpty());
    EXPECT_EQ(seen.ok, QStringLiteral("OK"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "OK left the About window open";
    EXPECT_TRUE(window()->isVisible());

    // With About closed the same click reaches the main window again.
    QPushButton* suitInfo = window()->panels(0).Command2;
    ASSERT_TRUE(suitInfo->isEnabled());
    clickAsUser(suitInfo);
    EXPECT_FALSE(suitInfo->isEnabled());
    window()->Command1_Click(0);
}

TEST_F(Shell, AboutTwiceShowsTheSameTextsAndItsCloseButtonClosesIt)
{
    const AboutSeen first = openAbout([](app::AboutWindow* about) { about->close(); });
    const AboutSeen second =
        openAbout([](app::AboutWindow* about) { QTest::mouseClick(about->cmdOK, Qt::LeftButton); });
    ASSERT_TRUE(first.found);
    ASSERT_TRUE(second.found);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(first.caption, second.caption);
    EXPECT_EQ(first.title, second.title);
    EXPECT_EQ(first.version, second.version);
    EXPECT_EQ(first.description, second.description);
    EXPECT_EQ(first.disclaimer, second.disclaimer);
}

TEST(AboutTexts, VersionFiguresArePlainDecimals)
{
    EXPECT_EQ(cat::versionLine(), "Version 1.2.0");
    EXPECT_EQ(cat::aboutCaption(), "About Orlensuit Jumpsuit Designer");
    EXPECT_EQ(cat::aboutDescription().find("\r\n\r\nwww.orlensuits.example"),
              cat::aboutDescription().size() - std::string("\r\n\r\nwww.orlensuits.example").size());
}

// Last in this suite: the main window really closes at the end.
TEST_F(Shell, ExitAsksAboutUnsavedDesignsAndNoKeepsTheWindow)
{
    tk::ScriptedMessageService messages;
    window()->setMessageService(&messages);
    QApplication::setQuitOnLastWindowClosed(false);
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);

    window()->state()[3].changed = true;
    messages.answers = {tk::kNo};
    action("exitMnu")->trigger();
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(messages.asked[0].prompt, QStringLiteral("Do you wish to exit without saving suit(s). "));
    EXPECT_EQ(messages.asked[0].style, tk::kYesNoQuestion);
    EXPECT_TRUE(window()->isVisible());
    QTest::qWait(20);
    EXPECT_EQ(lastClosed.count(), 0);

    // Yes goes.
    messages.answers = {tk::kYes};
    action("exitMnu")->trigger();
    EXPECT_EQ(messages.asked.size(), 2u);
    EXPECT_FALSE(window()->isVisible());
    // Nothing else is left open, so the program ends.
    for (const QWindow* w : QGuiApplication::topLevelWindows())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    window()->setMessageService(nullptr);
}

} // namespace
