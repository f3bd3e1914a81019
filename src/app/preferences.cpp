#include "app/preferences.h"

#include "app/zoom.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace app {

namespace {

constexpr const char* kFolderKey = "files/dialogFolder";
constexpr const char* kRecentKey = "files/recent";
constexpr const char* kZoomKey = "window/zoom";
constexpr const char* kPositionKey = "window/position";
constexpr const char* kDealerGroup = "dealer";

state::OrderParty readParty(QSettings& settings)
{
    settings.beginGroup(QLatin1String(kDealerGroup));
    state::OrderParty party{settings.value(QStringLiteral("name")).toString().toStdString(),
                            settings.value(QStringLiteral("address")).toString().toStdString(),
                            settings.value(QStringLiteral("phone")).toString().toStdString(),
                            settings.value(QStringLiteral("email")).toString().toStdString()};
    settings.endGroup();
    return party;
}

} // namespace

Preferences::Preferences()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("orlensuits"),
                                             QStringLiteral("jumpsuit-designer")))
{
    // Version 1.2.0 kept the dealer in the application's default settings
    // file: it moves here once, so an update forgets nothing.
    if (dealer().empty()) {
        QSettings earlier;
        if (const state::OrderParty old = readParty(earlier); !old.empty()) {
            setDealer(old);
            earlier.remove(QLatin1String(kDealerGroup));
        }
    }
}

Preferences::Preferences(const QString& file)
    : m_settings(std::make_unique<QSettings>(file, QSettings::IniFormat))
{
}

Preferences::~Preferences() = default;

QString Preferences::dialogFolder() const
{
    return m_settings->value(QLatin1String(kFolderKey)).toString();
}

void Preferences::setDialogFolder(const QString& folder)
{
    m_settings->setValue(QLatin1String(kFolderKey), folder);
}

QStringList Preferences::recentFiles() const
{
    return m_settings->value(QLatin1String(kRecentKey)).toStringList();
}

void Preferences::setRecentFiles(const QStringList& files)
{
    m_settings->setValue(QLatin1String(kRecentKey), files);
}

std::optional<int> Preferences::zoom() const
{
    bool ok = false;
    const int percent = m_settings->value(QLatin1String(kZoomKey)).toInt(&ok);
    if (!ok || !isZoomStep(percent))
        return std::nullopt;
    return percent;
}

void Preferences::setZoom(int percent)
{
    m_settings->setValue(QLatin1String(kZoomKey), percent);
}

std::optional<QPoint> Preferences::windowPosition() const
{
    const QVariant value = m_settings->value(QLatin1String(kPositionKey));
    if (!value.canConvert<QPoint>() || value.isNull())
        return std::nullopt;
    return value.toPoint();
}

void Preferences::setWindowPosition(const QPoint& topLeft)
{
    m_settings->setValue(QLatin1String(kPositionKey), topLeft);
}

state::OrderParty Preferences::dealer() const
{
    return readParty(*m_settings);
}

void Preferences::setDealer(const state::OrderParty& dealer)
{
    if (dealer.empty())
        return;
    m_settings->beginGroup(QLatin1String(kDealerGroup));
    m_settings->setValue(QStringLiteral("name"), QString::fromStdString(dealer.name));
    m_settings->setValue(QStringLiteral("address"), QString::fromStdString(dealer.address));
    m_settings->setValue(QStringLiteral("phone"), QString::fromStdString(dealer.phone));
    m_settings->setValue(QStringLiteral("email"), QString::fromStdString(dealer.email));
    m_settings->endGroup();
}

void Preferences::sync()
{
    m_settings->sync();
}

std::optional<QString> rememberedFolder(const QString& remembered)
{
    if (remembered.isEmpty() || !QFileInfo(remembered).isDir())
        return std::nullopt;
    return QDir(remembered).absolutePath();
}

std::optional<QPoint> visiblePosition(const QPoint& topLeft, const QSize& frame, const QList<QRect>& screens)
{
    const int edge = std::min(100, std::max(frame.width(), 1));
    for (const QRect& screen : screens) {
        if (screen.contains(topLeft) && screen.contains(topLeft + QPoint(edge - 1, 0)))
            return topLeft;
    }
    return std::nullopt;
}

} // namespace app
