#include "toolkit/picturesurface.h"

#include "fill/floodfill.h"
#include "render/drawing.h"
#include "render/qtcolour.h"
#include "toolkit/names.h"
#include "toolkit/zoom.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace tk {

using render::fromQRgb;
using render::toQColor;
using render::toQRgb;

PictureSurface::PictureSurface(const QString& name, int index, const QString& accessibleName, QWidget* parent)
    : QWidget(parent)
    , m_index(index)
{
    nameControl(this, name, index, accessibleName);
    // Moves are reported with no button held, as the designer's hover help needs.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureSurface::resizeImage(int width, int height)
{
    m_image = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    m_image.fill(toQRgb(m_background));
    changedAll();
}

void PictureSurface::setOuterGeometry(int x, int y, int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    setGeometry(zoomedRect(QRect(x, y, width, height), m_zoom));
    resizeImage(width - 2 * m_border, height - 2 * m_border);
}

void PictureSurface::setDrawableSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width != m_image.width() || height != m_image.height())
        resizeImage(width, height);
    resize(sizeHint());
}

void PictureSurface::setBorder(int pixels)
{
    m_border = std::max(pixels, 0);
    resize(sizeHint());
    update();
}

void PictureSurface::setAppearance(int appearance)
{
    m_appearance = appearance;
    update();
}

void PictureSurface::setBackground(cat::Colour colour)
{
    m_background = colour & 0xffffffU;
}

void PictureSurface::setZoom(int percent)
{
    if (percent <= 0 || percent == m_zoom)
        return;
    m_zoom = percent;
    resize(sizeHint());
    update();
}

QSize PictureSurface::sizeHint() const
{
    const QSize layout = layoutSize();
    return {zoomed(layout.width(), m_zoom), zoomed(layout.height(), m_zoom)};
}

QPointF PictureSurface::toLayout(const QPointF& widgetPosition) const
{
    if (m_zoom == 100)
        return widgetPosition;
    const QSize layout = layoutSize();
    return {width() > 0 ? widgetPosition.x() * layout.width() / width() : 0.0,
            height() > 0 ? widgetPosition.y() * layout.height() / height() : 0.0};
}

QRect PictureSurface::toWidget(const QRect& layout) const
{
    if (m_zoom == 100)
        return layout;
    const QSize whole = layoutSize();
    if (whole.isEmpty())
        return {};
    const qreal sx = static_cast<qreal>(width()) / whole.width();
    const qreal sy = static_cast<qreal>(height()) / whole.height();
    return QRectF(layout.x() * sx, layout.y() * sy, layout.width() * sx, layout.height() * sy)
        .toAlignedRect();
}

void PictureSurface::scaleToLayout(QPainter& painter) const
{
    const QSize layout = layoutSize();
    if (m_zoom != 100 && !layout.isEmpty())
        painter.scale(static_cast<qreal>(width()) / layout.width(),
                      static_cast<qreal>(height()) / layout.height());
}

void PictureSurface::clear()
{
    m_image.fill(toQRgb(m_background));
    changedAll();
}

void PictureSurface::drawBitmap(const QImage& bitmap)
{
    if (bitmap.isNull() || m_image.isNull())
        return;
    const bool unreported = unreportedChanges();
    const QImage source = bitmap.convertToFormat(QImage::Format_RGB32);
    const int width = std::min(source.width(), m_image.width());
    const int height = std::min(source.height(), m_image.height());
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        // Opaque whatever the source said, so every pixel compares as a colour.
        for (int x = 0; x < width; ++x)
            to[x] = from[x] | 0xff000000U;
    }
    changed(QRect(0, 0, width, height), unreported);
}

