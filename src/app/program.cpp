#include "app/program.h"

#include "app/icon.h"
#include "app/mainwindow.h"
#include "app/splash.h"

#include <QApplication>

namespace app {

Program::Program()
{
    QApplication::setWindowIcon(programIcon());
    m_splash = new SplashWindow([this] { showMainWindow(); });
    m_splash->formLoad();
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

void Program::showMainWindow()
{
    if (m_main)
        return;
    m_main = std::make_unique<MainWindow>();
    m_main->setSplash(m_splash.data());
    m_main->formLoad();
}

} // namespace app
