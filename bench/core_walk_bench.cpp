// The month walk over fifty years of full months (600 files, 1,199,400 lines)
// in each format, beside plain read() calls of the same files, so that the
// cost of walking (file test, reader, matching, the step) shows as a ratio:
//   walk_600_<format>_months             month_walk with the cheapest-price step
//   walk_600_<format>_months_plain_read  open, read(), close of the same files
//   walk_600_<format>_months_reader_only month_file_reader alone on the same
//                                        files: what the walk adds is the rest
#include "core/bottom_price.h"
#include "core/month_file.h"
#include "core/month_walk.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace kozenica {
namespace {

constexpr int first_year = 1990;
constexpr int walked_months = 600;

class quiet_notifier : public notifier {
  public:
    void tell(message_kind, std::string_view) override {}
    bool ask_yes_no(message_kind, std::string_view) override { return false; }
};

// 1999 lines with every text at its full 20 bytes; every 97th line is the
// item the walk looks for.
std::unique_ptr<shuushi_data> walked_month(int seed) {
    auto table = std::make_unique<shuushi_data>();
    table->row_count = max_rows;
    for (int i = 1; i <= max_lines; ++i) {
        shuushi_line& line = table->lines[std::size_t(i)];
        line.day = static_cast<std::int8_t>((i + seed) % 31 + 1);
        line.shop.assign(("shop " + std::to_string(i + seed)).append(20, '.'));
        line.item.assign(i % 97 == 0 ? std::string("milk")
                                     : ("item " + std::to_string(i * 7 + seed)).append(20, '.'));
        line.kind = i % 12;
        line.expense = 100 + (i * 13 + seed) % 5000;
        line.memo.assign(("memo " + std::to_string(i)).append(20, '.'));
    }
    return table;
}

void put_file(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::close(fd) != 0)
        throw std::runtime_error("cannot write " + path);
}

// Both formats of every month, made once and removed when the program ends.
struct walk_files {
    std::string dir;
    std::vector<std::string> kzn, csv;

    walk_files() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kozenica-walk-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir = pattern + "/";
        for (int i = 0; i < walked_months; ++i) {
            const auto month = walked_month(i);
            const auto year = std::uint16_t(first_year + i / 12);
            const auto m = std::uint16_t(i % 12 + 1);
            kzn.push_back(month_path(dir, year, m, 0));
            csv.push_back(month_path(dir, year, m, 1));
            put_file(kzn.back(), encode_kzn(*month));
            put_file(csv.back(), encode_csv(*month));
        }
    }
    ~walk_files() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

walk_files& walked() {
    static walk_files f;
    return f;
}

std::size_t read_whole(const std::string& path) {
    static std::vector<char> buffer(1 << 20);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    std::size_t got = 0;
    for (ssize_t r; (r = ::read(fd, buffer.data() + got, buffer.size() - got)) > 0;)
        got += std::size_t(r);
    ::close(fd);
    benchmark::DoNotOptimize(buffer.data());
    return got;
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
    quiet_notifier notify;
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

void walk_plain(benchmark::State& state, const std::vector<std::string>& paths) {
    for (auto _ : state)
        for (const std::string& path : paths)
            benchmark::DoNotOptimize(read_whole(path));
}

void walk_reader_only(benchmark::State& state, const std::vector<std::string>& paths) {
    auto table = std::make_unique<shuushi_data>();
    quiet_notifier notify;
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
BENCHMARK(walk_600_kzn_months_reader_only)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(walk_600_csv_months_reader_only)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace kozenica
