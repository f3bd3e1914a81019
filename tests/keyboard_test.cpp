// The designer without a mouse, and as a screen reader sees it: Tab order,
// page keys, the palette's focus cell and its accessible cells, and the
// descriptions of the colour key and the drawing.
#include "app/mainwindow.h"
#include "catalogue/catalogue.h"
#include "toolkit/listbox.h"
#include "toolkit/palettesurface.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class Keyboard : public testing::Test {
protected:
    void SetUp() override { window = open(); }

    static std::unique_ptr<app::MainWindow> open()
    {
        auto w = std::make_unique<app::MainWindow>();
        w->startUp();
        QApplication::setActiveWindow(w.get());
        return w;
    }

    const design::Controls& c() const { return window->controls(); }
    tk::PaletteSurface* palette(int m) const { return c().palettes[static_cast<std::size_t>(m)]; }

    static void pick(tk::ListBox* list, const QString& text)
    {
        const auto found = list->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << text.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
    }

    static void press(std::initializer_list<Qt::Key> keys, Qt::KeyboardModifiers modifiers = {})
    {
        for (Qt::Key key : keys) {
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        }
    }

    static QString focusName()
    {
        QWidget* focus = QApplication::focusWidget();
        return focus != nullptr ? focus->objectName() : QStringLiteral("<none>");
    }

    // The names of the controls Tab visits from `first`, `steps` presses long.
    static QStringList tabWalk(QWidget* first, int steps)
    {
        first->setFocus(Qt::TabFocusReason);
        QStringList visited{focusName()};
        for (int i = 0; i < steps; ++i) {
            press({Qt::Key_Tab});
            visited << focusName();
        }
        return visited;
    }

    std::unique_ptr<app::MainWindow> window;
};

TEST_F(Keyboard, TabGoesThroughListsPaletteAndButtonsOnEveryPage)
{
    for (int m = 0; m < cat::kModelCount; ++m) {
        c().tabs->setCurrentTab(m);
        const QString n = QString::number(m);
        QStringList want{"suitlist" + n, "colordesc" + n, "matlist" + n, "ol1Pb" + n};
        // Brisa: only the chosen view option is a Tab stop, the arrows move between them. Elsewhere
        // selectionButton starts disabled: the Selection panel is the one shown.
        const bool brisa = m == cat::kBrisa;
        want = brisa ? QStringList{"frontopt"} + want : want + QStringList{"Command2" + n, "Command3" + n};
        QWidget* first =
            brisa ? static_cast<QWidget*>(c().frontView) : c().areaLists[static_cast<std::size_t>(m)];
        EXPECT_EQ(tabWalk(first, static_cast<int>(want.size()) - 1), want) << "page " << m;
    }
    // Controls covered by the Suit Info panel are no Tab stops until uncovered.
    c().tabs->setCurrentTab(0);
    const app::PagePanels& p = window->panels(0);
    QTest::mouseClick(p.suitInfoButton, Qt::LeftButton);
    const QStringList walk = tabWalk(p.selectionButton, 6);
    EXPECT_TRUE(walk.contains("txtinfo0Editor")) << walk.join(' ').toStdString();
    for (const char* covered : {"suitlist0", "matlist0", "ol1Pb0", "colordesc0"})
        EXPECT_FALSE(walk.contains(covered)) << walk.join(' ').toStdString();
    QTest::mouseClick(p.selectionButton, Qt::LeftButton);
    EXPECT_TRUE(tabWalk(p.suitInfoButton, 6).contains("ol1Pb0"));
}

