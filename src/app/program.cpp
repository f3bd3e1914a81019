#include "app/program.h"

#include "app/icon.h"
#include "app/mainwindow.h"
#include "app/splash.h"
#include "commands/file_commands.h"
#include "files/platform.h"

#include <QApplication>
#include <QImageReader>
#include <QTimer>

#include <utility>

namespace app {

void prepareProcess()
{
    files::platform::ignoreFileSizeSignal();
}

Program::Program(QStringList files)
    : m_files(std::move(files))
{
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
    // Style and fonts of every control, which the start-up's sizing would
    // otherwise work out at the hand-over.
    m_main->ensurePolished();
    m_main->winId(); // the native window, made now rather than at the hand-over
}

void Program::showMainWindow()
{
    buildMainWindow(); // when the splash was never painted
    m_main->setSplash(m_splash.data());
    m_main->startUp(); // runs once; shows the window and closes the splash
    const QStringList files = std::exchange(m_files, {});
    for (const QString& file : files)
        m_main->fileCommands().openNamedFile(file);
}

} // namespace app
