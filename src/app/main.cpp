#include "app/program.h"

#include <QApplication>
#include <QCommandLineParser>

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
    QApplication::setOrganizationName(QStringLiteral("Orlensuits"));
    QApplication::setApplicationName(QStringLiteral("Orlensuit Jumpsuit Designer"));
    QApplication::setApplicationVersion(QStringLiteral("1.2.0"));
    // Lets docks and Wayland compositors match the window to its menu entry.
    QApplication::setDesktopFileName(QStringLiteral("example.orlensuits.JumpsuitDesigner"));

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Colours and fabrics of skydiving jumpsuits."));
    options.addHelpOption();
    options.addVersionOption();
    options.addPositionalArgument(QStringLiteral("FILE"),
                                  QStringLiteral("Design files to open, each on its suit model's tab."),
                                  QStringLiteral("[FILE...]"));
    options.process(application);

    const app::Program program(options.positionalArguments());
    return QApplication::exec();
}