TEST_F(Keyboard, ControlTabAndControlPageKeysSwitchPages)
{
    c().areaLists[0]->setFocus(Qt::TabFocusReason);
    press({Qt::Key_Tab}, Qt::ControlModifier);
    EXPECT_EQ(c().tabs->currentTab(), 1);
    press({Qt::Key_PageDown}, Qt::ControlModifier);
    EXPECT_EQ(c().tabs->currentTab(), 2);
    press({Qt::Key_PageUp, Qt::Key_PageUp, Qt::Key_PageUp}, Qt::ControlModifier);
    EXPECT_EQ(c().tabs->currentTab(), 7); // wraps round
    // The focus stays on the page shown, so the next Tab works there.
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(c().tabs->page(7)->isAncestorOf(focus) || focus == c().tabs->tabBar())
        << focusName().toStdString();
}

// Colouring with the keyboard gives exactly what the same click gives.
TEST_F(Keyboard, EnterOnTheFocusCellIsTheClickOnIt)
{
    auto mouse = open();
    const design::Controls& m = mouse->controls();
    pick(m.areaLists[0], "Legs");
    pick(m.fabricLists[0], "Polycotton");
    const cat::CellPos royal = cat::cellOf(8);
    QTest::mouseClick(m.palettes[0], Qt::LeftButton, {},
                      QPoint(cat::cellLeft(royal.column) + 7, cat::cellTop(royal.row) + 7));

    QApplication::setActiveWindow(window.get());
    pick(c().areaLists[0], "Legs");
    pick(c().fabricLists[0], "Polycotton");
    palette(0)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(c().colourLabels[0]->text(), "Purple"); // cell 0 named on arrival
    press({Qt::Key_Down, Qt::Key_Right});
    EXPECT_EQ(palette(0)->focusCell(), 8);
    EXPECT_EQ(c().colourLabels[0]->text(), "Royal Blue");
    press({Qt::Key_Return});

    const state::ModelDesign& a = mouse->state()[0];
    const state::ModelDesign& b = window->state()[0];
    EXPECT_EQ(b.areaColourName[1], "Royal Blue");
    EXPECT_TRUE(a.areaColour == b.areaColour && a.areaFabric == b.areaFabric &&
                a.areaFabricCode == b.areaFabricCode && a.areaColourName == b.areaColourName);
    EXPECT_EQ(a.currentColour, b.currentColour);
    EXPECT_EQ(a.changed, b.changed);
    EXPECT_EQ(a.saved, b.saved);
    EXPECT_EQ(m.palettes[0]->image(), palette(0)->image()); // the marker too
    EXPECT_EQ(m.drawings[0]->image(), c().drawings[0]->image());
    EXPECT_EQ(m.colourKeys[0]->image(), c().colourKeys[0]->image());
    EXPECT_EQ(m.colourLists[0]->entry(1), c().colourLists[0]->entry(1));

    press({Qt::Key_Left, Qt::Key_Space}); // Space applies too
    EXPECT_EQ(b.areaColour[1], 7);
}

TEST_F(Keyboard, FocusCellStaysOnTheCellsShownAndHasARingInTheGap)
{
    pick(c().areaLists[0], "Legs"); // CottonFelt: 17 colours, cells 0-16
    palette(0)->setFocus(Qt::TabFocusReason);
    press({Qt::Key_End, Qt::Key_Right}); // the empty cell beyond is not a stop
    EXPECT_EQ(palette(0)->focusCell(), 16);
    // Down from a full row's far cell lands on the short last row's last cell.
    press({Qt::Key_Home, Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right,
           Qt::Key_Right, Qt::Key_Down});
    EXPECT_EQ(palette(0)->focusCell(), 16);
    press({Qt::Key_Left, Qt::Key_Up});
    EXPECT_EQ(palette(0)->focusCell(), 8);

    // Applied, the cell has the marker inside and the focus ring in the gap around it.
    press({Qt::Key_Return});
    const QImage shown = palette(0)->grab().toImage();
    const QRect swatch = palette(0)->cellRect(8);
    const QRgb ring = palette(0)->palette().color(QPalette::Highlight).rgb();
    EXPECT_EQ(shown.pixel(swatch.left() - 1, swatch.center().y()), ring);
    EXPECT_EQ(shown.pixel(swatch.right() + 2, swatch.top()), ring);
    EXPECT_EQ(QColor(shown.pixel(swatch.topLeft())), QColor(Qt::black)); // the marker
    // The ring is not in the palette's pixels: clicks and the marker see none of it.
    EXPECT_EQ(palette(0)->pixel(swatch.left() - 1 - palette(0)->border(), swatch.center().y()),
              palette(0)->background());
    c().areaLists[0]->setFocus(Qt::TabFocusReason);
    EXPECT_NE(palette(0)->grab().toImage().pixel(swatch.left() - 1, swatch.center().y()), ring);

    // A fabric with fewer colours pulls the focus cell into range.
    pick(c().areaLists[0], "Binding Tape");
    pick(c().areaLists[0], "Front of Grips");
    pick(c().fabricLists[0], "Heavy Cotton"); // 8 colours
    palette(0)->setFocus(Qt::TabFocusReason);
    press({Qt::Key_End});
    EXPECT_EQ(palette(0)->focusCell(), 7);
}

