// From creating the main window to the first painted ledger grid.
#include "paint_watch.h"
#include "ui/main/ledger_view.h"
#include "ui_editor_support.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace kozenica::bench {
namespace {

void BM_start_up_to_first_painted_grid(benchmark::State& state) {
    bench_program_dir dir;
    silent_notifier notify;
    modal_runner runner;
    for (auto _ : state) {
        auto form = std::make_unique<main_form>(dir.path(), notify, runner);
        paint_watch watch;
        form->ledger_grid()->viewport()->installEventFilter(&watch);
        form->show();
        while (!watch.painted)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_start_up_to_first_painted_grid)->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace
} // namespace kozenica::bench
