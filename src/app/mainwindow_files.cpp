// Files as users expect to reach them: File > Open Recent, files dropped on
// the window or handed over by a second start, and what is remembered
// between runs. Every file opens on its model's tab, as one named on the
// command line does.
#include "app/mainwindow.h"

#include "app/preferences.h"
#include "app/recent_files.h"
#include "catalogue/catalogue.h"
#include "commands/file_commands.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"

#include <QAction>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

namespace app {

void MainWindow::setPreferences(Preferences* preferences)
{
    m_preferences = preferences;
    if (m_preferences != nullptr) {
        m_recent.clear();
        // Only what still reads as a list of paths, newest first, at most ten.
        const QStringList stored = m_preferences->recentFiles();
        for (auto file = stored.crbegin(); file != stored.crend(); ++file)
            if (!file->isEmpty())
                m_recent = withRecentFile(m_recent, *file);
    }
    showRecentFiles();
}

void MainWindow::showRecentFiles()
{
    if (m_recentMenu == nullptr)
        return;
    m_recentMenu->clear();
    for (int i = 0; i < m_recent.size(); ++i) {
        const QString path = m_recent.at(i);
        QAction* entry = m_recentMenu->addAction(recentFileCaption(i + 1, path));
        entry->setObjectName(QStringLiteral("recentFile%1").arg(i));
        entry->setToolTip(path);
        entry->setStatusTip(path);
        // Queued: the list is refilled by opening the file, under the menu's feet.
        connect(entry, &QAction::triggered, this, [this, path] {
            QMetaObject::invokeMethod(
                this, [this, path] { openRecent(path); }, Qt::QueuedConnection);
        });
    }
    m_recentMenu->addSeparator();
    QAction* clear = m_recentMenu->addAction(QStringLiteral("Clear List"));
    clear->setObjectName(QStringLiteral("clearRecentMnu"));
    clear->setEnabled(!m_recent.isEmpty());
    connect(clear, &QAction::triggered, this, &MainWindow::clearRecentFiles);
    m_recentMenu->menuAction()->setEnabled(!m_recent.isEmpty());
}

void MainWindow::rememberFile(const QString& path)
{
    m_recent = withRecentFile(m_recent, path);
    showRecentFiles();
    savePreferences();
}

void MainWindow::openRecent(const QString& path)
{
    if (!m_files->openNamedFileAsking(path) && !QFileInfo::exists(path)) {
        // Said by the open; a file gone is no longer offered.
        m_recent = withoutRecentFile(m_recent, path);
        showRecentFiles();
        savePreferences();
    }
}

void MainWindow::clearRecentFiles()
{
    m_recent.clear();
    showRecentFiles();
    savePreferences();
}

void MainWindow::openFiles(const QStringList& paths)
{
    for (const QString& path : paths)
        m_files->openNamedFileAsking(path);
}

void MainWindow::comeToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (windowHandle() != nullptr)
        windowHandle()->requestActivate();
}

void MainWindow::copyPicture()
{
    const int m = m_controls.tabs->currentTab();
    if (cat::isModelIndex(m))
        QGuiApplication::clipboard()->setImage(m_controls.drawings[static_cast<std::size_t>(m)]->image());
}

void MainWindow::savePreferences(bool withPosition)
{
    if (m_preferences == nullptr || !m_loaded)
        return;
    m_preferences->setRecentFiles(m_recent);
    m_preferences->setDialogFolder(QString::fromStdString(m_state.dialogFolder));
    if (withPosition && isVisible() && !isMaximized() && !isFullScreen())
        m_preferences->setWindowPosition(pos());
    m_preferences->sync();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() || event->mimeData()->hasText())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    QStringList paths;
    if (data->hasUrls()) {
        for (const QUrl& url : data->urls())
            paths << (url.isLocalFile() ? url.toLocalFile() : url.toString());
    } else {
        paths << data->text().trimmed();
    }
    event->acceptProposedAction();
    // After the drop has ended: an open may ask a question first.
    QMetaObject::invokeMethod(
        this, [this, paths] { openFiles(paths); }, Qt::QueuedConnection);
}

} // namespace app