// The area and fabric lists show where the keyboard is, as the palette does:
// a ring inside the frame once Tab reaches them or a key is used in them,
// none after a click, and none on a list without the focus.
TEST_F(Keyboard, ListsShowTheKeyboardFocus)
{
    const auto ringShown = [](tk::ListBox* list) {
        const QImage shown = list->viewport()->grab().toImage();
        const QRgb ring = list->palette().color(QPalette::Highlight).rgb();
        const int middle = shown.height() / 2;
        return shown.pixel(0, middle) == ring && shown.pixel(shown.width() - 1, middle) == ring &&
               shown.pixel(shown.width() / 2, shown.height() - 1) == ring;
    };
    for (tk::ListBox* list : {c().areaLists[0], c().fabricLists[0]}) {
        SCOPED_TRACE(list->objectName().toStdString());
        EXPECT_FALSE(ringShown(list));
        list->setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(list->showsFocus());
        EXPECT_TRUE(ringShown(list));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        EXPECT_FALSE(ringShown(list));
        QTest::keyClick(list, Qt::Key_Down);
        EXPECT_TRUE(ringShown(list));
        palette(0)->setFocus(Qt::TabFocusReason);
        EXPECT_FALSE(ringShown(list));
    }
}

// The ring and the cell's name come from the keyboard only: focus given
// back by a page switch or the window's activation changes nothing shown.
TEST_F(Keyboard, FocusGivenBackShowsThePaletteAsItWasLeft)
{
    const QRect swatch = palette(0)->cellRect(15); // "Orange"
    const QRgb ring = palette(0)->palette().color(QPalette::Highlight).rgb();
    const auto ringShown = [&] {
        return palette(0)->grab().toImage().pixel(swatch.left() - 1, swatch.center().y()) == ring;
    };
    const auto look = [&] {
        return QStringList{c().colourLabels[0]->text(), window->panels(0).newsPanel->text()};
    };
    const auto away = [&](bool byPage) {
        if (byPage) {
            c().tabs->setCurrentTab(3);
            c().tabs->setCurrentTab(0);
        } else {
            QApplication::setActiveWindow(nullptr);
            QApplication::setActiveWindow(window.get());
        }
    };
    for (const bool byPage : {true, false}) {
        SCOPED_TRACE(byPage ? "page switch" : "window activation");
        // Clicked: no ring, and coming back shows none and names nothing.
        c().colourLabels[0]->clear();
        QTest::mouseClick(palette(0), Qt::LeftButton, {}, swatch.center());
        ASSERT_TRUE(palette(0)->hasFocus());
        const QStringList clicked = look();
        EXPECT_FALSE(ringShown());
        away(byPage);
        ASSERT_TRUE(palette(0)->hasFocus());
        EXPECT_FALSE(ringShown());
        EXPECT_EQ(look(), clicked);

        // An arrow key brings the ring; it is still there on the way back.
        press({Qt::Key_Left, Qt::Key_Right});
        EXPECT_TRUE(ringShown());
        c().colourLabels[0]->setText(QStringLiteral("kept"));
        const QStringList keyed = look();
        away(byPage);
        EXPECT_TRUE(ringShown());
        EXPECT_EQ(look(), keyed);

        // Tabbed away and back: ringed and named on arrival.
        press({Qt::Key_Tab});
        EXPECT_FALSE(palette(0)->hasFocus());
        press({Qt::Key_Backtab});
        EXPECT_TRUE(ringShown());
        EXPECT_EQ(c().colourLabels[0]->text(), "Orange");
    }
}

