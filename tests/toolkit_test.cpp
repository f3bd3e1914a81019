#include "catalogue/program.h"
#include "support/picture_diff.h"
#include "toolkit/dialogs.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/picturesurface.h"
#include "toolkit/statuspanel.h"
#include "toolkit/tabstrip.h"
#include "toolkit/textbox.h"
#include "toolkit/zoom.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtMath>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <utility>

namespace {

constexpr cat::Colour kRed = cat::rgb(255, 0, 0);
constexpr cat::Colour kBlue = cat::rgb(0, 0, 255);

// A 40 x 30 white surface in a 2-pixel frame.
std::unique_ptr<tk::PictureSurface> whiteSurface()
{
    auto s = std::make_unique<tk::PictureSurface>("pic", 3, "Picture", nullptr);
    s->setBorder(2);
    s->setBackground(cat::kWhite);
    s->setOuterGeometry(0, 0, 44, 34);
    return s;
}

int countOf(const tk::PictureSurface& s, cat::Colour colour)
{
    int n = 0;
    for (int y = 0; y < s.drawableHeight(); ++y)
        for (int x = 0; x < s.drawableWidth(); ++x)
            n += s.pixel(x, y) == colour ? 1 : 0;
    return n;
}

TEST(PictureSurface, BoxesAndLinesLeaveOutTheFarEndPoint)
{
    auto s = whiteSurface();
    EXPECT_EQ(s->drawableWidth(), 40); // the image lies inside the border
    EXPECT_EQ(s->drawableHeight(), 30);
    s->box(5, 5, 19, 19, kRed);
    EXPECT_EQ(countOf(*s, kRed), 4 * 13);
    EXPECT_EQ(s->pixel(18, 18), kRed);
    EXPECT_EQ(s->pixel(19, 19), cat::kWhite);

    s->clear();
    s->filledBox(19, 19, 5, 5, kRed); // corners in either order
    EXPECT_EQ(countOf(*s, kRed), 14 * 14);
    EXPECT_EQ(s->pixel(5, 5), kRed);
    EXPECT_EQ(s->pixel(19, 18), cat::kWhite);

    s->clear();
    s->line(0, 7, 40, 7, kRed);
    s->line(3, 0, 3, 7, kBlue);
    s->line(10, 10, 20, 20, kBlue);
    EXPECT_EQ(countOf(*s, kRed), 40); // to x = 40 on a 40-wide surface: all of it
    EXPECT_EQ(s->pixel(3, 6), kBlue);
    EXPECT_EQ(s->pixel(3, 7), kRed); // the vertical line stops short of it
    EXPECT_EQ(s->pixel(19, 19), kBlue);
    EXPECT_EQ(s->pixel(20, 20), cat::kWhite);
}

TEST(PictureSurface, DrawingIsClippedAndHugeCoordinatesAreSafe)
{
    auto s = whiteSurface();
    s->filledBox(-10, -10, 3, 2, kRed);
    EXPECT_EQ(countOf(*s, kRed), 3 * 2);
    s->line(INT_MIN, INT_MIN, INT_MAX, INT_MAX, kBlue);
    s->line(-5, 35, 45, -15, kBlue);
    s->box(INT_MIN, INT_MIN, INT_MAX, INT_MAX, kBlue);
    EXPECT_EQ(s->pixel(29, 29), kBlue);
    EXPECT_EQ(s->pixel(30, 0), kBlue);
    EXPECT_EQ(s->pixel(1, 29), kBlue);
    EXPECT_EQ(countOf(*s, kBlue), 30 + 30 - 1); // they cross at (15, 15)
    EXPECT_EQ(s->pixel(-1, 0), tk::PictureSurface::kNoPixel);
    EXPECT_EQ(s->pixel(40, 0), tk::PictureSurface::kNoPixel);
}

// Colour bytes keep their order, and a bitmap wider than the surface is clipped.
TEST(PictureSurface, BitmapsDrawExactly)
{
    QImage bitmap(50, 3, QImage::Format_Indexed8); // wider than the surface
    bitmap.setColorTable({qRgb(0x12, 0x34, 0x56), qRgb(0, 0, 0)});
    bitmap.fill(0);
    bitmap.setPixel(1, 1, 1);
    auto s = whiteSurface();
    s->drawBitmap(bitmap);
    EXPECT_EQ(s->pixel(0, 0), cat::rgb(0x12, 0x34, 0x56));
    EXPECT_EQ(s->pixel(39, 2), cat::rgb(0x12, 0x34, 0x56));
    EXPECT_EQ(s->pixel(1, 1), cat::kBoundary);
    EXPECT_EQ(s->pixel(0, 3), cat::kWhite);
}

TEST(PictureSurface, FloodFillStopsAtBlackOnly)
{
    auto s = whiteSurface();
    s->box(0, 0, 10, 10, cat::kBoundary);
    s->filledBox(3, 3, 5, 5, kBlue); // another colour inside is filled over
    EXPECT_EQ(s->floodFill(4, 4, kRed), 8U * 8U);
    EXPECT_EQ(s->pixel(1, 1), kRed);
    EXPECT_EQ(s->pixel(10, 10), cat::kWhite);
    EXPECT_EQ(s->floodFill(0, 0, kRed), 0U);
}

TEST(PictureSurface, PaintsEveryPixelUnsmoothedOnAHighDensityScreen)
{
    auto s = whiteSurface();
    s->line(10, 5, 11, 5, kRed);
    QImage shot(s->size() * 2, QImage::Format_RGB32);
    shot.setDevicePixelRatio(2);
    s->render(&shot);
    const int at = 2 * (s->border() + 10);
    const int row = 2 * (s->border() + 5);
    for (const QPoint p : {QPoint(at, row), QPoint(at + 1, row + 1)})
        EXPECT_EQ(shot.pixel(p), 0xffff0000U);
    EXPECT_EQ(shot.pixel(at + 2, row), 0xffffffffU);
    EXPECT_EQ(shot.pixel(at - 1, row), 0xffffffffU);
}

// At a fractional scale factor every one-pixel line comes out equally
// strong wherever it falls among the device pixels; at 2 (above) it is exact.
TEST(PictureSurface, LinesKeepOneWidthAtFractionalScaleFactors)
{
    for (const qreal scale : {1.25, 1.5}) {
        SCOPED_TRACE(scale);
        auto s = whiteSurface();
        for (int x = 10; x < 22; x += 3) // four lines, at every phase of the device grid
            s->line(x, 0, x, s->drawableHeight(), cat::kBoundary);
        const QSize device(qCeil(s->width() * scale), qCeil(s->height() * scale));
        QImage shot(device, QImage::Format_RGB32);
        shot.setDevicePixelRatio(scale);
        shot.fill(Qt::white);
        s->render(&shot);
        // The ink of each line across one device row: 255 per fully black pixel.
        const int row = qRound((s->border() + 15) * scale);
        for (int x = 10; x < 22; x += 3) {
            const qreal from = (s->border() + x) * scale;
            int ink = 0;
            for (int dx = qFloor(from) - 1; dx <= qCeil(from + scale); ++dx)
                ink += 255 - qGray(shot.pixel(dx, row));
            EXPECT_NEAR(ink, 255 * scale, 255 * 0.2) << "line at " << x;
        }
    }
}

TEST(PictureSurface, PointerEventsGiveImagePixels)
{
    auto s = whiteSurface();
    s->show();
    QSignalSpy released(s.get(), &tk::PictureSurface::leftReleased);
    QSignalSpy moved(s.get(), &tk::PictureSurface::pointerMoved);
    QTest::mouseMove(s.get(), QPoint(7, 9));
    // Only the left button's release counts, whatever keys are held.
    QTest::mouseRelease(s.get(), Qt::RightButton, Qt::ShiftModifier, QPoint(12, 5));
    QTest::mouseRelease(s.get(), Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier, QPoint(12, 5));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0][0].toInt(), 3);
    EXPECT_EQ(moved[0][1].toPointF(), QPointF(5, 7));
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released[0][1].toPointF(), QPointF(10, 3));

    // A pixel covers [x, x + 1); what no pixel could hold is no pixel.
    EXPECT_EQ(tk::PictureSurface::pixelAt({0.0, 0.999}), QPoint(0, 0));
    EXPECT_EQ(tk::PictureSurface::pixelAt({-0.001, 4.5}), QPoint(-1, 4));
    EXPECT_EQ(tk::PictureSurface::pixelAt({3.0, -5.5}), QPoint(3, -6));
    EXPECT_EQ(tk::PictureSurface::pixelAt({qQNaN(), 1.0}), QPoint(-1, -1));
    EXPECT_EQ(tk::PictureSurface::pixelAt({1.0, qInf()}), QPoint(-1, -1));
    EXPECT_EQ(tk::PictureSurface::pixelAt({2.0e6, 1.0}), QPoint(-1, -1));
}

