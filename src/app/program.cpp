#include "app/program.h"

#include "app/icon.h"
#include "app/mainwindow.h"
#include "app/preferences.h"
#include "app/splash.h"
#include "app/zoom.h"
#include "commands/file_commands.h"
#include "files/platform.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>
#include <QTimer>

#include <utility>

namespace app {

void prepareProcess()
{
    files::platform::ignoreFileSizeSignal();
}

Program::Program(QStringList files)
    : Program(StartOptions{std::move(files), 100, false})
{
}

Program::Program(StartOptions options)
    : m_files(std::move(options.files))
    , m_zoom(options.zoom)
{
    if (options.remember)
        m_preferences = std::make_unique<Preferences>();
    m_splash = new SplashWindow([this] { showMainWindow(); });
    // The main window's controls are built while the splash is up, once its
    // picture is on the screen: the hand-over then only has to run the start-up.
    QObject::connect(m_splash, &SplashWindow::firstPainted, m_splash,
                     [this] { QTimer::singleShot(0, m_splash, [this] { buildMainWindow(); }); });
    m_splash->startUp();
    m_splash->show();
}

Program::~Program()
{
    delete m_splash.data();
    m_main.reset(); // before the preferences it keeps
}

SplashWindow* Program::splash() const
{
    return m_splash.data();
}

MainWindow* Program::mainWindow() const
{
    return m_main.get();
}

void Program::buildMainWindow()
{
    if (m_main)
        return;
    // Every window takes the program's icon from here; its files are read once.
    QApplication::setWindowIcon(programIcon());
    // The image format plugins are looked up on the first picture read; do it
    // now rather than when the start-up reads the drawings.
    QImageReader::supportedImageFormats();
    m_main = std::make_unique<MainWindow>();
    m_main->setPreferences(m_preferences.get());
    // Style and fonts of every control, which the start-up's sizing would
    // otherwise work out at the hand-over.
    m_main->ensurePolished();
    m_main->winId(); // the native window, made now rather than at the hand-over
}

void Program::showMainWindow()
{
    buildMainWindow(); // when the splash was never painted
    m_main->setSplash(m_splash.data());
    m_main->setZoom(startZoom());
    // A zoom given for the run is not kept; one chosen in the run is.
    if (m_preferences && m_zoom == 0)
        QObject::connect(m_main.get(), &MainWindow::zoomChanged, m_main.get(), [this](int percent) {
            m_preferences->setZoom(percent);
            m_preferences->sync();
        });
    m_main->startUp(); // runs once; shows the window and closes the splash
    const QStringList files = std::exchange(m_files, {});
    for (const QString& file : files)
        m_main->fileCommands().openNamedFile(file);
}

int Program::startZoom() const
{
    if (isZoomStep(m_zoom))
        return m_zoom;
    if (m_preferences)
        if (const std::optional<int> remembered = m_preferences->zoom())
            return *remembered;
    // A first start: the largest step at which the window takes at most two
    // thirds of the screen's height. The layout's size is known from the
    // window built but not yet started.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return 100;
    return firstStartZoom(m_main->layoutGeometry(), screen->availableGeometry().size());
}

void Program::openHandedOver(const QStringList& files)
{
    if (m_main == nullptr || !m_main->isVisible()) {
        m_files << files;
        return;
    }
    m_main->comeToFront();
    m_main->openFiles(files);
}

} // namespace app
