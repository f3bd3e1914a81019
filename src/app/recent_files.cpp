#include "app/recent_files.h"

#include "catalogue/catalogue.h"
#include "toolkit/names.h"

#include <QDir>
#include <QFileInfo>

namespace app {

namespace {

QString sameFileKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

QStringList withoutRecentFile(const QStringList& recent, const QString& path)
{
    const QString key = sameFileKey(path);
    QStringList kept;
    for (const QString& file : recent)
        if (sameFileKey(file) != key)
            kept << file;
    return kept;
}

QStringList withRecentFile(const QStringList& recent, const QString& path)
{
    QStringList list = withoutRecentFile(recent, path);
    list.prepend(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    while (list.size() > kRecentFileCount)
        list.removeLast();
    return list;
}

QString recentFileCaption(int position, const QString& path)
{
    const QFileInfo info(path);
    // A name's own "&" would otherwise become a key.
    QString name = info.fileName();
    name.replace(QLatin1Char('&'), QLatin1String("&&"));
    const QString number = position < 10 ? QStringLiteral("&%1").arg(position) : QStringLiteral("1&0");
    const int m = cat::modelForExtension(info.suffix().toStdString());
    if (!cat::isModelIndex(m))
        return number + QLatin1Char(' ') + name;
    return QStringLiteral("%1 %2 (%3)").arg(number, name, tk::qs(cat::kModels[m].caption));
}

} // namespace app
