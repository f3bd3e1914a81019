#pragma once

#include "state/order_details.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSettings;

namespace app {

// What the designer remembers between runs, in one settings file: the file
// dialogs' folder, the recent files, the zoom, the window's position and the
// dealer last entered in an order. Nothing else is kept; a value missing or
// out of range reads as not remembered.
class Preferences final {
public:
    // The user's settings (under Qt's test folder while
    // QStandardPaths::setTestModeEnabled is on).
    Preferences();
    // Settings kept in one file, for tests and tools.
    explicit Preferences(const QString& file);
    ~Preferences();
    Preferences(const Preferences&) = delete;
    Preferences& operator=(const Preferences&) = delete;

    QString dialogFolder() const;
    void setDialogFolder(const QString& folder);
    QStringList recentFiles() const;
    void setRecentFiles(const QStringList& files);
    std::optional<int> zoom() const; // a zoom step, or nothing
    void setZoom(int percent);
    std::optional<QPoint> windowPosition() const;
    void setWindowPosition(const QPoint& topLeft);
    state::OrderParty dealer() const;
    void setDealer(const state::OrderParty& dealer); // an empty dealer is not kept

    void sync();

private:
    std::unique_ptr<QSettings> m_settings;
};

// A remembered dialog folder, while it still exists; nothing otherwise (the
// first-folder rule applies then).
std::optional<QString> rememberedFolder(const QString& remembered);

// A remembered window position, kept when the window's title bar would be on
// a screen: its top-left corner and at least 100 pixels of its top edge (or
// all of it, when narrower) inside one screen's available area. Nothing
// otherwise: the window is centred then.
std::optional<QPoint> visiblePosition(const QPoint& topLeft, const QSize& frame, const QList<QRect>& screens);

} // namespace app