QRect PictureSurface::insideImage(long long left, long long top, long long right, long long bottom) const
{
    left = std::max(left, 0LL);
    top = std::max(top, 0LL);
    right = std::min(right, static_cast<long long>(m_image.width()));
    bottom = std::min(bottom, static_cast<long long>(m_image.height()));
    if (left >= right || top >= bottom)
        return {};
    return {QPoint(static_cast<int>(left), static_cast<int>(top)),
            QPoint(static_cast<int>(right) - 1, static_cast<int>(bottom) - 1)};
}

void PictureSurface::fillRect(long long left, long long top, long long right, long long bottom, QRgb colour)
{
    const QRect inside = insideImage(left, top, right, bottom);
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        std::fill(row + inside.left(), row + inside.right() + 1, colour);
    }
}

void PictureSurface::line(int x1, int y1, int x2, int y2, cat::Colour colour)
{
    const long long dx = static_cast<long long>(x2) - x1;
    const long long dy = static_cast<long long>(y2) - y1;
    const long long n = std::max(std::llabs(dx), std::llabs(dy));
    if (n == 0 || m_image.isNull())
        return;
    const bool unreported = unreportedChanges();
    const bool alongX = std::llabs(dx) >= std::llabs(dy);
    // Step i moves one pixel along the major axis; the minor offset is i * m / n
    // rounded half up. The far end point (i == n) is not drawn.
    const long long major0 = alongX ? x1 : y1;
    const long long minor0 = alongX ? y1 : x1;
    const int majorStep = (alongX ? dx : dy) < 0 ? -1 : 1;
    const int minorStep = (alongX ? dy : dx) < 0 ? -1 : 1;
    const auto m = static_cast<unsigned long long>(std::llabs(alongX ? dy : dx));
    const auto un = static_cast<unsigned long long>(n);
    const long long majorSize = alongX ? m_image.width() : m_image.height();
    const long long minorSize = alongX ? m_image.height() : m_image.width();

    // Only the steps whose major coordinate is inside the image are walked.
    long long first = 0;
    long long last = n; // exclusive
    if (majorStep > 0) {
        first = std::max(first, -major0);
        last = std::min(last, majorSize - major0);
    } else {
        first = std::max(first, major0 - majorSize + 1);
        last = std::min(last, major0 + 1);
    }
    const QRgb value = toQRgb(colour);
    for (long long i = first; i < last; ++i) {
        // i * m fits in 64 bits (each is at most 2^32); splitting the rounding
        // keeps the doubled value from overflowing.
        const unsigned long long product = static_cast<unsigned long long>(i) * m;
        const unsigned long long offset = product / un + (2 * (product % un) + un) / (2 * un);
        const long long minor = minor0 + minorStep * static_cast<long long>(offset);
        if (minor < 0 || minor >= minorSize)
            continue;
        const long long major = major0 + majorStep * i;
        const int x = static_cast<int>(alongX ? major : minor);
        const int y = static_cast<int>(alongX ? minor : major);
        reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = value;
    }
    changed(insideImage(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1LL, std::max(y1, y2) + 1LL),
            unreported);
}

void PictureSurface::box(int x1, int y1, int x2, int y2, cat::Colour colour)
{
    const long long left = std::min(x1, x2);
    const long long right = std::max(x1, x2);
    const long long top = std::min(y1, y2);
    const long long bottom = std::max(y1, y2);
    if (left == right || top == bottom)
        return;
    const bool unreported = unreportedChanges();
    const QRgb value = toQRgb(colour);
    fillRect(left, top, right, top + 1, value);
    fillRect(left, bottom - 1, right, bottom, value);
    fillRect(left, top + 1, left + 1, bottom - 1, value);
    fillRect(right - 1, top + 1, right, bottom - 1, value);
    changed(insideImage(left, top, right, bottom), unreported);
}

void PictureSurface::filledBox(int x1, int y1, int x2, int y2, cat::Colour colour)
{
    const bool unreported = unreportedChanges();
    fillRect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2), toQRgb(colour));
    changed(insideImage(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)), unreported);
}

