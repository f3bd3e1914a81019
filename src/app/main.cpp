#include "app/program.h"
#include "app/single_instance.h"
#include "app/zoom.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

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

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Colours and fabrics of skydiving jumpsuits."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption zoomOption(
        QStringLiteral("zoom"),
        QStringLiteral("Zoom of this run: 100, 125, 150, 175, 200, 250 or 300 percent (not remembered)."),
        QStringLiteral("PERCENT"));
    const QCommandLineOption newInstance(
        QStringLiteral("new-instance"),
        QStringLiteral("Start a designer of its own, even when one is running already."));
    options.addOption(zoomOption);
    options.addOption(newInstance);
    options.addPositionalArgument(QStringLiteral("FILE"),
                                  QStringLiteral("Design files to open, each on its suit model's tab."),
                                  QStringLiteral("[FILE...]"));
    options.process(application);

    app::StartOptions start;
    if (options.isSet(zoomOption)) {
        bool ok = false;
        start.zoom = options.value(zoomOption).remove(QLatin1Char('%')).toInt(&ok);
        if (!ok || !app::isZoomStep(start.zoom)) {
            std::fprintf(stderr,
                         "jumpsuit-designer: --zoom takes 100, 125, 150, 175, 200, 250 or 300, not '%s'\n",
                         qPrintable(options.value(zoomOption)));
            return 2;
        }
    }
    // The running designer has a folder of its own: it is handed whole paths.
    for (const QString& file : options.positionalArguments())
        start.files << QFileInfo(file).absoluteFilePath();

    app::InstanceServer server;
    if (!options.isSet(newInstance)) {
        const QString name = app::defaultInstanceName();
        if (app::handOverToRunning(name, start.files))
            return 0;
        server.listen(name);
    }

    app::Program program(start);
    QObject::connect(&server, &app::InstanceServer::filesHandedOver, &server,
                     [&program](const QStringList& files) { program.openHandedOver(files); });
    return QApplication::exec();
}