TEST_F(Keyboard, ScreenReadersSeeTheCellsByName)
{
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(palette(0));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), 17); // CottonFelt
    for (int k = 0; k < list->childCount(); ++k) {
        QAccessibleInterface* cell = list->child(k);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->role(), QAccessible::ListItem);
        EXPECT_EQ(cell->text(QAccessible::Name).toStdString(),
                  cat::kFabrics[cat::kCottonFelt].palette[k].name);
        const QPoint centre = cell->rect().center();
        EXPECT_TRUE(cell->parent() == list && list->indexOfChild(cell) == k &&
                    list->childAt(centre.x(), centre.y()) == cell)
            << "cell " << k;
    }
    EXPECT_EQ(list->child(17), nullptr);

    pick(c().areaLists[0], "Binding Tape"); // the Tape palette: 31 cells
    EXPECT_EQ(list->childCount(), 31);

    // A screen reader's "press" on a cell is the click on it.
    pick(c().areaLists[0], "Legs");
    pick(c().fabricLists[0], "Polycotton");
    list->child(8)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window->state()[0].areaColourName[1], "Royal Blue");
}

TEST_F(Keyboard, KeyAndDrawingDescribeTheAreaColours)
{
    const auto description = [](QWidget* w) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        return face != nullptr ? face->text(QAccessible::Description) : QStringLiteral("<none>");
    };
    EXPECT_TRUE(
        description(c().colourKeys[0]).startsWith("Body: no colour; Legs: no colour; Arms: no colour"));

    pick(c().areaLists[0], "Legs");
    pick(c().fabricLists[0], "Polycotton");
    palette(0)->activateCell(8);
    pick(c().areaLists[0], "Binding Tape");
    palette(0)->activateCell(0);
    const QString tape = QString::fromUtf8(cat::kFabrics[cat::kTape].palette[0].name.data());
    EXPECT_TRUE(description(c().colourKeys[0]).contains("Legs: Royal Blue (P)"));
    EXPECT_TRUE(description(c().colourKeys[0]).endsWith("Binding Tape: " + tape + " (T)"));
    EXPECT_TRUE(description(c().drawings[0]).contains("Legs: Royal Blue (P)"));
    EXPECT_FALSE(description(c().drawings[0]).contains("Binding Tape")); // not in the drawing

    // Brisa: each key names its own view, the drawing both.
    c().tabs->setCurrentTab(cat::kBrisa);
    QTest::mouseClick(c().backView, Qt::LeftButton);
    pick(c().areaLists[cat::kBrisaBack], "Legs Right");
    palette(cat::kBrisa)->activateCell(0);
    const QString colour = QString::fromStdString(window->state()[cat::kBrisa].areaColourName[19]);
    ASSERT_FALSE(colour.isEmpty());
    EXPECT_TRUE(description(c().colourKeys[cat::kBrisaBack]).endsWith("Legs Right: " + colour + " (P)"));
    EXPECT_FALSE(description(c().colourKeys[cat::kBrisa]).contains(colour));
    EXPECT_TRUE(description(c().drawings[cat::kBrisa]).endsWith("Back Legs Right: " + colour + " (P)"));
}

} // namespace
