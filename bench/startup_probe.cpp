// Starts either the designer's main window or a bare window with eight tab
// pages, lets it paint, and prints the process's peak resident memory (kB).
// designer_memory.sh runs it both ways and compares.
#include "app/mainwindow.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QTabWidget>
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
    if (bare) {
        window = std::make_unique<QMainWindow>();
        auto* tabs = new QTabWidget(window.get());
        for (int i = 0; i < 8; ++i)
            tabs->addTab(new QWidget, QStringLiteral("Model %1").arg(i));
        window->setCentralWidget(tabs);
        window->resize(640, 440);
        window->show();
    } else {
        auto designer = std::make_unique<app::MainWindow>();
        designer->formLoad();
        window = std::move(designer);
    }
    QTimer::singleShot(500, &application, &QApplication::quit);
    QApplication::exec();
    std::printf("%s %ld\n", bare ? "bare" : "designer", peakKilobytes());
    return 0;
}
