// The designer's own costs: a palette click on the area with the most seeds
// (at 100 and 150 %), a zoom change, and start-up against a bare window with
// eight tab pages.
#include "app/mainwindow.h"
#include "bare_window.h"
#include "catalogue/catalogue.h"
#include "render/drawing.h"
#include "toolkit/listbox.h"
#include "toolkit/palettesurface.h"
#include "toolkit/tabstrip.h"

#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// One click's whole work: the release, then the repaint it asked for. Kept out
// of line so that a profiler can count exactly this
// (valgrind --tool=callgrind --toggle-collect='*releaseOn*').
[[gnu::noinline]] void releaseOn(QWidget* palette, const QPointF& point)
{
    QMouseEvent release(QEvent::MouseButtonRelease, point, palette->mapToGlobal(point), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(palette, &release);
    QApplication::processEvents();
}

// The palette click on Lumen "Front" (seven seeds), from the button release to
// the surfaces repainted, at the zoom of the argument. Two colours alternate
// so every fill really paints.
void BM_PaletteClickLumenFront(benchmark::State& state)
{
    app::MainWindow window;
    window.setZoom(static_cast<int>(state.range(0)));
    window.startUp();
    window.controls().tabs->setCurrentTab(7);
    window.controls().areaLists[7]->selectByText(QStringLiteral("Front"));
    QApplication::processEvents();
    tk::PictureSurface* palette = window.controls().palettes[7];
    // The releases land on two cells, wherever the zoom put them.
    const auto at = [palette](double x, double y) {
        const QPointF layout(x + palette->border(), y + palette->border());
        return QPointF(layout.x() * palette->width() / palette->layoutSize().width(),
                       layout.y() * palette->height() / palette->layoutSize().height());
    };
    const QPointF cells[2] = {at(10.5, 10.5), at(25.5, 10.5)};
    bool other = false;
    for (auto _ : state) {
        releaseOn(palette, cells[other ? 1 : 0]);
        other = !other;
    }
    if (window.state()[7].areaColour[0] == cat::kNoColour)
        state.SkipWithError("the clicks coloured nothing");
    benchmark::DoNotOptimize(window.state()[7].areaColour[0]);
}
BENCHMARK(BM_PaletteClickLumenFront)
    ->Arg(100)
    ->Arg(150)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// A zoom change, 100 % to 150 % and back in turns, from the command to the
// window repainted.
void BM_ZoomChange(benchmark::State& state)
{
    app::MainWindow window;
    window.startUp();
    QApplication::processEvents();
    bool zoomed = false;
    for (auto _ : state) {
        zoomed = !zoomed;
        window.setZoom(zoomed ? 150 : 100);
        QApplication::processEvents();
        if (window.zoom() != (zoomed ? 150 : 100)) {
            state.SkipWithError("the zoom did not change");
            break;
        }
    }
}
BENCHMARK(BM_ZoomChange)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

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
