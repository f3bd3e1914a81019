// The designer zoomed: the layout enlarged, pictures exact, texts laid out at
// the larger size, and every pointer position taken as the layout pixel
// under it, so that the same clicks give the same design at every zoom.
#include "app/mainwindow.h"
#include "app/zoom.h"
#include "catalogue/catalogue.h"
#include "catalogue/palette_geometry.h"
#include "toolkit/listbox.h"
#include "toolkit/palettesurface.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"
#include "toolkit/zoom.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

std::unique_ptr<app::MainWindow> openAt(int percent)
{
    auto window = std::make_unique<app::MainWindow>();
    window->setZoom(percent);
    window->startUp();
    QApplication::processEvents();
    return window;
}

TEST(ZoomSteps, StepInAndOutStopAtTheEnds)
{
    EXPECT_EQ(app::zoomStepIn(100), 125);
    EXPECT_EQ(app::zoomStepIn(250), 300);
    EXPECT_EQ(app::zoomStepIn(300), 300);
    EXPECT_EQ(app::zoomStepOut(125), 100);
    EXPECT_EQ(app::zoomStepOut(100), 100);
    EXPECT_EQ(app::zoomStepOut(300), 250);
    EXPECT_FALSE(app::isZoomStep(0));
    EXPECT_FALSE(app::isZoomStep(110));
    EXPECT_TRUE(app::isZoomStep(175));
}

TEST(ZoomSteps, LargestFittingAndFirstStart)
{
    const app::ZoomGeometry geometry{QSize(638, 400), 20, 22};
    const QSize at150 = app::contentSize(geometry, 150);
    EXPECT_EQ(app::largestFittingZoom(geometry, at150), 150);
    EXPECT_EQ(app::largestFittingZoom(geometry, at150 - QSize(1, 0)), 125);
    EXPECT_EQ(app::largestFittingZoom(geometry, at150 - QSize(0, 1)), 125);
    EXPECT_EQ(app::largestFittingZoom(geometry, QSize(10, 10)), 100);
    EXPECT_EQ(app::largestFittingZoom(geometry, QSize(9000, 9000)), 300);

    // Two thirds of the available height, counting the menu bar.
    const QSize window150 = app::windowSize(geometry, 150);
    const int exactHeight = (window150.height() * 3 + 1) / 2;
    EXPECT_EQ(app::firstStartZoom(geometry, QSize(4000, exactHeight)), 150);
    EXPECT_EQ(app::firstStartZoom(geometry, QSize(4000, exactHeight - 2)), 125);
    EXPECT_EQ(app::firstStartZoom(geometry, QSize(400, 300)), 100);

    // The real window on a 1920 x 1080 screen (its panel takes 40 pixels).
    app::MainWindow window;
    EXPECT_EQ(app::firstStartZoom(window.layoutGeometry(), QSize(1920, 1040)), 150);
}

TEST(ZoomSteps, RectanglesKeepTouchingEdges)
{
    // Two controls side by side in the layout stay side by side.
    const QRect left(7, 3, 33, 21);
    const QRect right(40, 3, 11, 21);
    for (int percent : app::kZoomSteps) {
        const QRect a = tk::zoomedRect(left, percent);
        const QRect b = tk::zoomedRect(right, percent);
        EXPECT_EQ(a.right() + 1, b.left()) << percent;
        EXPECT_EQ(a.height(), b.height()) << percent;
    }
    EXPECT_EQ(tk::zoomed(325, 150), 488); // half rounds away from zero
    EXPECT_EQ(tk::zoomed(-3, 150), -5);
}

// What a model's design and page show, compared between zooms.
struct Outcome {
    std::array<std::int16_t, cat::kMaxSlots> colours{};
    std::array<std::int16_t, cat::kMaxSlots> fabrics{};
    std::array<std::string, cat::kMaxSlots> codes{};
    QImage drawing;
    QStringList colourList;
    QString area;
    QString fabric;
    bool operator==(const Outcome&) const = default;
};

