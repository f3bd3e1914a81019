// The designer's own costs: a palette click on the area with the most seeds,
// and start-up against a bare window with eight tab pages.
#include "app/mainwindow.h"
#include "bare_window.h"
#include "catalogue/catalogue.h"
#include "render/drawing.h"
#include "toolkit/listbox.h"
#include "toolkit/tabstrip.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The palette click on Lumen "Front" (seven seeds), from the button release to
// the surfaces repainted. Two colours alternate so every fill really paints.
void BM_PaletteClickLumenFront(benchmark::State& state)
{
    app::MainWindow window;
    window.startUp();
    window.controls().tabs->setCurrentTab(7);
    window.controls().areaLists[7]->selectByText(QStringLiteral("Front"));
    QApplication::processEvents();
    bool other = false;
    for (auto _ : state) {
        const float x = other ? 25.0F : 10.0F;
        window.designer().onPaletteReleased(7, 1, 0, x, 10.0F);
        QApplication::processEvents();
        other = !other;
    }
    benchmark::DoNotOptimize(window.state()[7].areaColour[0]);
}
BENCHMARK(BM_PaletteClickLumenFront)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

// The click's floor: filling the same area of Lumen's drawing from its seven
// seeds, with no widgets.
void BM_PaintAreaLumenFront(benchmark::State& state)
{
    QImage drawing = render::pristineDrawing(7);
    const cat::Colour colours[2] = {0x00c08040U, 0x004080c0U};
    int run = 0;
    for (auto _ : state) {
        const std::size_t painted = render::paintArea(drawing, 7, 0, colours[run++ & 1]);
        benchmark::DoNotOptimize(painted);
        if (painted == 0) {
            state.SkipWithError("the area fill painted nothing");
            break;
        }
    }
}
BENCHMARK(BM_PaintAreaLumenFront)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

// Start-up: building the window, its start-up and showing it.
void BM_StartUpDesigner(benchmark::State& state)
{
    for (auto _ : state) {
        auto window = std::make_unique<app::MainWindow>();
        window->startUp();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.get());
    }
}
BENCHMARK(BM_StartUpDesigner)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// The floor: a bare main window with eight empty tab pages.
void BM_StartUpBareWindow(benchmark::State& state)
{
    for (auto _ : state) {
        auto window = showBareWindow();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.get());
    }
}
BENCHMARK(BM_StartUpBareWindow)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