// A surface changed in many small pieces and painted between them keeps its
// enlarged picture and enlarges again only what changed: at every zoom step
// it shows, on screen and when painted whole, what a surface given the
// finished picture at once shows. At a fractional step that is the whole
// picture enlarged by the next whole factor and scaled down smoothly; at a
// whole step every pixel is a square in its exact colour.
class PartialChanges : public testing::TestWithParam<int> {
protected:
    static void prepare(tk::PictureSurface& s, int percent)
    {
        s.setBorder(2);
        s.setBackground(cat::kWhite);
        s.setOuterGeometry(0, 0, 68, 50);
        s.setZoom(percent);
    }
    // The device pixels per image pixel: the zoom and the screen's together.
    static qreal scaleOf(const tk::PictureSurface& s)
    {
        return s.devicePixelRatioF() * s.width() / s.layoutSize().width();
    }
    static bool fractional(qreal scale) { return std::abs(scale - std::round(scale)) > 1e-3; }
    // The image as the widget shows it without its frame, painted the way
    // it always was: the whole picture enlarged, then drawn to the widget.
    static QImage wholeRescale(const tk::PictureSurface& s)
    {
        const qreal ratio = s.devicePixelRatioF();
        QImage out((QSizeF(s.size()) * ratio).toSize(), QImage::Format_RGB32);
        out.setDevicePixelRatio(ratio);
        out.fill(Qt::black);
        QPainter painter(&out);
        if (s.zoom() == 150 && ratio == 1.0 && s.border() % 2 == 0) {
            // 150 % on a screen of scale 1 shows the picture at three halves.
            painter.drawImage(QPoint(s.border() * 3 / 2, s.border() * 3 / 2), tk::threeHalves(s.image()));
            return out;
        }
        painter.scale(static_cast<qreal>(s.width()) / s.layoutSize().width(),
                      static_cast<qreal>(s.height()) / s.layoutSize().height());
        const qreal scale = scaleOf(s);
        const int factor =
            fractional(scale) ? static_cast<int>(std::ceil(scale)) : static_cast<int>(std::round(scale));
        painter.setRenderHint(QPainter::SmoothPixmapTransform, fractional(scale));
        painter.drawImage(
            QRect(s.border(), s.border(), s.drawableWidth(), s.drawableHeight()),
            s.image().scaled(s.image().size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        return out;
    }
};

TEST_P(PartialChanges, ShowWhatTheWholePictureRescaledShows)
{
    const int percent = GetParam();
    tk::PictureSurface surface("pic", 1, "Picture", nullptr);
    prepare(surface, percent);
    surface.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&surface));
    std::mt19937 random(static_cast<unsigned>(percent));
    const auto coordinate = [&random](int size) {
        return std::uniform_int_distribution<int>(-3, size + 2)(random);
    };
    const int w = surface.drawableWidth();
    const int h = surface.drawableHeight();
    for (int change = 0; change < 90; ++change) {
        const cat::Colour colour = static_cast<cat::Colour>(random()) & 0xffffffU;
        const int x1 = coordinate(w);
        const int y1 = coordinate(h);
        const int x2 = x1 + coordinate(w) / 4;
        const int y2 = y1 + coordinate(h) / 4;
        switch (change % 6) {
        case 0: surface.filledBox(x1, y1, x2, y2, colour); break;
        case 1: surface.line(x1, y1, x2, y2, colour); break;
        case 2: surface.box(x1, y1, x2, y2, cat::kBoundary); break; // walls for the fills
        case 3: surface.floodFill(std::clamp(x1, 0, w - 1), std::clamp(y1, 0, h - 1), colour); break;
        case 4: {
            // Painted by a plain function, then shown by its rectangle, or
            // with a second piece apart as an area's regions are shown.
            const QRect painted = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized() & QRect(0, 0, w, h);
            const QRect apart =
                change % 12 == 4 ? QRect() : painted.translated(w / 3, h / 3) & QRect(0, 0, w, h);
            QImage& image = surface.imageForPainting();
            for (const QRect& piece : {painted, apart})
                for (int y = piece.top(); y <= piece.bottom(); ++y)
                    for (int x = piece.left(); x <= piece.right(); ++x)
                        image.setPixel(x, y,
                                       0xff000000U | ((colour + static_cast<unsigned>(x * y)) & 0xffffffU));
            if (apart.isEmpty())
                surface.makePersistent(painted);
            else
                surface.makePersistent(QRegion(painted) + QRegion(apart));
            break;
        }
        default: surface.pixel(x1, y1); break; // a look changes nothing
        }
        if (change % 4 == 3)
            QApplication::processEvents(); // painted in pieces, the kept picture in use
    }
    QApplication::processEvents();
    {
        // Last, two pieces apart shown as one region, nothing painted after.
        const QRect first(1, 1, w / 3, h / 3);
        const QRect second(w / 2, h / 2, w / 3, h / 3);
        QImage& image = surface.imageForPainting();
        for (const QRect& piece : {first, second})
            for (int y = piece.top(); y <= piece.bottom(); ++y)
                for (int x = piece.left(); x <= piece.right(); ++x)
                    image.setPixel(x, y, qRgb(x * 7, y * 5, 99));
        surface.makePersistent(QRegion(first) + QRegion(second));
    }
    QApplication::processEvents();

