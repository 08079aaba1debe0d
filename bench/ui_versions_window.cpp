// The versions window of a full month (1999 lines) with 30 versions, each a
// few lines apart from the next: from the command's reading of the versions
// folder to the window's first painted list.
#include "bench_support.h"
#include "core/month_versions.h"
#include "paint_watch.h"
#include "ui/versions_window/versions_form.h"

#include <QApplication>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <memory>

namespace kozenica {
namespace {

using bench::paint_watch;

struct thirty_versions {
    bench::scratch_dir scratch{"kozenica-bench-window"};
    std::string month = scratch.path() + "2024_5.kzn";
    std::unique_ptr<shuushi_data> in_hand = bench::full_month([](shuushi_line& line, int i) {
        line.day = std::int8_t(i % 31 + 1);
        line.shop.assign(bench::full_text("shop ", i));
        line.item.assign(bench::full_text("item ", i));
        line.expense = 100 + i;
    });

    // Version v has every tenth line from v on changed, and its last v lines gone.
    thirty_versions() {
        for (int v = 1; v <= versions_kept; ++v) {
            shuushi_data version = *in_hand;
            for (int i = v; i <= max_lines; i += 10)
                version.lines[std::size_t(i)].expense += v;
            version.row_count -= v;
            std::filesystem::create_directories(versions_folder(month));
            bench::write_file(versions_folder(month) + version_name({1796598930 - v * 3600}, ".kzn"),
                              encode_kzn(version));
        }
    }
};

void BM_versions_window_open(benchmark::State& state) {
    static const thirty_versions files;
    for (auto _ : state) {
        auto window = std::make_unique<versions_form>(nullptr);
        paint_watch watch;
        window->versions_list()->viewport()->installEventFilter(&watch);
        window->set_versions(list_month_versions(files.month, *files.in_hand), {});
        window->show();
        while (!watch.painted)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_versions_window_open)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
} // namespace kozenica
