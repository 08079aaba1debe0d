// Reading and writing one month file, each beside the plain system calls that
// move the same bytes, so that the cost of the format itself shows as a ratio:
//   <format>_read_full_month   month_file_reader  /  open, pread, close
//   <format>_write_full_month  month_file_writer  /  open, write, fsync, close
#include "bench_support.h"
#include "paired.h"

namespace kozenica {
namespace {

using bench::keep;
using bench::silent_notifier;

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

// The files every figure here uses, made once in a scratch directory that is
// removed when the program ends.
struct month_files {
    bench::scratch_dir scratch{"kozenica-bench"};
    const std::string& dir = scratch.path();
    std::unique_ptr<shuushi_data> table = full_month(0);
    std::string kzn_bytes = encode_kzn(*table), csv_bytes = encode_csv(*table);
    std::string kzn = dir + "2024_5.kzn", csv = dir + "2024_5.csv";
    bench::plain_reader plain{std::max(kzn_bytes.size(), csv_bytes.size())};
    std::unique_ptr<shuushi_data> read_into = std::make_unique<shuushi_data>();
    silent_notifier notify;

    month_files() {
        bench::write_file(kzn, kzn_bytes, true);
        bench::write_file(csv, csv_bytes, true);
        bench::cache_as_read(std::vector{kzn, csv}, plain);
    }
};

month_files& files() {
    static month_files f;
    return f;
}

void read_with_reader(const std::string& path) {
    month_files& f = files();
    if (!month_file_reader(path, *f.read_into, f.notify) || f.read_into->row_count != max_rows)
        throw std::runtime_error("the month did not read whole: " + path);
    keep(*f.read_into);
}

// Saving: the writer builds the content, writes a temporary file, syncs it,
// renames it over the month and syncs the directory; the baseline writes and
// syncs the same bytes in place.
void write_with_writer(const char* name) {
    month_files& f = files();
    month_state month;
    month.open_path.assign(f.dir + name);
    month.changed_flag = true;
    if (!month_file_writer(*f.table, month, f.notify)) throw std::runtime_error("the month did not save");
}

const int registered[] = {
    bench::add_paired({.name = "kzn_read_full_month",
                       .measured = [] { read_with_reader(files().kzn); },
                       .baseline = [] { keep(files().plain.read(files().kzn)); },
                       .samples = 801}),
    bench::add_paired({.name = "csv_read_full_month",
                       .measured = [] { read_with_reader(files().csv); },
                       .baseline = [] { keep(files().plain.read(files().csv)); },
                       .samples = 801}),
    bench::add_paired({.name = "kzn_write_full_month",
                       .measured = [] { write_with_writer("w.kzn"); },
                       .baseline = [] { bench::write_file(files().dir + "pw.kzn", files().kzn_bytes, true); },
                       .samples = 121,
                       .one_call = true,
                       .wall_clock = true}),
    bench::add_paired({.name = "csv_write_full_month",
                       .measured = [] { write_with_writer("w.csv"); },
                       .baseline = [] { bench::write_file(files().dir + "pw.csv", files().csv_bytes, true); },
                       .samples = 121,
                       .one_call = true,
                       .wall_clock = true}),
};

} // namespace
} // namespace kozenica
