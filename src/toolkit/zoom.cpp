#include "toolkit/zoom.h"

#include "toolkit/listbox.h"
#include "toolkit/picturesurface.h"

#include <QFontInfo>

#include <utility>

namespace tk {

QRect zoomedRect(const QRect& layout, int percent)
{
    const int left = zoomed(layout.x(), percent);
    const int top = zoomed(layout.y(), percent);
    return {left, top, zoomed(layout.x() + layout.width(), percent) - left,
            zoomed(layout.y() + layout.height(), percent) - top};
}

QFont zoomedFont(const QFont& font, int percent)
{
    QFont result = font;
    // Rounded down: a text never outgrows the control it was laid out for.
    if (font.pixelSize() > 0)
        result.setPixelSize(std::max(1, font.pixelSize() * percent / 100));
    else if (font.pointSizeF() > 0)
        result.setPointSizeF(font.pointSizeF() * percent / 100.0);
    return result;
}

LayoutZoom::LayoutZoom(std::vector<QWidget*> containers)
    : m_containers(std::move(containers))
{
}

void LayoutZoom::record(QWidget* container)
{
    for (QObject* child : container->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr || widget->isWindow() || widget->accessibleName().isEmpty())
            continue;
        m_controls.push_back({widget, widget->geometry(), widget->font()});
        record(widget);
    }
}

void LayoutZoom::apply(int percent)
{
    if (percent == m_percent)
        return;
    if (!m_recorded) {
        m_recorded = true;
        for (QWidget* container : m_containers)
            record(container);
    }
    m_percent = percent;
    // Outer controls first: a frame's children are placed inside its new size.
    for (const Control& control : m_controls) {
        QWidget* widget = control.widget;
        if (widget == nullptr)
            continue;
        // The recorded font itself at 100 %: inheriting it again would not
        // always give it back (class fonts and style sheets take part).
        widget->setFont(percent == 100 ? control.font : zoomedFont(control.font, percent));
        if (auto* surface = qobject_cast<PictureSurface*>(widget))
            surface->setZoom(percent);
        if (auto* list = qobject_cast<ListBox*>(widget))
            list->setZoom(percent);
        widget->setGeometry(zoomedRect(control.geometry, percent));
    }
}

} // namespace tk
