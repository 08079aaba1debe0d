// The month walk over fifty years of full months (600 files, 1,199,400 lines)
// in each format, beside plain read() calls of the same files, so that the
// cost of walking (file test, reader, matching, the step) shows as a ratio:
//   walk_600_<format>_months             month_walk with the cheapest-price step
//   walk_600_<format>_months_plain_read  open, read(), close of the same files
//   walk_600_<format>_months_reader_only month_file_reader alone on the same
//                                        files: what the walk adds is the rest
//   price_book_600_<format>_months       the price book over the same walk:
//                                        every line counted, one entry per item
#include "bench_support.h"
#include "core/bottom_price.h"
#include "core/month_walk.h"
#include "core/price_book.h"

namespace kozenica {
namespace {

constexpr int first_year = 1990;
constexpr int walked_months = 600;

// 1999 lines with every text at its full 20 bytes; every 97th line is the
// item the walk looks for.
std::unique_ptr<shuushi_data> walked_month(int seed) {
    return bench::full_month([seed](shuushi_line& line, int i) {
        line.day = static_cast<std::int8_t>((i + seed) % 31 + 1);
        line.shop.assign(bench::full_text("shop ", i + seed));
        line.item.assign(i % 97 == 0 ? std::string("milk") : bench::full_text("item ", i * 7 + seed));
        line.kind = i % 12;
        line.expense = 100 + (i * 13 + seed) % 5000;
        line.memo.assign(bench::full_text("memo ", i));
    });
}

// Both formats of every month, made once and removed when the program ends.
struct walk_files {
    bench::scratch_dir scratch{"kozenica-walk"};
    const std::string& dir = scratch.path();
    std::vector<std::string> kzn, csv;

    walk_files() {
        for (int i = 0; i < walked_months; ++i) {
            const auto month = walked_month(i);
            const auto year = std::uint16_t(first_year + i / 12);
            const auto m = std::uint16_t(i % 12 + 1);
            kzn.push_back(month_path(dir, year, m, 0));
            csv.push_back(month_path(dir, year, m, 1));
            bench::write_file(kzn.back(), encode_kzn(*month));
            bench::write_file(csv.back(), encode_csv(*month));
        }
    }
};

walk_files& walked() {
    static walk_files f;
    return f;
}

void walk(benchmark::State& state, std::int32_t format) {
    period_query query;
    query.start_year = first_year;
    query.start_month = 1;
    query.end_year = std::uint16_t(first_year + (walked_months - 1) / 12);
    query.end_month = 12;
    query.file_format = format;
    query.item_name.assign("milk");
    const std::string& dir = walked().dir;
    bench::silent_notifier notify;
    int found = 0;
    for (auto _ : state) {
        bottom_price_list list;
        found = 0;
        month_walk(query, dir, notify,
                   [&](const shuushi_line& line, std::uint16_t, std::uint16_t, std::string_view date) {
                       list.add(line, date);
                       ++found;
                       return walk_answer::go_on;
                   });
        benchmark::DoNotOptimize(list);
    }
    if (found != walked_months * (max_lines / 97))
        state.SkipWithError("the walk did not see every month whole");
    state.counters["lines"] = double(walked_months) * max_lines;
}

// The book walks every line of the same range; its figure stands beside the
// cheapest search's walk, which visits the same files for one item.
void book(benchmark::State& state, std::int32_t format) {
    period_query query;
    query.start_year = first_year;
    query.start_month = 1;
    query.end_year = std::uint16_t(first_year + (walked_months - 1) / 12);
    query.end_month = 12;
    query.file_format = format;
    const std::string& dir = walked().dir;
    bench::silent_notifier notify;
    std::size_t items = 0;
    std::int64_t purchases = 0;
    for (auto _ : state) {
        const price_book result = gather_price_book(query, dir, notify);
        items = result.size();
        purchases = 0;
        for (const price_book_entry& e : result.entries())
            purchases += e.count;
    }
    if (purchases != std::int64_t{walked_months} * max_lines)
        state.SkipWithError("the book did not count every line");
    state.counters["lines"] = double(walked_months) * max_lines;
    state.counters["items"] = double(items);
}

void walk_plain(benchmark::State& state, const std::vector<std::string>& paths) {
    for (auto _ : state)
        for (const std::string& path : paths)
            benchmark::DoNotOptimize(bench::plain_read(path));
}

void walk_reader_only(benchmark::State& state, const std::vector<std::string>& paths) {
    auto table = std::make_unique<shuushi_data>();
    bench::silent_notifier notify;
    for (auto _ : state) {
        for (const std::string& path : paths)
            benchmark::DoNotOptimize(month_file_reader(path, *table, notify));
        benchmark::ClobberMemory();
    }
}

void walk_600_kzn_months(benchmark::State& state) {
    walk(state, 0);
}
void walk_600_kzn_months_plain_read(benchmark::State& state) {
    walk_plain(state, walked().kzn);
}
void walk_600_csv_months(benchmark::State& state) {
    walk(state, 1);
}
void walk_600_csv_months_plain_read(benchmark::State& state) {
    walk_plain(state, walked().csv);
}

void price_book_600_kzn_months(benchmark::State& state) {
    book(state, 0);
}
void price_book_600_csv_months(benchmark::State& state) {
    book(state, 1);
}

void walk_600_kzn_months_reader_only(benchmark::State& state) {
    walk_reader_only(state, walked().kzn);
}
void walk_600_csv_months_reader_only(benchmark::State& state) {
    walk_reader_only(state, walked().csv);
}

BENCHMARK(walk_600_kzn_months)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(walk_600_kzn_months_plain_read)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(walk_600_csv_months)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(walk_600_csv_months_plain_read)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(price_book_600_kzn_months)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(price_book_600_csv_months)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(walk_600_kzn_months_reader_only)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(walk_600_csv_months_reader_only)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace kozenica