    tk::PictureSurface fresh("fresh", 2, "Fresh", nullptr);
    prepare(fresh, percent);
    fresh.drawBitmap(surface.image());
    const QImage expected = fresh.grab().toImage();
    const QRect all = expected.rect();
    EXPECT_EQ(differences(expected, surface.grab().toImage(), all), "");
    // On a device it cannot write into (24-bit pixels here), the same.
    QImage packed(expected.size(), QImage::Format_RGB888);
    packed.setDevicePixelRatio(expected.devicePixelRatio());
    surface.render(&packed);
    EXPECT_EQ(differences(expected, packed.convertToFormat(QImage::Format_RGB32), all), "") << "24-bit";
    // What the screen shows, painted in pieces. (Under a scale factor the
    // offscreen screen hands its picture back resampled to the logical size.)
    if (surface.devicePixelRatioF() == 1.0) {
        const QImage shown =
            surface.screen()->grabWindow(surface.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(differences(expected, shown, all), "") << "on screen";
    }

    // Inside the frame (at a fractional scale less a pixel or two, where the
    // picture's edge blends with the frame) the picture is the whole one
    // rescaled; at a whole scale it is the exact enlargement.
    const qreal ratio = surface.devicePixelRatioF();
    const QRectF layoutInside = surface.toWidget(QRect(surface.border(), surface.border(), w, h));
    const QRect inside = QRectF(layoutInside.topLeft() * ratio, layoutInside.size() * ratio).toAlignedRect();
    const qreal scale = scaleOf(surface);
    const int blend = fractional(scale) ? 2 : 0;
    EXPECT_EQ(differences(wholeRescale(surface), expected, inside.adjusted(blend, blend, -blend, -blend)),
              "");
    if (!fractional(scale)) {
        const int factor = static_cast<int>(std::round(scale));
        for (const QPoint p : {QPoint(0, 0), QPoint(w - 1, h - 1), QPoint(w / 2, h / 3)})
            EXPECT_EQ(expected.pixel(inside.topLeft() + p * factor + QPoint(factor - 1, factor - 1)),
                      surface.image().pixel(p));
    }
}

INSTANTIATE_TEST_SUITE_P(ZoomSteps, PartialChanges, testing::Values(100, 125, 150, 175, 200, 250, 300));

// Three halves is what enlarging to twice the size and scaling down smoothly
// shows, without the cost: the outer pixel of each 3 x 3 block exactly the
// picture's, the middle ones within a step or two of the smooth scaling (its
// weights wander around a half); a flat area keeps its colour; and a
// picture brought up to date piece by piece equals one made whole.
TEST(ThreeHalves, IsTheSmoothHalfStepAndUpdatesInPieces)
{
    std::mt19937 random(5);
    for (const QSize size : {QSize(64, 48), QSize(37, 21), QSize(7, 5), QSize(1, 1), QSize(2, 3)}) {
        QImage picture(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                picture.setPixel(x, y, 0xff000000U | (random() & 0xffffffU));
        const QImage half = tk::threeHalves(picture);
        ASSERT_EQ(half.size(), QSize((3 * size.width() + 1) / 2, (3 * size.height() + 1) / 2));

        QImage smooth(half.size(), QImage::Format_RGB32);
        smooth.fill(Qt::black);
        {
            QPainter painter(&smooth);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.scale(1.5, 1.5);
            painter.drawImage(QRect(QPoint(0, 0), size), picture.scaled(size * 2));
        }
        // The blocks that lie whole inside the picture.
        for (int y = 0; y < 3 * (size.height() / 2); ++y) {
            for (int x = 0; x < 3 * (size.width() / 2); ++x) {
                const QRgb ours = half.pixel(x, y);
                const QRgb qts = smooth.pixel(x, y);
                // Each screen pixel from the picture pixels it lies on or
                // between: one, two or four, averaged byte by byte, rounded
                // down at each step (down first, then across).
                const int left = 2 * (x / 3) + x % 3 / 2;
                const int top = 2 * (y / 3) + y % 3 / 2;
                const bool across = x % 3 == 1;
                const bool down = y % 3 == 1;
                const auto mix = [](QRgb a, QRgb b) { return (a & b) + (((a ^ b) & 0xfefefefeU) >> 1); };
                const auto column = [&](int c) {
                    const QRgb first = picture.pixel(c, top);
                    return down ? mix(first, picture.pixel(c, top + 1)) : first;
                };
                ASSERT_EQ(ours, across ? mix(column(left), column(left + 1)) : column(left)) << x << "," << y;
                for (int shift : {0, 8, 16})
                    ASSERT_LE(std::abs(static_cast<int>(ours >> shift & 0xff) -
                                       static_cast<int>(qts >> shift & 0xff)),
                              2)
                        << x << "," << y;
            }
        }

        // Changed in pieces: each piece brought up to date alone.
        QImage kept = half;
        for (int change = 0; change < 20; ++change) {
            const QRect piece(static_cast<int>(random() % size.width()),
                              static_cast<int>(random() % size.height()), static_cast<int>(random() % 9) + 1,
                              static_cast<int>(random() % 9) + 1);
            const QRect inside = piece & picture.rect();
            for (int y = inside.top(); y <= inside.bottom(); ++y)
                for (int x = inside.left(); x <= inside.right(); ++x)
                    picture.setPixel(x, y, 0xff000000U | (random() & 0xffffffU));
            tk::threeHalves(picture, piece, kept);
        }
        EXPECT_TRUE(kept == tk::threeHalves(picture)) << size.width() << "x" << size.height();
    }
    // A flat picture stays flat, to the edge.
    QImage flat(9, 7, QImage::Format_RGB32);
    flat.fill(qRgb(19, 24, 132));
    const QImage shown = tk::threeHalves(flat);
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            ASSERT_EQ(shown.pixel(x, y), qRgb(19, 24, 132));
    // Wrong sizes and empty changes write nothing.
    QImage wrong(5, 5, QImage::Format_RGB32);
    wrong.fill(Qt::white);
    const QImage before = wrong;
    tk::threeHalves(flat, flat.rect(), wrong);
    tk::threeHalves(flat, QRect(), wrong);
    EXPECT_TRUE(wrong == before);
}

struct ListFixture : testing::Test {
    tk::ListBox list{"suitlist", 8, "Suit areas", nullptr};
    int events = 0;
    int selectedDuringEvent = -2;
    bool insideCall = false;
    bool nested = false;

    void SetUp() override
    {
        QObject::connect(&list, &tk::ListBox::clicked, [this](int index) {
            EXPECT_EQ(index, 8);
            ++events;
            selectedDuringEvent = list.selectedIndex();
            nested = insideCall;
        });
        for (const char* text : {"Body", "Sleeves", "Collar", "Sleeves"})
            list.addEntry(text);
    }
    void select(const QString& text)
    {
        insideCall = true;
        list.selectByText(text);
        insideCall = false;
    }
};

TEST_F(ListFixture, SelectByTextRaisesTheEventNestedOnlyOnAChange)
{
    EXPECT_EQ(events, 0); // filling raises none
    EXPECT_EQ(list.selectedIndex(), -1);
    select("Sleeves");
    EXPECT_EQ(events, 1);
    EXPECT_TRUE(nested);
    EXPECT_EQ(selectedDuringEvent, 1); // the first equal entry
    select("Sleeves");
    select("sleeves");
    select("Hood");
    EXPECT_EQ(events, 1);
    EXPECT_EQ(list.selectedText(), "Sleeves");

    // By row: the second "Sleeves", which no text reaches; rows the list
    // does not have, and the row already chosen, raise nothing.
    insideCall = true;
    list.selectRow(3);
    insideCall = false;
    EXPECT_EQ(events, 2);
    EXPECT_TRUE(nested);
    EXPECT_EQ(selectedDuringEvent, 3);
    for (int row : {3, -1, 4, 1000})
        list.selectRow(row);
    EXPECT_EQ(events, 2);
    EXPECT_EQ(list.selectedIndex(), 3);

    list.clearEntries(); // nor does clearing
    list.addEntry("Pockets");
    EXPECT_EQ(events, 2);
    EXPECT_EQ(list.selectedIndex(), -1);
}

TEST_F(ListFixture, UserClickRaisesTheEventOnlyOnAChange)
{
    list.setEntryHeight(16);
    list.resize(120, 100);
    list.show();
    // The first entry is Qt's current row without being selected: clicking it
    // is still a change of selection.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center());
    EXPECT_EQ(events, 1);
    const QPoint collar = list.visualItemRect(list.item(2)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, collar);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, collar);
    EXPECT_EQ(events, 2);
    EXPECT_EQ(selectedDuringEvent, 2);
    // Neither a control-click on the chosen entry nor a click below the
    // entries leaves the list without a choice.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, collar);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, 95));
    EXPECT_EQ(list.selectedIndex(), 2);
    EXPECT_EQ(events, 2);
}

// Rewriting a list's texts in place ends as clearing and refilling it does:
// the same entries, the same scroll range (with entries of one height the
// view sizes them all by the last), scrolled back to the start, no selection
// and no selection event; and the screen shows the new texts.
TEST_F(ListFixture, RewritingEntriesEndsAsRefillingDoes)
{
    tk::ListBox refilled("refilled", 1, "Refilled", nullptr);
    for (tk::ListBox* l : {&list, &refilled}) {
        l->setEntryHeight(16);
        l->resize(90, 80);
        l->show();
    }
    const QString wide = QStringLiteral("A colour name too wide for the list (P)");
    const QStringList steps[] = {{"", "", "", ""},
                                 {"Royal Blue (P)", "", "", ""},
                                 {"Royal Blue (P)", wide, "", ""},
                                 {"Royal Blue (P)", wide, "", wide},
                                 {"", wide, "Red (C)", "Black (T)"},
                                 {"", "", "Red (C)", wide}};
    select("Collar");
    const int eventsBefore = events;
    for (const QStringList& texts : steps) {
        list.horizontalScrollBar()->setValue(list.horizontalScrollBar()->maximum());
        list.setEntries(texts);
        refilled.clearEntries();
        for (const QString& text : texts)
            refilled.addEntry(text);
        QApplication::processEvents();
        ASSERT_EQ(list.entryCount(), texts.size());
        for (int row = 0; row < list.entryCount(); ++row) {
            EXPECT_EQ(list.entry(row), texts[row]);
            EXPECT_EQ(list.item(row)->sizeHint(), refilled.item(row)->sizeHint());
        }
        EXPECT_EQ(list.selectedIndex(), -1);
        EXPECT_EQ(list.horizontalScrollBar()->maximum(), refilled.horizontalScrollBar()->maximum());
        EXPECT_EQ(list.horizontalScrollBar()->value(), 0);
        EXPECT_EQ(list.grab().toImage(), refilled.grab().toImage());
    }
    EXPECT_GT(list.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(events, eventsBefore);
}

// The list's own entry painting against Qt's styled delegate where it gets
// hard: a text cut with dots, a list scrolled sideways, a font taller than
// the entries, the selection and the keyboard focus.
TEST_F(ListFixture, EntriesPaintAsTheStyledDelegateDoes)
{
    list.addEntry(QStringLiteral("A colour name far too wide for the list (P)"));
    list.addEntry(QString());
    list.setEntryHeight(16);
    list.resize(90, 100);
    list.show();
    list.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    QStyledItemDelegate styled;
    const auto expectSame = [this, &styled](const char* what) {
        SCOPED_TRACE(what);
        QAbstractItemDelegate* own = list.itemDelegate();
        list.setItemDelegate(&styled);
        const QImage expected = list.grab().toImage();
        list.setItemDelegate(own);
        const QImage got = list.grab().toImage();
        EXPECT_EQ(differences(expected, got, expected.rect()), "");
    };
    expectSame("plain");
    select("Collar");
    expectSame("selected");
    list.setFocus(Qt::TabFocusReason);
    expectSame("selected, with the focus");
    list.horizontalScrollBar()->setValue(list.horizontalScrollBar()->maximum() / 2);
    expectSame("scrolled sideways");
    list.setCurrentRow(4);
    expectSame("the wide entry current");
    QFont tall = list.font();
    tall.setPixelSize(21);
    list.setFont(tall);
    expectSame("a font taller than the entries");
}

TEST(StatusPanel, ALongTextIsCutAtAWordWithDotsAndKeptWhole)
{
    const QString text =
        QStringLiteral(" Tie dye options are available on many suits, please call for details.");
    tk::StatusPanel panel(QStringLiteral("SSstatus1"), 0, QStringLiteral("News"), nullptr);
    const QFontMetrics metrics = panel.fontMetrics();
    const int whole = metrics.horizontalAdvance(text);
    EXPECT_EQ(tk::StatusPanel::fitted(text, metrics, whole), text); // exactly fits
    const QString cut = tk::StatusPanel::fitted(text, metrics, whole - 1);
    EXPECT_EQ(cut, QStringLiteral(" Tie dye options are available on many suits, please call for..."));
    EXPECT_LE(metrics.horizontalAdvance(cut), whole - 1);
    // One word wider than the panel is cut where it must be; no room: dots.
    const QString word = QStringLiteral("Polycotton");
    const QString cutWord = tk::StatusPanel::fitted(word, metrics, metrics.horizontalAdvance(word) - 1);
    EXPECT_TRUE(cutWord.endsWith(QStringLiteral("...")) && word.startsWith(cutWord.chopped(3)))
        << cutWord.toStdString();
    EXPECT_EQ(tk::StatusPanel::fitted(word, metrics, 0), QStringLiteral("..."));

    panel.setText(text);
    panel.resize(whole / 2, 20);
    EXPECT_EQ(panel.text(), text); // what is read back is the whole text
    EXPECT_TRUE(panel.shownText().endsWith(QStringLiteral("..."))) << panel.shownText().toStdString();
}

TEST(TextBox, KeepsItsTextUntilShownAndThenShowsIt)
{
    QWidget page;
    tk::TextBox box(QStringLiteral("txtinfo"), 3, QStringLiteral("Suit information text"), &page);
    box.setGeometry(0, 0, 200, 100);
    box.setText(QStringLiteral("THE LUMEN SUIT\r\n\r\nA tracking suit."));
    page.show();
    QPlainTextEdit* editor = box.findChild<QPlainTextEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isReadOnly());
    EXPECT_EQ(editor->toPlainText(), "THE LUMEN SUIT\n\nA tracking suit.");
    box.setText(QStringLiteral("Other"));
    EXPECT_EQ(editor->toPlainText(), "Other");
}

TEST(TabStrip, SwitchedCarriesOldAndNewButNotForCreation)
{
    tk::TabStrip tabs("tab1", "Models", nullptr);
    QSignalSpy spy(&tabs, &tk::TabStrip::switched);
    tabs.setCaptions("Brisa|Clasico|Rally");
    ASSERT_EQ(tabs.count(), 3);
    tabs.setCurrentTab(2);
    tabs.setCurrentTab(2);
    tabs.setCurrentTab(0);
    tabs.setCaptions("A|B");
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[0], (QVariantList{0, 2}));
    EXPECT_EQ(spy[1], (QVariantList{2, 0}));
}

