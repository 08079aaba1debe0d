#pragma once
// The monthly summary: the month's expenses summed by kind, each kind's share
// of the month's expense total, and the kind names from the kind list.

#include "ledger.h"
#include "lists.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kozenica {

// One row of the summary.
struct shuukei_line {
    std::int32_t kind = 0;
    std::int64_t sum = 0; // 64 bits, so that a month beyond 2^31 yen sums truly
    float ratio = 0.0f;   // percent of the expense total, held in single precision
    line_text name;
    friend bool operator==(const shuukei_line&, const shuukei_line&) = default;
};

enum class summary_failure {
    none,
    zero_total,     // the expense total is not above 0
    too_many_kinds, // more distinct kinds than the kind list has entries + 1
    missing_kind,   // a row's kind is not in the kind list
};

struct summary_result {
    std::vector<shuukei_line> rows; // by sum descending, equal sums by kind ascending
    std::int64_t total = 0;
    summary_failure failure = summary_failure::none;
    std::int32_t missing_kind = 0; // the kind reported by missing_kind

    [[nodiscard]] bool ok() const { return failure == summary_failure::none; }
    // The warning the user sees (Shift-JIS); empty when ok.
    [[nodiscard]] std::string message() const;
};

// Sums the expenses of the given ledger lines by kind. Every line takes part,
// also lines without an expense: each kind that occurs makes a row. The kind
// list is expected in ascending order of number, as start-up sorts it.
[[nodiscard]] summary_result summarize_month(std::span<const shuushi_line> lines, const kind_list& kinds);

// The lines 1 to row_count - 1 of the month in hand.
[[nodiscard]] summary_result summarize_month(const shuushi_data& data, const kind_list& kinds);

// The ratio as the summary grid shows it: fixed notation with exactly two
// decimals, the float's own value rounded half away from zero ("12.50").
[[nodiscard]] std::string ratio_text(float ratio);

} // namespace kozenica
