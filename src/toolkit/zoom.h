#pragma once

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <vector>

namespace tk {

// Layout pixels at a zoom in percent, rounded half away from zero.
constexpr int zoomed(int pixels, int percent)
{
    const long long scaled = static_cast<long long>(pixels) * percent;
    return static_cast<int>((scaled * 2 + (scaled >= 0 ? 100 : -100)) / 200);
}

// A rectangle of layout pixels at a zoom: its edges are scaled, so controls
// that touch in the layout still touch when zoomed.
QRect zoomedRect(const QRect& layout, int percent);

// A font at a zoom: the text is laid out at the larger size, not enlarged as
// a picture. Pixel sizes stay whole pixels, rounded down.
QFont zoomedFont(const QFont& font, int percent);

// The controls under a set of containers, laid out in layout pixels, shown at
// a zoom. The first apply() records every named control's geometry and font
// as the layout (zoom 100); later ones place and size the controls and
// set their fonts from that record. apply(100) gives back exactly what was
// recorded. Picture surfaces and list boxes also learn the zoom, so that
// pictures are enlarged and entries keep their place beside the keys.
//
// A control counts when it carries a readable name (tk::nameControl); the
// helpers inside Qt's own widgets (viewports, scroll bars) are left to their
// owners.
class LayoutZoom final {
public:
    explicit LayoutZoom(std::vector<QWidget*> containers);

    void apply(int percent);
    int percent() const { return m_percent; }

private:
    struct Control {
        QPointer<QWidget> widget;
        QRect geometry;
        QFont font;
    };
    void record(QWidget* container);

    std::vector<QWidget*> m_containers;
    std::vector<Control> m_controls;
    bool m_recorded = false;
    int m_percent = 100;
};

} // namespace tk
