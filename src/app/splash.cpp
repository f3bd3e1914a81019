#include "app/splash.h"

#include "toolkit/names.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace app {

SplashWindow::SplashWindow(std::function<void()> handOver)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_handOver(std::move(handOver))
    , m_picture(QStringLiteral(":/bitmaps/splash.bmp"))
{
    tk::nameControl(this, QStringLiteral("frmSplash"),
                    QStringLiteral("Orlensuit Jumpsuit Designer is starting"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The picture covers every pixel: no background to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_shown = m_picture.convertToFormat(QImage::Format_RGB32);
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(kHandOverMs);
    // A coarse timer may fire up to 5 % early; the main window must not.
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &SplashWindow::Timer1_Timer);
    m_timer->start();
}

void SplashWindow::formLoad()
{
    // Qt's units are the screen's logical pixels, so the window matches its
    // picture at any scale factor.
    setFixedSize(288, 405);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void SplashWindow::Timer1_Timer()
{
    // One hand-over only: the timer would otherwise fire again while the main
    // window loads.
    m_timer->stop();
    if (m_handOver)
        m_handOver();
    // The main window's start-up has closed the splash already, unless it
    // failed to get that far.
    if (isVisible())
        close();
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // No smoothing: at a scale factor of 2 each picture pixel becomes a crisp
    // 2 x 2 block, as in the drawings.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), m_shown);
    ++m_paints;
}

} // namespace app
