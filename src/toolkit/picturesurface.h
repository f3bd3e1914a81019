#pragma once

#include "catalogue/colour.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

#include <functional>

class QPainter;

namespace tk {

// A picture surface: a widget over an exact 32-bit image addressed in pixels
// (x right, y down). What is drawn stays in the image until it is cleared, so
// later fills see earlier ones. The image's pixels are never smoothed or
// dithered. On screen, a whole scale factor (2, 3) shows each pixel as a square
// of device pixels in its exact colour; a fractional one (1.25, 1.5) shows the
// image at the next whole factor, smoothly scaled down, so every line keeps
// one width.
//
// At a zoom (setZoom) the widget is the layout size enlarged, the image keeps
// its pixels, and pointer positions are reported in image pixels: the picture
// is shown as a screen scale factor of the zoom's size would show it.
//
// The widget may draw a thin frame (`border` pixels wide) around the image;
// the image is the drawable area, so the widget's outer size is the drawable
// size plus twice the border.
//
// Box and line end points follow the usual pixel convention: the far end point
// is not drawn, so a box from (x, y) to (x + 14, y + 14) covers 14 x 14 pixels.
class PictureSurface : public QWidget {
    Q_OBJECT

public:
    PictureSurface(const QString& name, int index, const QString& accessibleName, QWidget* parent);

    int index() const { return m_index; }

    // Places the widget by its outer rectangle (parent pixels) and resizes the
    // image to fit inside the border; the image is cleared to the background.
    void setOuterGeometry(int x, int y, int width, int height);
    // Sizes the drawable area exactly; the outer size follows. A new size
    // clears the image to the background; the same size keeps the picture.
    void setDrawableSize(int width, int height);
    int drawableWidth() const { return m_image.width(); }
    int drawableHeight() const { return m_image.height(); }

    // Keeps the drawable size (and the picture); the outer size follows.
    void setBorder(int pixels);
    int border() const { return m_border; }
    // 1 draws the frame sunken (3-D), 0 flat; the geometry does not change.
    void setAppearance(int appearance);
    int appearance() const { return m_appearance; }

    // The colour clear() paints; setting it does not clear by itself.
    void setBackground(cat::Colour colour);
    cat::Colour background() const { return m_background; }

    void clear();
    void drawBitmap(const QImage& bitmap); // at (0, 0), clipped to the surface
    void line(int x1, int y1, int x2, int y2, cat::Colour colour);
    void box(int x1, int y1, int x2, int y2, cat::Colour colour);
    void filledBox(int x1, int y1, int x2, int y2, cat::Colour colour);
    // Border fill bounded by pure black; returns the pixels painted, and
    // shows them.
    std::size_t floodFill(int x, int y, cat::Colour fill);
    // Shows what has been drawn (the image is already persistent). What the
    // surface's own drawing functions drew is shown already; anything
    // painted through imageForPainting() makes the whole picture shown anew.
    void makePersistent();
    // Shows what has been drawn inside `painted` (image pixels); a null
    // rectangle shows nothing. Everything painted through imageForPainting()
    // since the last call must lie inside it.
    void makePersistent(const QRect& painted);
    // The same for pieces painted apart (the regions of one area), shown
    // together: each piece is enlarged again on its own.
    void makePersistent(const QRegion& painted);

    // kNoPixel for a point outside the drawable area.
    cat::Colour pixel(int x, int y) const;
    static constexpr cat::Colour kNoPixel = 0xffffffffU;
    const QImage& image() const { return m_image; }
    // The image itself, for plain painting functions; makePersistent() shows
    // what they painted.
    QImage& imageForPainting() { return m_image; }

    // What pointing at the surface shows: a tooltip (none when `tip` is
    // empty), kept up to date while it is open, and the pointing hand or the
    // arrow.
    void setPointerHelp(const QString& tip, bool pointing);

    // The zoom in percent (100: one image pixel a layout pixel). The widget's
    // size follows from the drawable size, the border and the zoom.
    void setZoom(int percent);
    int zoom() const { return m_zoom; }
    // The outer size at zoom 100.
    QSize layoutSize() const { return {m_image.width() + 2 * m_border, m_image.height() + 2 * m_border}; }
    // A widget position as a position on the layout (border included).
    QPointF toLayout(const QPointF& widgetPosition) const;
    // A rectangle of the layout (border included) as widget pixels, rounded outwards.
    QRect toWidget(const QRect& layout) const;

    QSize sizeHint() const override;

    // The image pixel holding position `at` (pixel x covers [x, x + 1);
    // it may lie outside the image), or (-1, -1) for a position no pixel
    // could hold (not finite, or beyond a million).
    static QPoint pixelAt(const QPointF& at);

signals:
    // Positions are in image pixels, as real numbers.
    void pointerMoved(int index, QPointF at);
    // The left button released; the other buttons do nothing here.
    void leftReleased(int index, QPointF at);

protected:
    // Scales the painter from layout pixels to the widget's own.
    void scaleToLayout(QPainter& painter) const;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void resizeImage(int width, int height);

    // The picture enlarged by a whole factor, each pixel a square. Kept
    // between paints: only the pixels changed since are enlarged again.
    const QImage& sharpAt(int factor) const;
    // The kept picture (m_sharp) at `size`, made again whole when its size
    // or the picture changed unreported, else only where `redo` is told.
    const QImage& keptPicture(const QSize& size, const std::function<void(const QRect&)>& redo) const;
    // The picture as 150 % on a screen of scale 1 shows it (threeHalves),
    // kept the same way; null where the surface is not shown so.
    bool showsThreeHalves() const;
    // Draws the dirty parts of a picture shown one to one at `origin`
    // (widget pixels, painter untransformed).
    static void drawDirty(QPainter& painter, const QPaintEvent& event, const QImage& picture,
                          const QPoint& origin);
    const QImage& threeHalvesPicture() const;
    // Writes the dirty parts of the picture at three halves straight into
    // the device the painter paints on, where that is a plain 32-bit
    // picture (the window's); false, writing nothing, elsewhere.
    bool writeThreeHalves(QPainter& painter, const QPaintEvent& event, const QPoint& origin) const;
    // Marks image pixels as changed: they are repainted on screen and
    // enlarged again. Changes made through imageForPainting() that nobody
    // reported count as changing the whole picture.
    void changed(const QRect& pixels, bool unreportedBefore);
    void changed(const QRegion& pixels);
    void changedAll();
    // [left, right) x [top, bottom) clipped to the image; null when empty.
    QRect insideImage(long long left, long long top, long long right, long long bottom) const;
    bool unreportedChanges() const { return m_image.cacheKey() != m_reportedKey; }
    // Paints [left, right) x [top, bottom), clipped to the image.
    void fillRect(long long left, long long top, long long right, long long bottom, QRgb colour);

    int m_index;
    int m_border = 0;
    int m_appearance = 1;
    int m_zoom = 100;
    cat::Colour m_background = cat::kLightGrey;
    QImage m_image;         // Format_RGB32
    mutable QImage m_sharp; // what sharpAt() or threeHalvesPicture() made last
    // The image's cache key after the last change the surface knows of:
    // any other key means pixels changed that nobody reported.
    qint64 m_reportedKey = 0;
    // Image pixels changed since m_sharp was brought up to date.
    mutable QRegion m_stale;
};

} // namespace tk
