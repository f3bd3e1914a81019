#pragma once

#include <QFont>
#include <QImage>
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

// A picture at three halves of its size, as the screen shows pictures at
// 150 %: every 2 x 2 pixels become 3 x 3, the outer ones the pixels
// themselves, the middle ones the average of the two or four pixels they lie
// between (rounded down). One-pixel lines stay one width and flat areas keep
// their exact colour, as the picture enlarged to twice its size and scaled
// down smoothly would show them; it costs a copy and an average a pixel.
// The size is rounded up; the last block of an odd size is the edge pixels.
QSize threeHalvesSize(const QSize& picture);
QImage threeHalves(const QImage& picture);
// Brings `target` (threeHalvesSize, Format_RGB32) up to date for the picture
// pixels in `changed`.
void threeHalves(const QImage& picture, const QRect& changed, QImage& target);
// Writes exactly the pixels `screen` of the picture at three halves (the
// part inside it) to `to`, where (screen.left, screen.top) goes, rows
// `stride` pixels apart: straight into a screen's picture, no copy between.
void threeHalves(const QImage& picture, const QRect& screen, QRgb* to, qsizetype stride);

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