class SameClicks : public testing::TestWithParam<int> {
protected:
    // A click on the layout pixel `at` of a picture surface, wherever the zoom put it.
    static void clickLayout(tk::PictureSurface* surface, QPoint at)
    {
        const QPoint inside = at + QPoint(surface->border(), surface->border());
        const QSize layout = surface->layoutSize();
        const QPoint widget((2 * inside.x() + 1) * surface->width() / (2 * layout.width()),
                            (2 * inside.y() + 1) * surface->height() / (2 * layout.height()));
        QTest::mouseClick(surface, Qt::LeftButton, {}, widget);
    }
    static void clickRow(tk::ListBox* list, int row)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    // The same user on either window: pick every area (by the drawing where
    // it has a seed, else by its list entry), a fabric and a colour for it.
    static Outcome play(app::MainWindow& window, int m)
    {
        const design::Controls& c = window.controls();
        const auto mi = static_cast<std::size_t>(m);
        c.tabs->setCurrentTab(m);
        for (int slot = 0; slot < cat::slotCount(m); ++slot) {
            const bool back = m == cat::kBrisa && slot >= cat::kBackOffset;
            const cat::AreaSeeds* seeds = cat::seedsOf(m, slot);
            if (seeds != nullptr && slot % 2 == 0) {
                const cat::SeedPoint seed = seeds->seeds()[0];
                clickLayout(c.drawings[mi], {seed.x, seed.y});
            } else {
                if (m == cat::kBrisa)
                    QTest::mouseClick(back ? c.backView : c.frontView, Qt::LeftButton);
                tk::ListBox* list = c.areaLists[back ? cat::kBrisaBack : mi];
                const int row = back ? slot - cat::kBackOffset : slot;
                if (row < list->entryCount())
                    clickRow(list, row);
            }
            tk::ListBox* fabrics = c.fabricLists[mi];
            if (fabrics->entryCount() > 0)
                clickRow(fabrics, slot % fabrics->entryCount());
            const int cell = (slot * 5 + 3) % 12;
            const cat::CellPos pos = cat::cellOf(cell);
            clickLayout(c.palettes[mi], {cat::cellLeft(pos.column) + 7, cat::cellTop(pos.row) + 7});
        }
        Outcome out;
        const state::ModelDesign& design = window.state()[m];
        out.colours = design.areaColour;
        out.fabrics = design.areaFabric;
        out.codes = design.areaFabricCode;
        out.drawing = c.drawings[mi]->image();
        for (int i = 0; i < c.colourLists[mi]->entryCount(); ++i)
            out.colourList << c.colourLists[mi]->entry(i);
        out.area = c.areaLists[mi]->selectedText();
        out.fabric = c.fabricLists[mi]->selectedText();
        return out;
    }
};

TEST_P(SameClicks, GiveTheSameDesignAsAtActualSize)
{
    const auto actual = openAt(100);
    const auto zoomed = openAt(GetParam());
    ASSERT_EQ(zoomed->zoom(), GetParam());
    for (int m = 0; m < cat::kModelCount; ++m) {
        SCOPED_TRACE(testing::Message() << "model " << m);
        const Outcome expected = play(*actual, m);
        const Outcome got = play(*zoomed, m);
        EXPECT_GT(std::count_if(expected.colours.begin(), expected.colours.end(),
                                [](std::int16_t colour) { return colour != cat::kNoColour; }),
                  2);
        EXPECT_TRUE(got == expected);
        EXPECT_EQ(got.colourList, expected.colourList);
    }
}

INSTANTIATE_TEST_SUITE_P(Zooms, SameClicks, testing::Values(125, 150, 200));

class Zoomed : public testing::Test {
protected:
    void SetUp() override { window = openAt(100); }
    const design::Controls& c() const { return window->controls(); }
    QAction* command(const char* name) const
    {
        return window->findChild<QAction*>(QString::fromLatin1(name));
    }

    std::unique_ptr<app::MainWindow> window;
};

TEST_F(Zoomed, BackToActualSizeIsPixelForPixelWhatItWas)
{
    const QImage before = window->centralWidget()->grab().toImage();

    window->setZoom(150);
    QApplication::processEvents();
    ASSERT_NE(window->centralWidget()->grab().toImage().size(), before.size());
    window->setZoom(100);
    QApplication::processEvents();
    const QImage after = window->centralWidget()->grab().toImage();

    ASSERT_EQ(after.size(), before.size());
    QRect differ;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (after.pixel(x, y) != before.pixel(x, y))
                differ |= QRect(x, y, 1, 1);
    EXPECT_TRUE(differ.isNull()) << "pixels differ in " << differ.x() << "," << differ.y() << " "
                                 << differ.width() << "x" << differ.height();
    if (!differ.isNull()) {
        before.save(QStringLiteral("/tmp/zoom-before.png"));
        after.save(QStringLiteral("/tmp/zoom-after.png"));
    }
    EXPECT_EQ(window->size(), app::windowSize(window->zoomGeometry(), 100));
}

