// The lists paint their entries themselves, laying each text out once; Qt's
// styled delegate is what they must look like. Every list of every page,
// for a few designs, with and without a selected line, a current line and
// the keyboard focus, at 100 and 150 %, pixel for pixel.
#include "app/mainwindow.h"
#include "catalogue/catalogue.h"
#include "support/picture_diff.h"
#include "toolkit/listbox.h"
#include "toolkit/palettesurface.h"
#include "toolkit/tabstrip.h"

#include <QApplication>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The list as it paints with `delegate` for its entries.
QImage paintedBy(tk::ListBox* list, QAbstractItemDelegate* delegate)
{
    QAbstractItemDelegate* own = list->itemDelegate();
    list->setItemDelegate(delegate);
    const QImage picture = list->grab().toImage();
    list->setItemDelegate(own);
    return picture;
}

class ListPainting : public testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        window.setZoom(GetParam());
        window.startUp();
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Colours every `step`-th area of model m from fabric `fabric`'s
    // palette, as a user with the keyboard would.
    void colourAreas(int m, int step, int fabric)
    {
        const design::Controls& c = window.controls();
        const auto mi = static_cast<std::size_t>(m);
        tk::ListBox* areas = c.areaLists[mi];
        tk::ListBox* fabrics = c.fabricLists[mi];
        if (fabrics->entryCount() > 0)
            fabrics->setCurrentRow(fabric % fabrics->entryCount());
        for (int row = 0; row < areas->entryCount(); row += step) {
            areas->setCurrentRow(row);
            c.palettes[mi]->activateCell((row * 5 + fabric) % 7);
        }
        QApplication::processEvents();
    }

    // The list as it is, with line `row` selected, with it current but not
    // selected, and each of those with the keyboard focus: painted by the
    // list and by the styled delegate.
    void expectSamePainting(tk::ListBox* list, int row)
    {
        const std::string name = list->objectName().toStdString();
        const auto check = [&](const char* what) {
            SCOPED_TRACE(testing::Message() << name << ", " << what << ", line " << row);
            const QImage reference = paintedBy(list, &styled);
            EXPECT_EQ(differences(reference, list->grab().toImage()), "");
        };
        check("as it is");
        if (list->entryCount() == 0)
            return;
        // Only the painting is under test: the designer does not hear of it.
        const QSignalBlocker quiet(list);
        list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        check("selected");
        if (!list->isVisible()) // a page's list it does not use
            return;
        list->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(list->hasFocus());
        check("selected, with the focus");
        list->selectionModel()->clearSelection();
        list->selectionModel()->setCurrentIndex(list->model()->index(row, 0), QItemSelectionModel::NoUpdate);
        check("current only, with the focus");
        window.setFocus();
        check("current only");
    }

    app::MainWindow window;
    QStyledItemDelegate styled;
};

TEST_P(ListPainting, EveryListPaintsAsTheStyledDelegate)
{
    // The lists' own painting covers the styles that paint entries with
    // Qt's common item painting; under another style the test is void.
    const QString style = QApplication::style()->name();
    ASSERT_TRUE(style.compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0 ||
                style.compare(QLatin1String("windows"), Qt::CaseInsensitive) == 0)
        << style.toStdString();

    const design::Controls& c = window.controls();
    for (int design = 0; design < 3; ++design) {
        for (int m = 0; m < cat::kModelCount; ++m) {
            SCOPED_TRACE(testing::Message() << "design " << design << ", model " << m);
            const auto mi = static_cast<std::size_t>(m);
            c.tabs->setCurrentTab(m);
            if (design == 1)
                colourAreas(m, 2, 1);
            else if (design == 2)
                colourAreas(m, 1, 2);
            std::vector<tk::ListBox*> lists = {c.areaLists[mi], c.colourLists[mi], c.fabricLists[mi]};
            if (m == cat::kBrisa)
                lists.insert(lists.end(), {c.areaLists[cat::kBrisaBack], c.colourLists[cat::kBrisaBack]});
            for (tk::ListBox* list : lists)
                expectSamePainting(list, (design + m) % std::max(list->entryCount(), 1));
        }
    }
    // The designs really coloured areas: their lines name colours.
    EXPECT_NE(c.colourLists[0]->entry(0), c.colourLists[0]->entry(1));
}

INSTANTIATE_TEST_SUITE_P(Zooms, ListPainting, testing::Values(100, 150));

} // namespace
