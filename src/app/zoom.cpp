#include "app/zoom.h"

#include "toolkit/zoom.h"

#include <QResizeEvent>

#include <algorithm>

namespace app {

bool isZoomStep(int percent)
{
    return std::find(kZoomSteps.begin(), kZoomSteps.end(), percent) != kZoomSteps.end();
}

int zoomStepIn(int percent)
{
    const auto* next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), percent);
    return next != kZoomSteps.end() ? *next : percent;
}

int zoomStepOut(int percent)
{
    const auto* below = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), percent);
    return below != kZoomSteps.begin() ? *(below - 1) : percent;
}

QSize contentSize(const ZoomGeometry& geometry, int percent)
{
    if (percent == 100)
        return geometry.content;
    const int pages = geometry.content.height() - geometry.tabRow;
    return {tk::zoomed(geometry.content.width(), percent),
            tk::zoomed(pages, percent) + tk::zoomed(geometry.tabRow, percent) + 1};
}

QSize windowSize(const ZoomGeometry& geometry, int percent)
{
    return contentSize(geometry, percent) + QSize(0, geometry.menuBar);
}

bool windowFits(const ZoomGeometry& geometry, int percent, const QSize& decorations, const QSize& available)
{
    const QSize outer = windowSize(geometry, percent) + decorations;
    return outer.width() <= available.width() && outer.height() <= available.height();
}

int largestFittingZoom(const ZoomGeometry& geometry, const QSize& room)
{
    int best = kZoomSteps.front();
    for (int step : kZoomSteps) {
        const QSize size = contentSize(geometry, step);
        if (size.width() <= room.width() && size.height() <= room.height())
            best = step;
    }
    return best;
}

int firstStartZoom(const ZoomGeometry& geometry, const QSize& available)
{
    int best = kZoomSteps.front();
    for (int step : kZoomSteps) {
        const QSize size = windowSize(geometry, step);
        if (size.height() * 3 <= available.height() * 2 && size.width() <= available.width())
            best = step;
    }
    return best;
}

ZoomCanvas::ZoomCanvas(QWidget* content, QWidget* parent)
    : QWidget(parent)
    , m_content(content)
{
    setObjectName(QStringLiteral("zoomCanvas"));
    m_content->setParent(this);
}

void ZoomCanvas::setContentSize(const QSize& size)
{
    m_contentSize = size;
    centre();
}

void ZoomCanvas::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit resized(event->size());
    centre();
}

void ZoomCanvas::centre()
{
    const QSize size = m_contentSize.isValid() ? m_contentSize : this->size();
    m_content->setGeometry(std::max(0, (width() - size.width()) / 2),
                           std::max(0, (height() - size.height()) / 2), size.width(), size.height());
}

} // namespace app
