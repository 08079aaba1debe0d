// The monthly summary over any lines and any kind list.
// Input: one byte for the number of kind list entries (numbers 0, 1, 2, ...
// with some gaps), then 5 bytes per line: the kind (-2 to 13) and the expense.

#include "core/summary.h"
#include "fuzz_support.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kozenica;
    if (size < 1) return 0;
    kind_list kinds;
    for (int i = 0; i < data[0] % 14; ++i)
        kinds.push_back({i + i / 4, line_text("k")});
    std::vector<shuushi_line> lines;
    // 200 lines reach every case (16 kinds at most) and keep each run short.
    for (std::size_t at = 1; at + 5 <= size && lines.size() < 200; at += 5) {
        shuushi_line l;
        l.kind = int(data[at] % 16) - 2;
        std::int32_t expense;
        std::memcpy(&expense, data + at + 1, 4);
        l.expense = expense;
        lines.push_back(l);
    }

    const summary_result result = summarize_month(lines, kinds);
    std::int64_t total = 0;
    std::map<std::int32_t, std::int64_t> by_kind;
    for (const shuushi_line& l : lines) {
        total += l.expense;
        by_kind[l.kind] += l.expense;
    }
    if (total <= 0) {
        FUZZ_CHECK(result.failure == summary_failure::zero_total);
        return 0;
    }
    if (by_kind.size() > kinds.size() + 1) {
        FUZZ_CHECK(result.failure == summary_failure::too_many_kinds);
        return 0;
    }
    if (!result.ok()) {
        FUZZ_CHECK(result.failure == summary_failure::missing_kind);
        FUZZ_CHECK(by_kind.count(result.missing_kind) == 1);
        return 0;
    }
    // Every kind that occurs has its row with the true 64-bit sum, largest first.
    FUZZ_CHECK(result.total == total);
    FUZZ_CHECK(result.rows.size() == by_kind.size());
    for (std::size_t i = 0; i < result.rows.size(); ++i) {
        const shuukei_line& row = result.rows[i];
        FUZZ_CHECK(by_kind[row.kind] == row.sum);
        const double exact = 100.0 * double(row.sum) / double(total);
        FUZZ_CHECK(std::abs(double(row.ratio) - exact) <= 1e-6 * std::max(1.0, std::abs(exact)));
        if (i > 0) {
            const shuukei_line& prev = result.rows[i - 1];
            FUZZ_CHECK(prev.sum > row.sum || (prev.sum == row.sum && prev.kind < row.kind));
        }
        (void)ratio_text(row.ratio);
    }
    return 0;
}
