// Starts either the designer's main window or a bare window with eight tab
// pages, lets it paint, and prints the time from creating the window to its
// first paint (ms, in a fresh process: what a user waits for) and the process's
// peak resident memory (kB). designer_startup.sh runs it both ways and compares.
#include "app/mainwindow.h"
#include "bare_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

long peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    QApplication application(argc, argv);
    std::unique_ptr<QMainWindow> window;
    QElapsedTimer clock;
    clock.start();
    if (bare) {
        window = showBareWindow();
    } else {
        auto designer = std::make_unique<app::MainWindow>();
        designer->startUp();
        window = std::move(designer);
    }
    QApplication::processEvents();
    const double shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    QTimer::singleShot(500, &application, &QApplication::quit);
    QApplication::exec();
    std::printf("%s %.2f %ld\n", bare ? "bare" : "designer", shownMs, peakKilobytes());
    return 0;
}
