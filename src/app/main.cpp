#include "app/program.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    // Without a display Qt would abort with a long message; say what to do instead.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if ((platform == nullptr || *platform == '\0') && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr) {
        std::fputs("jumpsuit-designer: no display found; start it with: xvfb-run -a "
                   "build/jumpsuit-designer\n",
                   stderr);
        return 2;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orlensuit Jumpsuit Designer"));
    QApplication::setApplicationVersion(QStringLiteral("1.2.0"));
    // Lets docks and Wayland compositors match the window to its menu entry.
    QApplication::setDesktopFileName(QStringLiteral("example.orlensuits.JumpsuitDesigner"));

    const app::Program program;
    return QApplication::exec();
}
