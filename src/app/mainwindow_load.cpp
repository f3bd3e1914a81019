// Start-up of the main window, step by step in its fixed order. The palettes
// are drawn by the lists' selection events that selecting entries in code
// raises, exactly as a user's click would.
#include "app/mainwindow.h"

#include "app/preferences.h"
#include "bitmaps.h"
#include "catalogue/catalogue.h"
#include "render/drawing.h"
#include "render/qtcolour.h"
#include "toolkit/drawingframe.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/palettesurface.h"
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

#include <span>
#include <string_view>
#include <utility>

namespace app {

namespace {

using tk::qs;

// Clearing with the one-pixel picture leaves the whole surface in its colour.
void clearWithPicture(tk::PictureSurface* surface, const QImage& clearing)
{
    if (!clearing.isNull())
        surface->setBackground(render::fromQRgb(clearing.pixel(0, 0)));
    surface->clear();
}

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

    // 4. The area and fabric lists, model by model.
    auto addAreas = [](tk::ListBox* list, std::span<const cat::AreaDefault> areas) {
        for (const cat::AreaDefault& area : areas)
            list->addEntry(qs(area.name));
    };
    for (int m = 0; m < cat::kModelCount; ++m) {
        const auto mi = static_cast<std::size_t>(m);
        const cat::SuitModel& model = cat::kModels[m];
        addAreas(m_controls.areaLists[mi], model.areas);
        if (m == cat::kBrisa)
            addAreas(m_controls.areaLists[cat::kBrisaBack], model.backAreas);
        for (std::string_view fabric : model.startFabrics)
            m_controls.fabricLists[mi]->addEntry(qs(fabric));
    }

    // 5. Clear the palettes, keys and drawings with the one-pixel picture.
    const QImage clearing = builtInBitmap(cat::kClearingPictureId);
    const int drawingTop = m_controls.drawings[0]->y() - m_panels[0].drawingFrame->contentsRect().y();
    for (int m = 0; m < cat::kModelCount; ++m) {
        const auto mi = static_cast<std::size_t>(m);
        // A drawing that reaches the top of its frame looks better in a flat frame.
        if (drawingTop < 10)
            m_panels[mi].drawingFrame->setAppearance(0);
        clearWithPicture(m_controls.palettes[mi], clearing);
        clearWithPicture(m_controls.colourKeys[mi], clearing);
        clearWithPicture(m_controls.drawings[mi], clearing);
    }
    clearWithPicture(m_controls.colourKeys[cat::kBrisaBack], clearing);

    // 6. The drawings, as the renderer gives them.
    for (int m = 0; m < cat::kModelCount; ++m) {
        tk::PictureSurface* drawing = m_controls.drawings[static_cast<std::size_t>(m)];
        drawing->drawBitmap(render::pristineDrawing(m));
        drawing->makePersistent();
    }

    // 7. File bookkeeping.
    for (state::ModelDesign& model : m_state.models) {
        model.fileName = cat::kUntitled;
        model.saved = false;
    }

    // 8. First area and start-up fabric of every model; their selection
    // events run before the area letters get their start values.
    for (int m = 0; m < cat::kModelCount; ++m) {
        const auto mi = static_cast<std::size_t>(m);
        const cat::SuitModel& model = cat::kModels[m];
        state::ModelDesign& design = m_state[m];
        m_controls.areaLists[mi]->selectByText(qs(model.areas.front().name));
        m_controls.fabricLists[mi]->selectByText(qs(model.startFabric));
        state::setDefaultLetters(design, m);
        for (int slot = 0; slot < cat::slotCount(m); ++slot)
            design.areaColour[static_cast<std::size_t>(slot)] = cat::kNoColour;
        if (m == cat::kBrisa)
            m_controls.areaLists[cat::kBrisaBack]->selectByText(qs(model.backAreas.front().name));
    }

    // 9. Divide the colour keys into their slots: keys 0-6, Brisa's back key, key 7.
    constexpr int kKeyOrder[] = {0, 1, 2, 3, 4, 5, 6, cat::kBrisaBack, 7};
    for (int key : kKeyOrder) {
        tk::PictureSurface* surface = m_controls.colourKeys[static_cast<std::size_t>(key)];
        const int slotsInKey = cat::keySlots(key);
        const int h = state::roundToInt16(static_cast<double>(surface->drawableHeight()) / slotsInKey);
        for (int i = 1; i < slotsInKey; ++i)
            surface->line(0, i * h, surface->drawableWidth(), i * h, cat::kBoundary);
        surface->makePersistent();
        if (key == cat::kBrisaBack)
            surface->hide();
    }

    // 10. The key fill points, from the ten-slot key.
    const tk::PictureSurface* tenSlots = m_controls.colourKeys[cat::kBrisa];
    state::computeKeyPoints(m_state, tenSlots->drawableWidth(), tenSlots->drawableHeight());

    // 11. The menu commands.
    for (QAction* command : m_menuCommands)
        command->setEnabled(true);
    for (QAction* command : m_sheetCommands)
        command->setEnabled(true);
    m_orderDetails->setEnabled(true);

    // 12. The folder the file dialogs start in.
    // The folder remembered from the last run, while it exists.
    const std::optional<QString> remembered =
        m_preferences != nullptr ? rememberedFolder(m_preferences->dialogFolder()) : std::nullopt;
    m_state.dialogFolder =
        (remembered ? *remembered : firstDialogFolder(QCoreApplication::applicationDirPath())).toStdString();

    // 13. Welcome message and news.
    m_panels[0].newsPanel->setText(qs(cat::kWelcome));
    m_newsIndex = 0;
    for (int m = 1; m < cat::kModelCount; ++m)
        m_panels[static_cast<std::size_t>(m)].newsPanel->setText(qs(cat::kNews[1]));

    // 14. The information panels start hidden.
    for (PagePanels& p : m_panels)
        p.infoFrame->hide();
    m_panels[0].orderFrame->hide();

    // 15. Headings and information texts.
    for (int m = 0; m < cat::kModelCount; ++m) {
        PagePanels& p = m_panels[static_cast<std::size_t>(m)];
        p.modelPanel->setText(qs(cat::kModels[m].heading));
        p.suitInfoText->setText(qs(cat::kModels[m].info));
    }

    // 16. Show the window, at its zoom.
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

    // 17. Panel buttons, ordering text and the focus.
    for (PagePanels& p : m_panels) {
        p.selectionButton->setEnabled(false);
        p.orderInfoText->setText(qs(cat::kOrderingText));
    }
    m_panels[0].suitInfoButton->setFocus();
    m_timer->start();

    // 18. The main window is ready: the splash goes.
    if (m_splash)
        m_splash->close();
}

} // namespace app
