// The year table over two full years (24 months of 1999 lines, 40 kinds), in
// each format, beside the plain reads of the same 24 files with the month
// reader alone: the table's own work is the ratio.
//   year_table_24_<format>_months
#include "bench_support.h"
#include "core/month_walk.h"
#include "core/year_table.h"
#include "paired.h"

namespace kozenica {
namespace {

using bench::keep;

constexpr std::uint16_t year = 2024;
constexpr int kinds_used = 40;

std::unique_ptr<shuushi_data> year_month(int seed) {
    return bench::full_month([seed](shuushi_line& line, int i) {
        line.day = static_cast<std::int8_t>((i + seed) % 31 + 1);
        line.shop.assign(bench::full_text("shop ", i + seed));
        line.item.assign(bench::full_text("item ", i * 7 + seed));
        line.kind = (i * 7 + seed) % kinds_used + 1;
        line.expense = 100 + (i * 13 + seed) % 5000;
        line.memo.assign(bench::full_text("memo ", i));
    });
}

struct year_files {
    bench::scratch_dir scratch{"kozenica-year"};
    const std::string& dir = scratch.path();
    std::vector<std::string> paths[2];
    std::unique_ptr<bench::plain_reader> plain;
    std::unique_ptr<shuushi_data> table = std::make_unique<shuushi_data>();
    bench::silent_notifier notify;
    kind_list kinds;

    year_files() {
        std::size_t largest = 0;
        for (int i = 0; i < 24; ++i) {
            const auto month = year_month(i);
            const auto y = std::uint16_t(year - 1 + i / 12), m = std::uint16_t(i % 12 + 1);
            for (int format = 0; format < 2; ++format) {
                paths[format].push_back(month_path(dir, y, m, format));
                const std::string bytes = format == 0 ? encode_kzn(*month) : encode_csv(*month);
                bench::write_file(paths[format].back(), bytes);
                largest = std::max(largest, bytes.size());
            }
        }
        for (int k = 1; k <= kinds_used; ++k)
            kinds.push_back({k, line_text(bench::full_text("kind ", k))});
        ::sync();
        plain = std::make_unique<bench::plain_reader>(largest);
        bench::cache_as_read(paths[0], *plain);
        bench::cache_as_read(paths[1], *plain);
    }
};

year_files& files() {
    static year_files f;
    return f;
}

void read_months(int format) {
    year_files& f = files();
    for (const std::string& path : f.paths[format])
        if (!month_file_reader(path, *f.table, f.notify)) throw std::runtime_error("cannot read " + path);
    keep(*f.table);
}

void build_table(int format) {
    const year_table table = build_year_table(year, format, files().dir, files().kinds, std::nullopt);
    if (table.counted_months() != 12 || table.kind_rows() != kinds_used)
        throw std::runtime_error("the table did not count every month and kind");
    keep(table);
}

const int registered[] = {
    bench::add_paired({.name = "year_table_24_kzn_months",
                       .measured = [] { build_table(0); },
                       .baseline = [] { read_months(0); },
                       .samples = 61}),
    bench::add_paired({.name = "year_table_24_csv_months",
                       .measured = [] { build_table(1); },
                       .baseline = [] { read_months(1); },
                       .samples = 61}),
};

} // namespace
} // namespace kozenica
