// Start-up of the main window, step by step in its fixed order. The palettes
// are drawn by the lists' selection events that selecting entries in code
// raises, exactly as a user's click would.
#include "app/mainwindow.h"

#include "app/preferences.h"
#include "catalogue/catalogue.h"
#include "toolkit/drawingframe.h"
#include "toolkit/names.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"
#include "toolkit/textbox.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTabBar>
#include <QTimer>
#include <QWindow>

#include <utility>

namespace app {

namespace {

using tk::qs;

// The window's outer size for the page layout: the pages need 9332 x 5688 twips.
constexpr int kPageWidth = 9332;
constexpr int kPageHeight = 5700;

QRect screenContaining(const QList<QRect>& screens, const QPoint& point)
{
    for (const QRect& screen : screens)
        if (screen.contains(point))
            return screen;
    return screens.isEmpty() ? QRect() : screens.front();
}

} // namespace

QPoint startPosition(const QSize& frame, const QRect& screen)
{
    const int left = (screen.width() - frame.width()) / 2;
    const int top = (screen.height() - frame.height()) / 2;
    if (left <= 0)
        return screen.topLeft() + QPoint(tk::px(-48), tk::px(-48));
    return screen.topLeft() + QPoint(left, top);
}

QString firstDialogFolder(const QString& programFolder)
{
    // A build or an unpacked copy run in place keeps designs beside it. An
    // installed program's folder belongs to the system (even where root may
    // write to it): designs go to the user's documents there.
    const QFileInfo own(programFolder);
    const QString canonical = own.canonicalFilePath();
    bool systemFolder = false;
    for (const char* system : {"/usr", "/bin", "/sbin", "/opt", "/snap"}) {
        const QString root = QString::fromLatin1(system);
        systemFolder = systemFolder || canonical == root || canonical.startsWith(root + QLatin1Char('/'));
    }
    if (own.isDir() && own.isWritable() && !systemFolder)
        return own.absoluteFilePath();
    // Made when a dialog first opens there (tk::prepareInitialFolder), not
    // at every start.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QFileInfo place(documents);
    if (!documents.isEmpty() &&
        (place.isDir() || (!place.exists() && QFileInfo(place.absolutePath()).isDir())))
        return documents;
    return QDir::homePath();
}

QPoint keptInside(const QRect& frame, const QRect& area)
{
    QRect kept = frame;
    if (kept.right() > area.right())
        kept.moveRight(area.right());
    if (kept.bottom() > area.bottom())
        kept.moveBottom(area.bottom());
    kept.moveLeft(std::max(kept.left(), area.left()));
    kept.moveTop(std::max(kept.top(), area.top()));
    return kept.topLeft();
}

ZoomGeometry MainWindow::layoutGeometry() const
{
    const int tabRow = m_controls.tabs->tabBar()->sizeHint().height();
    return {QSize(tk::px(kPageWidth) + 16, tk::px(kPageHeight) + tabRow + 8), tabRow,
            menuBar()->sizeHint().height()};
}

void MainWindow::placeOnScreen()
{
    const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
    // Where the window was left, while that is on a screen.
    if (m_preferences != nullptr) {
        if (const std::optional<QPoint> position = m_preferences->windowPosition()) {
            QList<QRect> screens;
            for (const QScreen* each : QGuiApplication::screens())
                screens << each->availableGeometry();
            if (const std::optional<QPoint> visible =
                    visiblePosition(*position, frameGeometry().size(), screens)) {
                move(
                    keptInside(QRect(*visible, frameGeometry().size()), screenContaining(screens, *visible)));
                return;
            }
        }
    }
    move(startPosition(frameGeometry().size(), area));
}

void MainWindow::startUp()
{
    if (m_loaded)
        return;
    m_loaded = true;
    using tk::px;

    // 1. Size the window to the page layout and centre it on the screen. The
    // layout is the smallest the window gets; a larger window shows it
    // zoomed (mainwindow_zoom.cpp), and the zoom is applied once the layout
    // is complete, before the window shows. Until the window manager has
    // decorated the window its frame size is the bare window's; the window is
    // placed again, by its decorated size, when it is first exposed.
    m_zoomGeometry = layoutGeometry();
    const QSize layout = windowSize(m_zoomGeometry, 100);
    setMinimumSize(layout);
    resize(layout);
    placeOnScreen();

    // 2. Size each drawing to its picture and centre it in its frame.
    for (int m = 0; m < cat::kModelCount; ++m) {
        const cat::SuitModel& model = cat::kModels[m];
        const PagePanels& p = m_panels[static_cast<std::size_t>(m)];
        tk::PictureSurface* drawing = m_controls.drawings[static_cast<std::size_t>(m)];
        drawing->setDrawableSize(model.pictureWidth, model.pictureHeight);
        const QRect inside = p.drawingFrame->contentsRect();
        const int left = (inside.width() - drawing->drawableWidth()) / 2;
        const int top = (inside.height() - drawing->drawableHeight()) / 2;
        drawing->move(inside.x() + left, inside.y() + top);
    }

    // 3. The caption.
    setWindowTitle(qs(cat::kAppTitle) + QStringLiteral(" [Untitled]"));

    // 4. A drawing that reaches the top of its frame looks better in a flat frame.
    const int drawingTop = m_controls.drawings[0]->y() - m_panels[0].drawingFrame->contentsRect().y();
    if (drawingTop < 10)
        for (const PagePanels& panels : m_panels)
            panels.drawingFrame->setAppearance(0);

    // 5. The pages' contents: lists, pictures, first choices, colour keys.
    m_designer->startPages();

    // 6. The menu commands.
    for (QAction* command : m_menuCommands)
        command->setEnabled(true);
    for (QAction* command : m_sheetCommands)
        command->setEnabled(true);
    m_orderDetails->setEnabled(true);

    // 7. The folder the file dialogs start in.
    // The folder remembered from the last run, while it exists.
    const std::optional<QString> remembered =
        m_preferences != nullptr ? rememberedFolder(m_preferences->dialogFolder()) : std::nullopt;
    m_state.dialogFolder =
        (remembered ? *remembered : firstDialogFolder(QCoreApplication::applicationDirPath())).toStdString();

    // 8. Welcome message and news.
    m_panels[0].newsPanel->setText(qs(cat::kWelcome));
    m_newsIndex = 0;
    for (int m = 1; m < cat::kModelCount; ++m)
        m_panels[static_cast<std::size_t>(m)].newsPanel->setText(qs(cat::kNews[1]));

    // 9. The information panels start hidden.
    for (PagePanels& p : m_panels)
        p.infoFrame->hide();
    m_panels[0].orderFrame->hide();

    // 10. Headings and information texts.
    for (int m = 0; m < cat::kModelCount; ++m) {
        PagePanels& p = m_panels[static_cast<std::size_t>(m)];
        p.modelPanel->setText(qs(cat::kModels[m].heading));
        p.suitInfoText->setText(qs(cat::kModels[m].info));
    }

    // 11. Show the window, at its zoom.
    const int percent = std::exchange(m_zoomPercent, 100);
    applyZoom(percent);
    if (percent != 100) {
        resize(windowSize(m_zoomGeometry, percent));
        placeOnScreen();
    }
    createWinId();
    windowHandle()->installEventFilter(this);
    m_placePending = true;
    show();

    // 12. Panel buttons, ordering text and the focus.
    for (PagePanels& p : m_panels) {
        p.selectionButton->setEnabled(false);
        p.orderInfoText->setText(qs(cat::kOrderingText));
    }
    m_panels[0].suitInfoButton->setFocus();
    m_timer->start();

    // 13. The main window is ready: the splash goes.
    if (m_splash)
        m_splash->close();
}

} // namespace app
