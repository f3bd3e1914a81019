// What a user waits for at start, in a fresh process:
//   splash_probe splash   main() to the splash's first paint, then the splash
//                         timer's tick to the main window's first paint
//   splash_probe bare     main() to the first paint of a bare window of the
//                         splash's size
// Prints "MODE first-paint-ms [tick-to-main-paint-ms tick-to-main-show-ms]"; splash_startup.sh runs
// it both ways and compares. Exits non-zero when a side did not do its work.
#include "app/mainwindow.h"
#include "app/program.h"
#include "app/splash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <cstring>

namespace {

// Watches every event: the first paint of the watched window, the splash
// timer's tick, and the first paint that reaches the main window.
class Stopwatch final : public QObject {
public:
    explicit Stopwatch(const QElapsedTimer& clock)
        : m_clock(clock)
    {
    }
    QString first; // object name of the window whose first paint counts
    double firstPaintMs = -1;
    double tickMs = -1;
    double mainPaintMs = -1;
    double mainShowMs = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const double now = static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
        if (event->type() == QEvent::Paint) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget != nullptr && widget->objectName() == first && firstPaintMs < 0)
                firstPaintMs = now;
            if (widget != nullptr && tickMs >= 0 && mainPaintMs < 0 &&
                widget->window()->objectName() == QLatin1String("frmMain"))
                mainPaintMs = now;
        } else if (event->type() == QEvent::Show && mainShowMs < 0 &&
                   watched->objectName() == QLatin1String("frmMain")) {
            mainShowMs = now;
        } else if (event->type() == QEvent::Timer && tickMs < 0 &&
                   watched->objectName() == QLatin1String("Timer1") && watched->parent() != nullptr &&
                   watched->parent()->objectName() == QLatin1String("frmSplash")) {
            tickMs = now;
        }
        return false;
    }

private:
    const QElapsedTimer& m_clock;
};

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    QApplication application(argc, argv);
    Stopwatch watch(clock);
    watch.first = bare ? QStringLiteral("bare") : QStringLiteral("frmSplash");
    application.installEventFilter(&watch);

    if (bare) {
        QWidget window(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
        window.setFixedSize(288, 405);
        window.setObjectName(QStringLiteral("bare"));
        window.show();
        if (!QTest::qWaitFor([&] { return watch.firstPaintMs >= 0; }, 5000)) {
            std::fputs("bare window never painted\n", stderr);
            return 1;
        }
        std::printf("bare %.2f\n", watch.firstPaintMs);
        return 0;
    }

    app::Program program;
    if (!QTest::qWaitFor([&] { return watch.firstPaintMs >= 0; }, 5000) ||
        program.splash()->paintCount() == 0) {
        std::fputs("splash never painted\n", stderr);
        return 1;
    }
    if (!QTest::qWaitFor([&] { return watch.mainPaintMs >= 0; }, 10000) || program.mainWindow() == nullptr ||
        !program.mainWindow()->isVisible()) {
        std::fputs("the main window never painted after the hand-over\n", stderr);
        return 1;
    }
    std::printf("splash %.2f %.2f %.2f\n", watch.firstPaintMs, watch.mainPaintMs - watch.tickMs,
                watch.mainShowMs - watch.tickMs);
    return 0;
}
