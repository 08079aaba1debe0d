// A save of a full month that keeps the replaced bytes as a version, beside
// the same save without the version step:
//   kzn_save_with_version  replace_file keeping a version  /  replace_file alone
// Each call saves other bytes than the file holds, so every measured call
// keeps a version; the time of each save moves on by 15 days, so the folder
// holds the 30 versions a household's month keeps and each save removes one.
#include "bench_support.h"
#include "core/month_versions.h"
#include "paired.h"

namespace kozenica {
namespace {

struct version_files {
    bench::scratch_dir scratch{"kozenica-bench-versions"};
    std::string bytes[2];
    std::string with_version = scratch.path() + "2024_5.kzn", alone = scratch.path() + "2024_6.kzn";
    std::time_t now = 1796598930;
    int turn = 0, turn_alone = 0;

    version_files() {
        for (int seed = 0; seed < 2; ++seed)
            bytes[seed] = encode_kzn(*bench::full_month([seed](shuushi_line& line, int i) {
                line.day = static_cast<std::int8_t>(i % 31 + 1);
                line.shop.assign(bench::full_text("shop ", i + seed));
                line.item.assign(bench::full_text("item ", i * 7));
                line.expense = 100 + i * 13 + seed;
            }));
        bench::write_file(with_version, bytes[1], true);
        bench::write_file(alone, bytes[1], true);
    }
};

version_files& files() {
    static version_files f;
    return f;
}

void save(const std::string& path, int& turn, std::optional<std::time_t> version_time) {
    version_files& f = files();
    if (replace_file(path, f.bytes[turn ^= 1], system_file_io(), version_time) != save_result::saved)
        throw std::runtime_error("the month did not save");
}

const int registered[] = {
    bench::add_paired(
        {.name = "kzn_save_with_version",
         .measured = [] { save(files().with_version, files().turn, files().now += 15 * 24 * 3600); },
         .baseline = [] { save(files().alone, files().turn_alone, std::nullopt); },
         .samples = 121,
         .one_call = true,
         .wall_clock = true}),
};

} // namespace
} // namespace kozenica
