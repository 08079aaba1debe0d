// Fifty years of full months (600 files, 1,199,400 lines) in each format,
// each figure beside plain reads of the same files (open, pread, close), so
// that the cost of the program's work over the bytes shows as a ratio:
//   kzn_read_600_months       month_file_reader alone over the 600 KZN months
//   csv_read_600_months       the same over the 600 CSV months
//   walk_600_<format>_months  month_walk with the cheapest-price step
//   walk_600_kzn_months_cold  the KZN walk with every file's pages dropped
//                             from the cache before each sample, beside plain
//                             reads of the same files, dropped alike
//   price_book_600_<format>_months  the price book over the same walk (every
//                             line counted, one entry per item), beside the
//                             cheapest search's walk of the same files
#include "bench_support.h"
#include "core/bottom_price.h"
#include "core/month_walk.h"
#include "core/price_book.h"
#include "paired.h"

namespace kozenica {
namespace {

using bench::keep;

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

// Both formats of every month, made once, synced (so that their pages can be
// dropped), and removed when the program ends.
struct walk_files {
    bench::scratch_dir scratch{"kozenica-walk"};
    const std::string& dir = scratch.path();
    std::vector<std::string> kzn, csv;
    std::size_t largest = 0;
    std::unique_ptr<bench::plain_reader> plain;
    std::unique_ptr<shuushi_data> table = std::make_unique<shuushi_data>();
    bench::silent_notifier notify;

    walk_files() {
        for (int i = 0; i < walked_months; ++i) {
            const auto month = walked_month(i);
            const auto year = std::uint16_t(first_year + i / 12);
            const auto m = std::uint16_t(i % 12 + 1);
            kzn.push_back(month_path(dir, year, m, 0));
            csv.push_back(month_path(dir, year, m, 1));
            const std::string kzn_bytes = encode_kzn(*month), csv_bytes = encode_csv(*month);
            bench::write_file(kzn.back(), kzn_bytes);
            bench::write_file(csv.back(), csv_bytes);
            largest = std::max({largest, kzn_bytes.size(), csv_bytes.size()});
        }
        ::sync();
        plain = std::make_unique<bench::plain_reader>(largest);
        bench::cache_as_read(kzn, *plain);
        bench::cache_as_read(csv, *plain);
    }
};

walk_files& walked() {
    static walk_files f;
    return f;
}

void read_plain(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        keep(walked().plain->read(path));
}

void read_with_reader(const std::vector<std::string>& paths) {
    walk_files& f = walked();
    for (const std::string& path : paths)
        if (!month_file_reader(path, *f.table, f.notify)) throw std::runtime_error("cannot read " + path);
    keep(*f.table);
}

// All fifty years of months in the format, every item.
period_query whole_range(std::int32_t format) {
    period_query query;
    query.start_year = first_year;
    query.start_month = 1;
    query.end_year = std::uint16_t(first_year + (walked_months - 1) / 12);
    query.end_month = 12;
    query.file_format = format;
    return query;
}

void walk(std::int32_t format) {
    period_query query = whole_range(format);
    query.item_name.assign("milk");
    bottom_price_list list;
    int found = 0;
    month_walk(query, walked().dir, walked().notify,
               [&](const shuushi_line& line, std::uint16_t, std::uint16_t, std::string_view date) {
                   list.add(line, date);
                   ++found;
                   return walk_answer::go_on;
               });
    if (found != walked_months * (max_lines / 97))
        throw std::runtime_error("the walk did not see every month whole");
    keep(list);
}

void book(std::int32_t format) {
    const price_book result = gather_price_book(whole_range(format), walked().dir, walked().notify).value();
    std::int64_t purchases = 0;
    for (const price_book_entry& e : result.entries())
        purchases += e.count;
    if (purchases != std::int64_t{walked_months} * max_lines)
        throw std::runtime_error("the book did not count every line");
    keep(result);
}

void drop_kzn_pages() {
    for (const std::string& path : walked().kzn)
        bench::drop_cached_pages(path);
}

const int registered[] = {
    bench::add_paired({.name = "kzn_read_600_months",
                       .measured = [] { read_with_reader(walked().kzn); },
                       .baseline = [] { read_plain(walked().kzn); },
                       .samples = 121}),
    bench::add_paired({.name = "csv_read_600_months",
                       .measured = [] { read_with_reader(walked().csv); },
                       .baseline = [] { read_plain(walked().csv); },
                       .samples = 61}),
    bench::add_paired({.name = "walk_600_kzn_months",
                       .measured = [] { walk(0); },
                       .baseline = [] { read_plain(walked().kzn); },
                       .samples = 121}),
    bench::add_paired({.name = "walk_600_csv_months",
                       .measured = [] { walk(1); },
                       .baseline = [] { read_plain(walked().csv); },
                       .samples = 61}),
    bench::add_paired({.name = "walk_600_kzn_months_cold",
                       .measured = [] { walk(0); },
                       .baseline = [] { read_plain(walked().kzn); },
                       .samples = 41,
                       .one_call = true,
                       .wall_clock = true,
                       .before_sample = drop_kzn_pages}),
    bench::add_paired({.name = "price_book_600_kzn_months",
                       .measured = [] { book(0); },
                       .baseline = [] { walk(0); },
                       .samples = 61}),
    bench::add_paired({.name = "price_book_600_csv_months",
                       .measured = [] { book(1); },
                       .baseline = [] { walk(1); },
                       .samples = 61}),
};

} // namespace
} // namespace kozenica
