#pragma once

#include <QSize>
#include <QWidget>

#include <array>

namespace app {

// The zoom steps in percent, smallest first; 100 is the layout's own size.
inline constexpr std::array<int, 7> kZoomSteps{100, 125, 150, 175, 200, 250, 300};

bool isZoomStep(int percent);
// The next step up or down; the same percent where there is none.
int zoomStepIn(int percent);
int zoomStepOut(int percent);

// The window's content at 100 %: the tab strip with its pages, and the part
// of its height that is the strip's own tab row. The pages are enlarged with
// the zoom; the tab row grows with its font.
struct ZoomGeometry {
    QSize content;  // the tab strip at 100 %
    int tabRow = 0; // its tab row at 100 %
    int menuBar = 0;
};

// The tab strip's size at a zoom. The tab row is given a pixel to spare at
// every zoom above 100 %, for text that does not grow exactly in proportion.
QSize contentSize(const ZoomGeometry& geometry, int percent);
// The window's (undecorated) size at a zoom: the content and the menu bar.
QSize windowSize(const ZoomGeometry& geometry, int percent);
// Whether the window at a zoom, with its decorations, fits the screen's
// available area: a zoom command does not make a window larger than that.
bool windowFits(const ZoomGeometry& geometry, int percent, const QSize& decorations, const QSize& available);
// The largest step whose content fits `room`; 100 when none does.
int largestFittingZoom(const ZoomGeometry& geometry, const QSize& room);
// The zoom of a first start: the largest step at which the window is at most
// two thirds of the screen's available height (and fits its width); 100 at
// the least.
int firstStartZoom(const ZoomGeometry& geometry, const QSize& available);

// The main window's central widget: the content (the tab strip) at its
// zoomed size, centred on the window's background. A larger window shows
// more background; resized() lets the window choose another step.
class ZoomCanvas final : public QWidget {
    Q_OBJECT

public:
    ZoomCanvas(QWidget* content, QWidget* parent);

    // Sizes the content and centres it.
    void setContentSize(const QSize& size);

signals:
    void resized(const QSize& size);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void centre();

    QWidget* m_content;
    QSize m_contentSize;
};

} // namespace app
