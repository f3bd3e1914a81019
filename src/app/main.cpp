#include "app/program.h"
#include "app/single_instance.h"
#include "app/zoom.h"
#include "catalogue/program.h"
#include "files/platform.h"
#include "toolkit/names.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

namespace {

const QString kName = QStringLiteral("jumpsuit-designer");
const QString kZoom = QStringLiteral("zoom");
const QString kNewInstance = QStringLiteral("new-instance");

void describe(QCommandLineParser& options)
{
    options.setApplicationDescription(QStringLiteral("Colours and fabrics of skydiving jumpsuits."));
    options.addHelpOption();
    options.addVersionOption();
    options.addOption(
        {kZoom,
         QStringLiteral("Zoom of this run: 100, 125, 150, 175, 200, 250 or 300 percent (not remembered)."),
         QStringLiteral("PERCENT")});
    options.addOption(
        {kNewInstance, QStringLiteral("Start a designer of its own, even when one is running already.")});
    options.addPositionalArgument(QStringLiteral("FILE"),
                                  QStringLiteral("Design files to open, each on its suit model's tab."),
                                  QStringLiteral("[FILE...]"));
}

// The arguments byte for byte: a file name that is no text is kept as it is,
// so that it can be said as such.
QStringList arguments(int argc, char* argv[])
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << files::platform::decodeName(argv[i]);
    return args;
}

// --help and --version need no display: they are answered before the GUI
// starts. Anything else (Qt's own options among it) waits for QApplication.
bool answeredWithoutDisplay(int argc, char* argv[])
{
    QCommandLineParser options;
    describe(options);
    options.parse(arguments(argc, argv));
    if (options.isSet(QStringLiteral("version"))) {
        std::printf("%s %s\n", qPrintable(kName), qPrintable(QCoreApplication::applicationVersion()));
        return true;
    }
    if (options.isSet(QStringLiteral("help")) || options.isSet(QStringLiteral("help-all"))) {
        QString help = options.helpText();
        help.replace(QStringLiteral("<executable_name>"), kName);
        std::fputs(qPrintable(help), stdout);
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    app::prepareProcess();
    // Where QSettings keeps what is remembered between runs.
    QApplication::setOrganizationName(QStringLiteral("Orlensuits"));
    QApplication::setApplicationName(tk::qs(cat::kAppTitle));
    QApplication::setApplicationVersion(tk::qs(cat::kVersion));
    if (answeredWithoutDisplay(argc, argv))
        return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? 0 : 1;

    // Without a display Qt would abort with a long message; say what to do instead.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if ((platform == nullptr || *platform == '\0') && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr) {
        std::fputs("jumpsuit-designer: no display found; start it with: xvfb-run -a jumpsuit-designer\n",
                   stderr);
        return 2;
    }

    QApplication application(argc, argv);
    // Lets docks and Wayland compositors match the window to its menu entry.
    QApplication::setDesktopFileName(QStringLiteral("example.orlensuits.JumpsuitDesigner"));

    QCommandLineParser options;
    describe(options);
    options.process(arguments(argc, argv)); // what QApplication left: its own options are gone

    app::StartOptions start;
    if (options.isSet(kZoom)) {
        bool ok = false;
        start.zoom = options.value(kZoom).remove(QLatin1Char('%')).toInt(&ok);
        if (!ok || !app::isZoomStep(start.zoom)) {
            std::fprintf(stderr,
                         "jumpsuit-designer: --zoom takes 100, 125, 150, 175, 200, 250 or 300, not '%s'\n",
                         qPrintable(options.value(kZoom)));
            return 2;
        }
    }
    // The running designer has a folder of its own: it is handed whole paths.
    for (const QString& file : options.positionalArguments())
        start.files << QFileInfo(file).absoluteFilePath();

    app::InstanceServer server;
    if (!options.isSet(kNewInstance)) {
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