TEST_F(Zoomed, PicturesAreExactEnlargementsAndTextsLargerFonts)
{
    window->setZoom(200);
    QApplication::processEvents();
    for (tk::PictureSurface* surface :
         std::initializer_list<tk::PictureSurface*>{c().drawings[0], c().palettes[0], c().colourKeys[0]}) {
        SCOPED_TRACE(surface->objectName().toStdString());
        ASSERT_EQ(surface->size(), surface->layoutSize() * 2);
        const QImage shown = surface->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage& image = surface->image();
        const int b = surface->border();
        bool exact = true;
        for (int y = 0; y < image.height() && exact; ++y)
            for (int x = 0; x < image.width() && exact; ++x)
                for (int d = 0; d < 4; ++d)
                    exact =
                        exact && shown.pixel(2 * (x + b) + d % 2, 2 * (y + b) + d / 2) == image.pixel(x, y);
        EXPECT_TRUE(exact);
    }
    // Texts are laid out in a font of the zoomed size, lists' entries follow the keys.
    EXPECT_EQ(c().fabricLabels[0]->font().pixelSize(), 22);
    EXPECT_EQ(c().areaLists[0]->visualItemRect(c().areaLists[0]->item(1)).height(), 32);
    EXPECT_EQ(c().fabricLabels[0]->geometry(), tk::zoomedRect(QRect(8, 16, 105, 17), 200));
}

TEST_F(Zoomed, PointingAtTheDrawingNamesTheAreaAtAnyZoom)
{
    window->setZoom(150);
    QApplication::processEvents();
    tk::PictureSurface* drawing = c().drawings[0];
    // Layout pixel (70, 138) is in the legs; at 150 % it lies at (105, 207).
    QMouseEvent move(QEvent::MouseMove, QPointF(105.5, 207.5), drawing->mapToGlobal(QPointF(105.5, 207.5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(drawing, &move);
    EXPECT_EQ(drawing->toolTip(), "Legs");
}

TEST_F(Zoomed, CommandsResizeTheWindow)
{
    EXPECT_FALSE(command("zoomOutMnu")->isEnabled());
    EXPECT_FALSE(command("zoomResetMnu")->isEnabled());
    window->setZoom(200);
    QApplication::processEvents();
    ASSERT_EQ(window->size(), app::windowSize(window->zoomGeometry(), 200));
    command("zoomOutMnu")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(window->zoom(), 175);
    EXPECT_EQ(window->size(), app::windowSize(window->zoomGeometry(), 175));
    command("zoomResetMnu")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(window->zoom(), 100);
    EXPECT_EQ(window->size(), app::windowSize(window->zoomGeometry(), 100));
    EXPECT_TRUE(command("zoomInMnu")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Equal)));
    EXPECT_TRUE(command("zoomInMnu")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Plus)));
    EXPECT_EQ(command("zoomOutMnu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Minus));
    EXPECT_EQ(command("zoomResetMnu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_0));

    // Zoom In takes a step only when the larger window fits the screen.
    const QSize frame = window->frameGeometry().size() - window->size();
    const QSize area = window->screen()->availableGeometry().size();
    const bool fits = app::windowFits(window->zoomGeometry(), 125, frame, area);
    command("zoomInMnu")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(window->zoom(), fits ? 125 : 100);
}

TEST(ZoomSteps, AWindowFitsTheAvailableAreaWithItsDecorations)
{
    const app::ZoomGeometry geometry{QSize(638, 400), 20, 22};
    const QSize window = app::windowSize(geometry, 125);
    EXPECT_TRUE(app::windowFits(geometry, 125, QSize(4, 30), window + QSize(4, 30)));
    EXPECT_FALSE(app::windowFits(geometry, 125, QSize(4, 30), window + QSize(3, 30)));
    EXPECT_FALSE(app::windowFits(geometry, 125, QSize(4, 30), window + QSize(4, 29)));
}

TEST_F(Zoomed, ResizingChoosesTheLargestStepThatFits)
{
    const app::ZoomGeometry& geometry = window->zoomGeometry();
    window->resize(app::windowSize(geometry, 175) + QSize(30, 3));
    QApplication::processEvents();
    EXPECT_EQ(window->zoom(), 175);
    // The content is centred on the window's background.
    const QWidget* tabs = c().tabs;
    EXPECT_EQ(tabs->x(), 15);
    EXPECT_EQ(tabs->size(), app::contentSize(geometry, 175));
    window->resize(app::windowSize(geometry, 150) - QSize(0, 1));
    QApplication::processEvents();
    EXPECT_EQ(window->zoom(), 125);
    // Never smaller than the layout itself.
    window->resize(100, 100);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), app::windowSize(geometry, 100));
    EXPECT_EQ(window->zoom(), 100);
}

} // namespace
