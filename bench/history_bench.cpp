// The edit history's costs: one step undone or redone on a full Brisa design,
// and the memory a long history holds.
#include "app/mainwindow.h"
#include "catalogue/catalogue.h"
#include "design/history.h"
#include "toolkit/listbox.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"

#include <QApplication>
#include <QRadioButton>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>

namespace {

// A palette click on a cell.
void clickCell(app::MainWindow& window, int m, int cell)
{
    const cat::CellPos pos = cat::cellOf(cell);
    window.designer().applyPaletteCell(m, {pos.column, pos.row});
}

// Brisa with all 20 areas coloured, then "Upper Body Left" (front, two
// regions, one in each view) coloured again: each iteration undoes that last
// step or redoes it, from the menu command to the surfaces repainted.
void BM_UndoRedoOneStepBrisaAllAreas(benchmark::State& state)
{
    app::MainWindow window;
    window.startUp();
    const design::Controls& c = window.controls();
    c.tabs->setCurrentTab(cat::kBrisa);
    for (int slot = 0; slot < 20; ++slot) {
        const bool back = slot >= cat::kBackOffset;
        (back ? c.backView : c.frontView)->click();
        c.areaLists[back ? cat::kBrisaBack : cat::kBrisa]->selectByText(QString::fromUtf8(
            cat::kBrisaAreas[slot % 10].name.data(), cat::kBrisaAreas[slot % 10].name.size()));
        clickCell(window, cat::kBrisa, slot % 14);
    }
    c.frontView->click();
    c.areaLists[cat::kBrisa]->selectByText(QStringLiteral("Upper Body Left"));
    clickCell(window, cat::kBrisa, 6); // Red, over Purple
    design::EditHistory& history = window.designer().history();
    const tk::PictureSurface* drawing = c.drawings[cat::kBrisa];
    const cat::Colour red = drawing->pixel(110, 60);
    QApplication::processEvents();
    if (history.steps(cat::kBrisa) != 21) {
        state.SkipWithError("the clicks made no history");
        return;
    }
    bool undo = true;
    for (auto _ : state) {
        const bool done = undo ? history.undo() : history.redo();
        QApplication::processEvents();
        // Each step must really repaint: Purple after the undo, Red after the redo.
        const cat::Colour shown = drawing->pixel(110, 60);
        if (!done || (shown == red) == undo || drawing->pixel(234, 33) != shown) {
            state.SkipWithError("undo or redo did not repaint the area");
            return;
        }
        undo = !undo;
    }
}
BENCHMARK(BM_UndoRedoOneStepBrisaAllAreas)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// What the history adds to every palette click: the slot read before the
// click, read again after it, and the step pushed (the menu's captions
// included).
void BM_RecordOneStep(benchmark::State& state)
{
    app::MainWindow window;
    window.startUp();
    design::EditHistory& history = window.designer().history();
    int recorded = 0;
    for (auto _ : state) {
        {
            const design::StepRecorder step(history, 0, 1);
        }
        if (++recorded % 10000 == 0) {
            state.PauseTiming();
            history.clear(0);
            state.ResumeTiming();
        }
    }
    if (history.steps(0) != recorded % 10000)
        state.SkipWithError("no steps recorded");
}
BENCHMARK(BM_RecordOneStep)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

// 10,000 palette clicks on Orlensuit, all kept for undo: the heap the history
// holds, by glibc's count of bytes in use. Clearing it (New) gives it back.
void BM_HistoryOf10000Clicks(benchmark::State& state)
{
    constexpr int kClicks = 10000;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<app::MainWindow>();
        window->startUp();
        const design::Controls& c = window->controls();
        design::EditHistory& history = window->designer().history();
        // One click of each kind first, so the tables of texts and the lists
        // have their sizes before counting.
        clickCell(*window, 0, 1);
        history.clear(0);
        const std::size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        for (int k = 0; k < kClicks; ++k) {
            if (k % 50 == 0)
                c.areaLists[0]->selectByText(
                    QString::fromUtf8(cat::kModels[0].areas[(k / 50) % 5].name.data()));
            clickCell(*window, 0, k % 17);
        }
        state.PauseTiming();
        const std::size_t after = mallinfo2().uordblks;
        if (history.steps(0) != kClicks) {
            state.SkipWithError("the clicks did not all become steps");
            return;
        }
        history.clear(0);
        const std::size_t cleared = mallinfo2().uordblks;
        state.counters["history_bytes"] = static_cast<double>(after - before);
        state.counters["bytes_per_step"] = static_cast<double>(after - before) / kClicks;
        state.counters["left_after_clear"] = static_cast<double>(cleared) - static_cast<double>(before);
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HistoryOf10000Clicks)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

} // namespace
