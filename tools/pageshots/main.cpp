// pageshots OUTDIR: starts the designer, colours every area of every model
// (each area another palette colour), and saves the whole window as each
// page shows in it:
//   start.png         page 0 right after start-up
//   page0.png-page7.png  every page with every area coloured (Brisa: front view)
//   page6-back.png    Brisa's page with the back view chosen
//   page0-info.png, page0-order.png  the two information panels
//   window.png        page 0 as in the README
//   order-details.png the Order Details form of page 0, partly filled
// Each page's news panel shows another news message, so all six are seen.
// Run it under a real display (xvfb-run) and with QT_SCALE_FACTOR=2 for the
// high-density look; tools/pageshots.sh does both.
#include "app/mainwindow.h"
#include "app/order_dialog.h"
#include "catalogue/catalogue.h"
#include "toolkit/listbox.h"
#include "toolkit/tabstrip.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>

namespace {

// Processes pending paint and layout events so a grab shows the final state.
void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// Selects every entry of an area list in turn and clicks a palette colour for
// it; successive areas take colours spread over the palette.
void colourEveryArea(app::MainWindow& window, int m, int listIndex)
{
    const design::Controls& c = window.controls();
    tk::ListBox* areas = c.areaLists[static_cast<std::size_t>(listIndex)];
    for (int row = 0; row < areas->entryCount(); ++row) {
        areas->selectByText(areas->entry(row));
        const int fabric = window.state()[m].currentFabric;
        const auto count = static_cast<int>(cat::kFabrics[fabric].palette.size());
        if (count == 0)
            continue;
        const int colour = (row * 5 + listIndex * 3 + 1) % count;
        const cat::CellPos cell = cat::cellOf(colour);
        window.designer().applyPaletteCell(m, {cell.column, cell.row});
    }
    areas->selectByText(areas->entry(0));
}

bool save(QWidget* widget, const QDir& dir, const QString& name)
{
    settle();
    const bool ok = widget->grab().save(dir.filePath(name));
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(dir.filePath(name)));
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: pageshots OUTDIR\n", stderr);
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral(".")))
        return 1;

    app::MainWindow window;
    window.startUp();
    window.newsTimer()->stop(); // the tool ticks the news itself
    const design::Controls& c = window.controls();
    bool ok = save(&window, dir, QStringLiteral("start.png"));

    for (int m = 0; m < cat::kModelCount; ++m) {
        c.tabs->setCurrentTab(m);
        settle();
        if (m == cat::kBrisa) {
            c.backView->click();
            colourEveryArea(window, m, cat::kBrisaBack);
            c.frontView->click();
        }
        colourEveryArea(window, m, m);
        window.showNextNews();
    }
    for (int m = 0; m < cat::kModelCount; ++m) {
        c.tabs->setCurrentTab(m);
        ok = save(&window, dir, QStringLiteral("page%1.png").arg(m)) && ok;
    }
    c.tabs->setCurrentTab(cat::kBrisa);
    c.backView->click();
    ok = save(&window, dir, QStringLiteral("page6-back.png")) && ok;
    c.frontView->click();

    c.tabs->setCurrentTab(0);
    const app::PagePanels& p = window.panels(0);
    p.suitInfoButton->click();
    ok = save(&window, dir, QStringLiteral("page0-info.png")) && ok;
    p.orderInfoButton->click();
    ok = save(&window, dir, QStringLiteral("page0-order.png")) && ok;
    p.selectionButton->click();
    ok = save(&window, dir, QStringLiteral("window.png")) && ok;

    window.show();
    window.findChild<QAction*>(QStringLiteral("orderDetailsMnu"))->trigger();
    if (auto* form = window.findChild<app::OrderDetailsDialog*>()) {
        const auto fill = [form](const char* key, const char* text) {
            if (auto* edit = form->findChild<QLineEdit*>(QString::fromLatin1(key))) {
                edit->setText(QString::fromUtf8(text));
                emit edit->textEdited(edit->text());
            }
        };
        fill("orderNumber", "A-2026-118");
        fill("customer.name", "Zoë Ørsted");
        fill("measurements.height", "182");
        fill("measurements.chest", "101,5");
        fill("measurements.waist", "300");
        fill("measurements.hips", "9o");
        ok = save(form, dir, QStringLiteral("order-details.png")) && ok;
        form->reject();
    } else {
        ok = false;
    }
    return ok ? 0 : 1;
}