std::size_t PictureSurface::floodFill(int x, int y, cat::Colour fill)
{
    if (m_image.isNull())
        return 0;
    const bool unreported = unreportedChanges();
    const fill::FillRequest request = render::fillRequestFor(m_image, toQRgb(fill));
    const fill::Point seed{x, y};
    fill::Bounds bounds;
    const std::size_t painted = fill::borderFill(request, {&seed, 1}, &bounds);
    changed(painted > 0 ? QRect(QPoint(bounds.left, bounds.top), QPoint(bounds.right, bounds.bottom))
                        : QRect(),
            unreported);
    return painted;
}

void PictureSurface::makePersistent()
{
    if (unreportedChanges())
        changedAll();
}

void PictureSurface::makePersistent(const QRect& painted)
{
    changed(painted, false);
}

void PictureSurface::makePersistent(const QRegion& painted)
{
    changed(painted);
}

void PictureSurface::changed(const QRegion& pixels)
{
    if (pixels.rectCount() <= 1) {
        changed(pixels.boundingRect(), false);
        return;
    }
    // The pieces for the enlarged picture, one rectangle for the screen:
    // Qt repaints one rectangle faster than a region of many.
    if (!m_sharp.isNull())
        for (const QRect& piece : pixels)
            m_stale += piece & m_image.rect();
    const QRegion pieces = m_stale;
    changed(pixels.boundingRect(), false);
    if (!m_sharp.isNull())
        m_stale = pieces.rectCount() > 64 ? pieces.boundingRect() : pieces; // the pieces, not their bounds
}

void PictureSurface::changed(const QRect& pixels, bool unreportedBefore)
{
    if (unreportedBefore) {
        changedAll();
        return;
    }
    m_reportedKey = m_image.cacheKey();
    const QRect inside = pixels & m_image.rect();
    if (inside.isEmpty())
        return;
    if (!m_sharp.isNull()) {
        m_stale += inside;
        // Many small changes (a marker's box, a line) cost more to track
        // than their bounding rectangle costs to enlarge; the few regions of
        // one area's fill are worth keeping apart.
        if (m_stale.rectCount() > 64)
            m_stale = m_stale.boundingRect();
    }
    // At a fractional scale (the zoom and the screen's together) a device
    // pixel just outside blends the picture's pixels at the edge: one pixel
    // more all round. At a whole one every pixel is its own square.
    const qreal scale = devicePixelRatioF() * m_zoom / 100.0;
    const int reach = scale == std::floor(scale) ? 0 : 1;
    update(toWidget(inside.adjusted(-reach, -reach, reach, reach).translated(m_border, m_border)));
}

void PictureSurface::changedAll()
{
    m_reportedKey = m_image.cacheKey();
    if (!m_sharp.isNull())
        m_stale = m_image.rect();
    update();
}

cat::Colour PictureSurface::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
        return kNoPixel;
    return fromQRgb(reinterpret_cast<const QRgb*>(m_image.constScanLine(y))[x]);
}

namespace {

// One ring of the frame, `inset` pixels in from the widget's edge.
void drawRing(QPainter& painter, const QRect& outer, int inset, const QColor& topLeft,
              const QColor& bottomRight)
{
    const QRect r = outer.adjusted(inset, inset, -inset, -inset);
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

} // namespace

void PictureSurface::drawDirty(QPainter& painter, const QPaintEvent& event, const QImage& picture,
                               const QPoint& origin)
{
    // Piece by piece: one draw of the whole picture through a clip of many
    // rectangles makes Qt hand the work to its thread pool.
    const QRect shown(origin, picture.size());
    for (const QRect& dirty : event.region()) {
        const QRect piece = dirty & shown;
        if (!piece.isEmpty())
            painter.drawImage(piece.topLeft(), picture, piece.translated(-origin));
    }
}

void PictureSurface::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // Widget pixels are device pixels (no screen scale, no scaled rendering).
    const QTransform device = painter.deviceTransform();
    const bool devicePixels =
        device.m11() == 1.0 && device.m22() == 1.0 && device.m12() == 0.0 && device.m21() == 0.0;
    if (size() != sizeHint()) // someone resized us by hand: cover the rest
        painter.fillRect(rect(), toQColor(m_background));
    // Everything below is drawn in layout pixels.
    scaleToLayout(painter);
    const QRect outer(QPoint(0, 0), m_zoom == 100 ? size() : layoutSize());

