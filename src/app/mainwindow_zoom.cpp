// Zoom: the page layout at a larger size. The window's content is the layout
// enlarged by the zoom step; texts are laid out at the larger size, pictures
// enlarged. A zoom command resizes the window (within the screen's available
// area); resizing the window chooses the largest step that fits it.
#include "app/mainwindow.h"

#include "app/zoom.h"
#include "catalogue/catalogue.h"
#include "toolkit/statuspanel.h"
#include "toolkit/tabstrip.h"
#include "toolkit/zoom.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>

namespace app {

QString tabRowStyle(int percent)
{
    auto z = [percent](int pixels) { return tk::zoomed(pixels, percent); };
    return QStringLiteral("QTabBar::tab { padding: %1px %2px; margin-right: %3px; border: %3px solid #a6a6a6;"
                          " border-bottom: none; border-top-left-radius: %4px; border-top-right-radius: %4px;"
                          " background: #e2e2e2; }"
                          "QTabBar::tab:selected { background: palette(window); margin-bottom: -%3px; }"
                          "QTabBar::tab:!selected { margin-top: %5px; }")
        .arg(z(3))
        .arg(z(7))
        .arg(std::max(1, percent / 100))
        .arg(z(3))
        .arg(z(2));
}

void MainWindow::buildViewMenu()
{
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("viewMnu"));
    auto add = [this, view](const char* name, const QString& caption, const QList<QKeySequence>& keys) {
        QAction* action = view->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(keys);
        return action;
    };
    m_zoomCommands[0] = add("zoomInMnu", QStringLiteral("Zoom In"),
                            {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    m_zoomCommands[1] =
        add("zoomOutMnu", QStringLiteral("Zoom Out"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    m_zoomCommands[2] =
        add("zoomResetMnu", QStringLiteral("Actual Size"), {QKeySequence(Qt::CTRL | Qt::Key_0)});
    connect(m_zoomCommands[0], &QAction::triggered, this,
            [this] { zoomTo(zoomStepIn(m_zoomPercent), true); });
    connect(m_zoomCommands[1], &QAction::triggered, this,
            [this] { zoomTo(zoomStepOut(m_zoomPercent), true); });
    connect(m_zoomCommands[2], &QAction::triggered, this, [this] { zoomTo(100, true); });
}

void MainWindow::setZoom(int percent)
{
    if (!isZoomStep(percent))
        return;
    if (!m_loaded) {
        m_zoomPercent = percent; // start-up applies it
        return;
    }
    zoomTo(percent, false);
}

QRect MainWindow::availableArea() const
{
    const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void MainWindow::zoomTo(int percent, bool withinScreen)
{
    if (!m_loaded || !isZoomStep(percent) || percent == m_zoomPercent)
        return;
    const bool sized = isMaximized() || isFullScreen();
    const QSize decorations = frameGeometry().size() - geometry().size();
    const QSize wanted = windowSize(m_zoomGeometry, percent);
    // A maximised window keeps its size: a step that does not fit it is not taken.
    if (sized) {
        const QSize room = centralWidget()->size();
        const QSize content = contentSize(m_zoomGeometry, percent);
        if (content.width() > room.width() || content.height() > room.height())
            return;
        applyZoom(percent);
        return;
    }
    const QRect area = availableArea();
    if (withinScreen && percent > m_zoomPercent &&
        !windowFits(m_zoomGeometry, percent, decorations, area.size()))
        return;
    applyZoom(percent);
    m_applyingZoom = true;
    resize(wanted);
    m_applyingZoom = false;
    // Kept inside the available area: a larger window moves left and up.
    const QPoint kept = keptInside(QRect(frameGeometry().topLeft(), wanted + decorations), area);
    if (kept != frameGeometry().topLeft())
        move(kept);
}

void MainWindow::onCanvasResized(const QSize& size)
{
    if (!m_loaded || m_applyingZoom)
        return;
    const int fitting = largestFittingZoom(m_zoomGeometry, size);
    if (fitting != m_zoomPercent)
        applyZoom(fitting);
}

void MainWindow::applyZoom(int percent)
{
    m_zoomPercent = percent;
    m_layoutZoom->apply(percent);
    tk::TabStrip* tabs = m_controls.tabs;
    // The tab row's style sheet takes its font from the tab strip: given
    // explicitly, also at 100 %, so that the row is laid out as at first.
    tabs->setFont(tk::zoomedFont(font(), percent));
    const QString style = tabRowStyle(percent);
    if (tabs->tabBar()->styleSheet() != style)
        tabs->tabBar()->setStyleSheet(style);
    alignViewOptions();
    if (percent != 100) {
        // Texts that had to fit their controls at 100 % are fitted again: text
        // does not grow exactly with the zoom.
        const PagePanels& first = m_panels[0];
        const QFont captions =
            captionFont({first.selectionButton, first.suitInfoButton, first.orderInfoButton});
        const QFont status =
            tk::StatusPanel::fittingFont(first.newsPanel->font(), statusTexts(),
                                         static_cast<tk::StatusPanel*>(first.newsPanel)->textWidth());
        for (const PagePanels& p : m_panels) {
            for (QPushButton* b : {p.selectionButton, p.suitInfoButton, p.orderInfoButton})
                b->setFont(captions);
            p.newsPanel->setFont(status);
            p.modelPanel->setFont(status);
        }
    }
    m_canvas->setContentSize(contentSize(m_zoomGeometry, percent));
    m_zoomCommands[0]->setEnabled(zoomStepIn(percent) != percent);
    m_zoomCommands[1]->setEnabled(zoomStepOut(percent) != percent);
    m_zoomCommands[2]->setEnabled(percent != 100);
    emit zoomChanged(percent);
}

} // namespace app
