// Prints the type Qt's MIME database gives each file name, by its name alone:
// what a file manager or file dialog built on Qt decides for a design file.
#include <QCoreApplication>
#include <QMimeDatabase>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QMimeDatabase database;
    for (int i = 1; i < argc; ++i) {
        const QString name = QString::fromLocal8Bit(argv[i]);
        std::printf(
            "%s %s\n", argv[i],
            database.mimeTypeForFile(name, QMimeDatabase::MatchExtension).name().toUtf8().constData());
    }
    return 0;
}
