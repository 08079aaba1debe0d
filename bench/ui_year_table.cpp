// The year table's window with 40 kinds: from handing it the table to the
// table and the chart both painted. scripts/run-bench runs it on Xvfb, where a
// paint reaches a real X server.
#include "core/month_file.h"
#include "core/month_walk.h"
#include "core/year_table.h"
#include "paint_watch.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"
#include "ui/year_window/year_chart.h"
#include "ui/year_window/year_form.h"

#include <QApplication>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace kozenica {
namespace {

using bench::paint_watch;

constexpr int kinds_used = 40;

// Two years of months of 400 lines over 40 kinds, read once into a table.
const year_table& forty_kinds() {
    static const year_table table = [] {
        QTemporaryDir dir;
        const std::string path = QFile::encodeName(dir.path()).toStdString() + "/";
        kind_list kinds;
        for (int k = 1; k <= kinds_used; ++k)
            kinds.push_back({k, line_text("\x8e\xed\x97\xde" + std::to_string(k))}); // 種類
        for (int i = 0; i < 24; ++i) {
            shuushi_data month;
            month.row_count = 401;
            for (int l = 1; l <= 400; ++l)
                month.lines[std::size_t(l)] = {
                    std::int8_t(l % 28 + 1),       {}, {}, (l * 7 + i) % kinds_used + 1, 0,
                    100 + (l * 13 + i * 7) % 4000, {}};
            QFile file(QString::fromStdString(
                month_path(path, std::uint16_t(2023 + i / 12), std::uint16_t(i % 12 + 1), 0)));
            const std::string bytes = encode_kzn(month);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) < 0)
                std::abort();
        }
        return build_year_table(2024, 0, path, kinds, std::nullopt);
    }();
    return table;
}

void BM_year_window_first_paint(benchmark::State& state) {
    const year_table& table = forty_kinds();
    scripted_notifier notify;
    scripted_modal_runner runner;
    for (auto _ : state) {
        auto window = std::make_unique<year_form>(nullptr, std::string("/tmp/"), notify, runner);
        paint_watch table_watch, chart_watch;
        window->year_disp()->viewport()->installEventFilter(&table_watch);
        window->chart()->installEventFilter(&chart_watch);
        window->set_source([&table] { return table; });
        window->show();
        while (!table_watch.painted || !chart_watch.painted)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["kinds"] = double(table.kind_rows());
}
BENCHMARK(BM_year_window_first_paint)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
} // namespace kozenica