    const QColor face = toQColor(cat::kLightGrey);
    for (int ring = 0; ring < m_border; ++ring) {
        if (m_appearance == 1) {
            // Sunken: dark above and left, light below and right.
            if (ring == 0)
                drawRing(painter, outer, ring, toQColor(cat::kDarkGrey), toQColor(cat::kWhite));
            else if (ring == 1)
                drawRing(painter, outer, ring, QColor(64, 64, 64), face);
            else
                drawRing(painter, outer, ring, face, face);
        } else {
            const QColor colour = ring == 0 ? QColor(Qt::black) : face;
            drawRing(painter, outer, ring, colour, colour);
        }
    }
    // Drawn at its logical size; without SmoothPixmapTransform a scaled paint
    // picks the nearest pixel, so at a whole scale factor (1, 2, 3) every
    // pixel is a square of device pixels in its exact colour.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (devicePixels && showsThreeHalves()) {
        // The most common zoom on a common screen: written straight into the
        // window's picture where it is dirty, or drawn one to one from a
        // picture kept at the screen's size on any other device.
        painter.resetTransform();
        const QPoint origin(m_border * 3 / 2, m_border * 3 / 2);
        if (!writeThreeHalves(painter, *event, origin))
            drawDirty(painter, *event, threeHalvesPicture(), origin);
        return;
    }
    if (devicePixels && painter.worldTransform().isIdentity()) {
        drawDirty(painter, *event, m_image, QPoint(m_border, m_border));
        return;
    }
    const qreal scale = painter.deviceTransform().m11();
    if (std::abs(scale - std::round(scale)) < 1e-3 || scale < 1.0) {
        painter.drawImage(QPoint(m_border, m_border), m_image);
        return;
    }
    // At a fractional factor (1.25, 1.5) nearest-pixel scaling makes
    // one-pixel lines one and two device pixels wide by turns. As desktops
    // do: the picture at the next whole factor by nearest pixel, smoothly
    // scaled down to the device pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const QImage& sharp = sharpAt(static_cast<int>(std::ceil(scale)));
    const QRect picture(m_border, m_border, m_image.width(), m_image.height());
    // Qt hands a smooth fill of more than a few thousand device pixels to
    // its thread pool, which costs a click more than the fill itself; drawn
    // in bands of at most kBandPixels the same pixels come out on this
    // thread (a clip never changes a pixel it lets through).
    constexpr qreal kBandPixels = 8192;
    const QRect dirty = event->rect() & toWidget(picture);
    const qreal deviceRatio = devicePixelRatioF();
    const int rows =
        std::max(1, static_cast<int>(kBandPixels / (std::max(dirty.width(), 1) * deviceRatio * deviceRatio)));
    const QTransform toLayoutPixels = painter.worldTransform();
    for (int top = dirty.top(); top <= dirty.bottom(); top += rows) {
        painter.setWorldTransform(QTransform());
        painter.setClipRect(
            QRect(dirty.left(), top, dirty.width(), std::min(rows, dirty.bottom() + 1 - top)));
        painter.setWorldTransform(toLayoutPixels);
        painter.drawImage(picture, sharp);
    }
}