TEST(FileChoice, DefaultExtensionIsAddedOnlyWhenTheNameHasNone)
{
    const struct {
        const char* typed;
        const char* full;
        const char* name;
        bool differs;
    } cases[] = {
        {"/d/suit", "/d/suit.olr", "suit.olr", false},
        {"/d/SUIT.OLR", "/d/SUIT.OLR", "SUIT.OLR", false},
        {"/d/suit.txt", "/d/suit.txt", "suit.txt", true},
        {"/my.designs/suit", "/my.designs/suit.olr", "suit.olr", false},
    };
    for (const auto& c : cases) {
        const tk::FileChoice choice = tk::fileChoiceFor(c.typed, "olr");
        EXPECT_EQ(choice.fullPath, c.full);
        EXPECT_EQ(choice.fileName, c.name);
        EXPECT_EQ(choice.extensionDiffers, c.differs) << c.typed;
    }
    EXPECT_EQ(tk::qtFileFilter("OrlenSuit Files (*.olr)|*.olr"), "OrlenSuit Files (*.olr)");
    EXPECT_EQ(tk::qtFileFilter("Pictures|*.bmp;*.dib|All|*.*"), "Pictures (*.bmp *.dib);;All (*.*)");
}

// Runs `act` on the modal dialog as soon as it is up.
template <typename Dialog, typename Act> void whenShown(Act act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

TEST(QtServices, MessageBoxAnswersMapToTheDesignersResults)
{
    tk::QtMessageService service(nullptr);
    whenShown<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(service.ask("Save?", tk::kYesNoCancelQuestion), tk::kNo);
    whenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(service.ask("Save?", tk::kYesNoCancelQuestion), tk::kCancel);
    whenShown<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(service.ask("Careful", tk::kOkExclamation), tk::kOk);
    // Enter presses the default: the first button, or the one asked for.
    whenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(service.ask("Exit?", tk::kYesNoQuestion), tk::kYes);
    whenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(service.ask("Exit?", tk::kYesNoQuestion, tk::kNo), tk::kNo);
}

// The title bar of a message box has room for the whole program name.
TEST(QtServices, MessageBoxesAreWideEnoughForTheirTitle)
{
    tk::QtMessageService service(nullptr);
    int width = 0;
    int needed = 0;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        width = box->width();
        QFont bold = box->font();
        bold.setBold(true);
        // The title, an icon and three buttons of a title bar.
        needed = QFontMetrics(bold).horizontalAdvance(tk::qs(cat::kAppTitle)) + 4 * 24;
        box->button(QMessageBox::Ok)->click();
    });
    service.ask("Invalid extension selected.", tk::kOkExclamation);
    EXPECT_GE(width, needed);
    EXPECT_GE(tk::messageBoxWidthForTitle(QFont(), tk::qs(cat::kAppTitle)), needed);
}

TEST(QtServices, SaveDialogAddsTheDefaultExtension)
{
    QTemporaryDir folder;
    tk::QtFileDialogService service(nullptr);
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->nameFilters(), QStringList{"OrlenSuit Files (*.olr)"});
        EXPECT_EQ(dialog->directory().absolutePath(), folder.path());
        dialog->selectFile(folder.filePath("mine"));
        static_cast<QDialog*>(dialog)->accept(); // as the Save button does
    });
    const auto choice =
        service.saveFile({"Save Design", "OrlenSuit Files (*.olr)|*.olr", "olr", "proposed", folder.path()});
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->fullPath, folder.filePath("mine.olr"));
    EXPECT_FALSE(choice->extensionDiffers);

    // With a choice of filters, the chosen filter's extension.
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        QTest::keyClick(types, Qt::Key_Down); // as the user chooses the second type
        dialog->selectFile(folder.filePath("sheet"));
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto png = service.saveFile(
        {"Export", "PDF document (*.pdf)|*.pdf|PNG image (*.png)|*.png", "pdf", "proposed", folder.path()});
    ASSERT_TRUE(png);
    EXPECT_EQ(png->fullPath, folder.filePath("sheet.png"));
}

} // namespace
