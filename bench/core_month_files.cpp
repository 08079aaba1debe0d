// Reading and writing month files, each beside the plain system calls that
// move the same bytes, so that the cost of the format itself shows as a ratio:
//   <figure>            the program's own reader or writer
//   <figure>_plain_...  open, read() or write(), close of the same file
#include "bench_support.h"

namespace kozenica {
namespace {

using bench::plain_read;
using bench::silent_notifier;
using bench::write_file;

constexpr int month_files = 600; // fifty years of months

// A month of 1999 lines with every text at its full 20 bytes.
std::unique_ptr<shuushi_data> full_month(int seed) {
    return bench::full_month([seed](shuushi_line& line, int i) {
        line.day = static_cast<std::int8_t>((i + seed) % 31 + 1);
        line.shop.assign(bench::full_text("shop ", i + seed));
        line.item.assign(bench::full_text("item ", i * 7 + seed));
        line.kind = i % 12;
        line.income = i % 10 == 0 ? 250000 + i : 0;
        line.expense = 100 + i * 13;
        line.memo.assign(bench::full_text("memo ", i));
    });
}

// The files every benchmark here reads, made once in a scratch directory that
// is removed when the program ends.
struct bench_files {
    bench::scratch_dir scratch{"kozenica-bench"};
    const std::string& dir = scratch.path();
    std::string kzn_month = dir + "2024_5.kzn";
    std::string csv_month = dir + "2024_5.csv";
    std::vector<std::string> months;
    std::unique_ptr<shuushi_data> table = full_month(0);

    bench_files() {
        write_file(kzn_month, encode_kzn(*table));
        write_file(csv_month, encode_csv(*table));
        for (int i = 0; i < month_files; ++i) {
            months.push_back(dir + std::to_string(1990 + i / 12) + "_" + std::to_string(i % 12 + 1) + ".kzn");
            write_file(months.back(), encode_kzn(*full_month(i)));
        }
    }
};

bench_files& files() {
    static bench_files f;
    return f;
}

void read_month(benchmark::State& state, const std::string& path) {
    auto table = std::make_unique<shuushi_data>();
    silent_notifier notify;
    for (auto _ : state) {
        const bool ok = month_file_reader(path, *table, notify);
        benchmark::DoNotOptimize(ok);
        benchmark::ClobberMemory();
    }
    if (table->row_count != max_rows) state.SkipWithError("the month did not read whole");
}

void read_month_plain(benchmark::State& state, const std::string& path) {
    for (auto _ : state)
        benchmark::DoNotOptimize(plain_read(path));
}

void kzn_read_full_month(benchmark::State& state) {
    read_month(state, files().kzn_month);
}
void kzn_read_full_month_plain_read(benchmark::State& state) {
    read_month_plain(state, files().kzn_month);
}
void csv_read_full_month(benchmark::State& state) {
    read_month(state, files().csv_month);
}
void csv_read_full_month_plain_read(benchmark::State& state) {
    read_month_plain(state, files().csv_month);
}

void kzn_read_600_months(benchmark::State& state) {
    auto table = std::make_unique<shuushi_data>();
    silent_notifier notify;
    for (auto _ : state) {
        for (const std::string& path : files().months) {
            const bool ok = month_file_reader(path, *table, notify);
            benchmark::DoNotOptimize(ok);
        }
        benchmark::ClobberMemory();
    }
}

void kzn_read_600_months_plain_read(benchmark::State& state) {
    for (auto _ : state)
        for (const std::string& path : files().months)
            benchmark::DoNotOptimize(plain_read(path));
}

// Saving: the writer builds the content, writes a temporary file, syncs it and
// renames it over the month; the baseline writes and syncs the same bytes in
// place.
void write_month(benchmark::State& state, const char* name) {
    month_state month;
    month.open_path.assign(files().dir + name);
    silent_notifier notify;
    for (auto _ : state) {
        month.changed_flag = true;
        const bool ok = month_file_writer(*files().table, month, notify);
        benchmark::DoNotOptimize(ok);
    }
}

void write_month_plain(benchmark::State& state, const char* name, const std::string& bytes) {
    const std::string path = files().dir + name;
    for (auto _ : state)
        write_file(path, bytes, true);
}

void kzn_write_full_month(benchmark::State& state) {
    write_month(state, "w.kzn");
}
void kzn_write_full_month_plain_write(benchmark::State& state) {
    write_month_plain(state, "pw.kzn", encode_kzn(*files().table));
}
void csv_write_full_month(benchmark::State& state) {
    write_month(state, "w.csv");
}
void csv_write_full_month_plain_write(benchmark::State& state) {
    write_month_plain(state, "pw.csv", encode_csv(*files().table));
}

BENCHMARK(kzn_read_full_month)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(kzn_read_full_month_plain_read)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(csv_read_full_month)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(csv_read_full_month_plain_read)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(kzn_read_600_months)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(kzn_read_600_months_plain_read)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(kzn_write_full_month)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(kzn_write_full_month_plain_write)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(csv_write_full_month)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(csv_write_full_month_plain_write)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace kozenica