bool PictureSurface::writeThreeHalves(QPainter& painter, const QPaintEvent& event, const QPoint& origin) const
{
    // Only a plain 32-bit picture of opaque pixels at one device pixel per
    // pixel, reached by a whole-pixel shift: the window's backing store.
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine != nullptr ? engine->paintDevice() : nullptr;
    if (engine == nullptr || engine->type() != QPaintEngine::Raster || device == nullptr ||
        device->devType() != QInternal::Image)
        return false;
    auto* screen = static_cast<QImage*>(device);
    const QImage::Format format = screen->format();
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
         format != QImage::Format_ARGB32_Premultiplied) ||
        screen->devicePixelRatio() != 1.0)
        return false;
    const QTransform toScreen = painter.deviceTransform();
    if (toScreen.type() > QTransform::TxTranslate || toScreen.dx() != std::round(toScreen.dx()) ||
        toScreen.dy() != std::round(toScreen.dy()))
        return false;
    const QPoint shift(static_cast<int>(toScreen.dx()), static_cast<int>(toScreen.dy()));
    const QRect shown(origin, threeHalvesSize(m_image.size()));
    const qsizetype stride = screen->bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    // The paint event's region is the painter's clip: nothing outside it is
    // written (siblings above keep their pixels).
    for (const QRect& dirty : event.region()) {
        const QRect piece = (dirty & shown).translated(shift) & screen->rect();
        if (piece.isEmpty())
            continue;
        threeHalves(m_image, piece.translated(-shift - origin),
                    reinterpret_cast<QRgb*>(screen->scanLine(piece.top())) + piece.left(), stride);
    }
    return true;
}

const QImage& PictureSurface::keptPicture(const QSize& size,
                                          const std::function<void(const QRect&)>& redo) const
{
    if (m_sharp.size() != size) {
        m_sharp = QImage(size, QImage::Format_RGB32);
        m_stale = m_image.rect();
    } else if (unreportedChanges()) {
        m_stale = m_image.rect();
    }
    for (const QRect& pixels : m_stale)
        redo(pixels);
    m_stale = QRegion();
    return m_sharp;
}

const QImage& PictureSurface::sharpAt(int factor) const
{
    return keptPicture(m_image.size() * factor, [this, factor](const QRect& pixels) {
        render::enlarge(m_image, pixels, factor, m_sharp);
    });
}

bool PictureSurface::showsThreeHalves() const
{
    // Exactly three halves: the picture's corner on a whole screen pixel and
    // the widget the layout's size times 1.5 (an odd size rounds).
    const QSize layout = layoutSize();
    return m_zoom == 150 && devicePixelRatioF() == 1.0 && m_border % 2 == 0 && layout.width() % 2 == 0 &&
           layout.height() % 2 == 0 && size() == layout * 3 / 2;
}

const QImage& PictureSurface::threeHalvesPicture() const
{
    return keptPicture(threeHalvesSize(m_image.size()),
                       [this](const QRect& pixels) { threeHalves(m_image, pixels, m_sharp); });
}

void PictureSurface::setPointerHelp(const QString& tip, bool pointing)
{
    const Qt::CursorShape shape = pointing ? Qt::PointingHandCursor : Qt::ArrowCursor;
    if (cursor().shape() != shape)
        setCursor(shape);
    if (tip == toolTip())
        return;
    setToolTip(tip);
    // An open tooltip belongs to the area the pointer has just left.
    if (QToolTip::isVisible())
        QToolTip::showText(QCursor::pos(), tip, this);
}

QPoint PictureSurface::pixelAt(const QPointF& at)
{
    // In single precision, as positions have always been reported.
    const auto x = static_cast<float>(at.x());
    const auto y = static_cast<float>(at.y());
    const auto held = [](float coordinate) {
        return std::isfinite(coordinate) && std::abs(coordinate) < 1.0e6F;
    };
    if (!held(x) || !held(y))
        return {-1, -1};
    return {static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
}

void PictureSurface::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved(m_index, toLayout(event->position()) - QPointF(m_border, m_border));
}

void PictureSurface::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit leftReleased(m_index, toLayout(event->position()) - QPointF(m_border, m_border));
}

} // namespace tk
