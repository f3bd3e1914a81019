#include "app/splash.h"

#include "catalogue/program.h"
#include "toolkit/names.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <cstdint>

namespace app {

namespace {

std::uint32_t le32(const uchar* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

} // namespace

QImage decodeIndexedBmp(const QByteArray& file)
{
    const auto* data = reinterpret_cast<const uchar*>(file.constData());
    const auto size = static_cast<std::uint64_t>(file.size());
    if (size < 54 + 1024 || data[0] != 'B' || data[1] != 'M')
        return {};
    const std::uint32_t offset = le32(data + 10);
    const std::uint32_t infoSize = le32(data + 14);
    const auto width = static_cast<std::int32_t>(le32(data + 18));
    const auto height = static_cast<std::int32_t>(le32(data + 22));
    const unsigned bits = data[28] | data[29] << 8;
    const std::uint32_t compression = le32(data + 30);
    std::uint32_t colours = le32(data + 46);
    if (colours == 0)
        colours = 256;
    if (infoSize != 40 || bits != 8 || compression != 0 || width <= 0 || width > 4096 || height <= 0 ||
        height > 4096 || colours > 256)
        return {};
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) + 3) / 4 * 4;
    if (offset < 54 + 4ull * colours || offset + rowBytes * static_cast<std::uint64_t>(height) > size)
        return {};
    QRgb palette[256] = {};
    for (std::uint32_t i = 0; i < colours; ++i) {
        const uchar* c = data + 54 + 4 * i;
        palette[i] = qRgb(c[2], c[1], c[0]);
    }
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const uchar* row = data + offset + rowBytes * static_cast<std::uint64_t>(height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            out[x] = palette[row[x]];
    }
    return image;
}

SplashWindow::SplashWindow(std::function<void()> handOver)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_handOver(std::move(handOver))
{
    tk::nameControl(this, QStringLiteral("frmSplash"),
                    tk::qs(cat::kAppTitle) + QStringLiteral(" is starting"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The picture covers every pixel: no background to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFile file(QStringLiteral(":/bitmaps/splash.bmp"));
    if (file.open(QIODevice::ReadOnly))
        m_picture = decodeIndexedBmp(file.readAll());
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(kHandOverMs);
    // A coarse timer may fire up to 5 % early; the main window must not.
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &SplashWindow::onTimer);
    m_timer->start();
}

void SplashWindow::startUp()
{
    // Qt's units are the screen's logical pixels, so the window matches its
    // picture at any scale factor.
    setFixedSize(288, 405);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void SplashWindow::onTimer()
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
    painter.drawImage(rect(), m_picture);
    if (++m_paints == 1)
        emit firstPainted();
}

} // namespace app
