// The design files: Open of a Brisa design with all 20 areas coloured, from
// the command to the window repainted, with and without every order detail,
// and Save of it through QSaveFile.
#include "app/mainwindow.h"
#include "catalogue/catalogue.h"
#include "commands/file_commands.h"
#include "files/design_file.h"
#include "toolkit/dialogs.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Every Brisa area in a colour of its own fabric, no two neighbours alike.
state::ModelDesign allAreasColoured()
{
    state::ModelDesign design;
    constexpr int kFabricsUsed[] = {cat::kCottonFelt, cat::kPolycotton, cat::kAcrylic, cat::kNylon};
    for (int k = 0; k < 20; ++k) {
        design.areaFabric[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(kFabricsUsed[k % 4]);
        design.areaColour[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(k % 10);
    }
    return design;
}

// Every field of the order details, the notes as long as the form allows.
state::OrderDetails fullOrder()
{
    state::OrderDetails order;
    order.orderNumber = "A-2026-118";
    order.orderDate = "2026-12-09";
    order.deliveryDate = "2027-02-28";
    order.quantity = 2;
    order.customer = {"Zoë Ørsted", "Hauptstraße 5\n80331 München\nGermany", "+49 89 1234 5678",
                      "zoe@example.org"};
    order.dealer = {"Sky Shop", "1 Drop Zone Road\nEloy, AZ 85131", "+1 520 555 0100", "shop@example.com"};
    order.size = "ML";
    order.units = state::Units::Metric;
    for (int i = 0; i < state::kMeasureCount; ++i)
        order.measurements[static_cast<std::size_t>(i)] = 40.5 + i;
    order.shoeSize = "42";
    order.notes = std::string(state::kMaxNotes, 'n');
    return order;
}

struct BrisaWindow {
    explicit BrisaWindow(bool withOrder = false)
    {
        if (withOrder)
            stored.order = fullOrder();
        window.startUp();
        window.setMessageService(&messages);
        window.setFileDialogService(&dialogs);
        window.controls().tabs->setCurrentTab(cat::kBrisa);
        path = folder.filePath(QStringLiteral("all.brr"));
        if (!files::writeDesignRecord(cat::kBrisa, stored, path))
            std::abort();
        QApplication::processEvents();
    }
    void open()
    {
        dialogs.answers.push_back(path);
        dialogs.requests.clear();
        window.fileCommands().onOpen();
        QApplication::processEvents();
    }
    // The first and the last area are in their colours on screen.
    bool shown() const
    {
        const tk::PictureSurface* drawing = window.controls().drawings[cat::kBrisa];
        return drawing->pixel(110, 60) ==
                   cat::paletteColour(stored.areaFabric[0], stored.areaColour[0])->value &&
               drawing->pixel(280, 245) ==
                   cat::paletteColour(stored.areaFabric[19], stored.areaColour[19])->value;
    }

    app::MainWindow window;
    tk::ScriptedMessageService messages;
    tk::ScriptedFileDialogService dialogs;
    QTemporaryDir folder;
    QString path;
    state::ModelDesign stored = allAreasColoured();
};

void BM_OpenBrisaAllAreas(benchmark::State& state)
{
    BrisaWindow brisa;
    for (auto _ : state) {
        brisa.open();
        if (!brisa.shown()) {
            state.SkipWithError("Open did not paint the design");
            break;
        }
    }
    if (brisa.window.state()[cat::kBrisa].areaColour != brisa.stored.areaColour ||
        !brisa.messages.asked.empty())
        state.SkipWithError("Open did not read the design");
}
BENCHMARK(BM_OpenBrisaAllAreas)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_OpenBrisaWithFullOrder(benchmark::State& state)
{
    BrisaWindow brisa(true);
    for (auto _ : state) {
        brisa.open();
        if (!brisa.shown()) {
            state.SkipWithError("Open did not paint the design");
            break;
        }
    }
    const state::OrderDetails& read = brisa.window.state()[cat::kBrisa].order;
    if (read.notes != brisa.stored.order.notes || read.customer != brisa.stored.order.customer ||
        read.measurements != brisa.stored.order.measurements || !brisa.messages.asked.empty())
        state.SkipWithError("Open did not read the order details");
}
BENCHMARK(BM_OpenBrisaWithFullOrder)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_SaveBrisaAllAreas(benchmark::State& state)
{
    BrisaWindow brisa;
    brisa.open();
    QFile::remove(brisa.path);
    for (auto _ : state) {
        brisa.window.fileCommands().onSave();
        if (!QFile::exists(brisa.path)) {
            state.SkipWithError("Save wrote nothing");
            break;
        }
        state.PauseTiming();
        QFile::remove(brisa.path);
        state.ResumeTiming();
    }
    brisa.window.fileCommands().onSave();
    QFile file(brisa.path);
    if (!file.open(QIODevice::ReadOnly) || file.size() != 80 || !brisa.messages.asked.empty())
        state.SkipWithError("Save did not write the 80-byte record");
}
BENCHMARK(BM_SaveBrisaAllAreas)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
