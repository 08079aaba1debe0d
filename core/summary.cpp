#include "summary.h"

#include "digits.h"

#include <algorithm>
#include <cmath>

namespace kozenica {

namespace {

// The three warnings of the summary, Shift-JIS (made with scripts/sjis-literal).
constexpr char zero_total_text[] =
    "\x8ex\x8fo\x82\xcc\x8d\x87\x8cv\x82\xaa\x82O\x82\xc5\x82\xb7" /* 支出の合計が０です */;
constexpr char too_many_kinds_text[] =
    "\x8e\xed\x97\xde\x82\xcc\x93\xfc\x97\xcd\x82\xc9\x8a\xd4\x88\xe1\x82"
    "\xa2\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb7" /* 種類の入力に間違いがあります */;
constexpr char missing_kind_text[] =
    "\x83\x8a\x83X\x83g\x82\xc9\x91\xb6\x8d\xdd\x82\xb5\x82\xc8\x82\xa2\x8e\xed"
    "\x97\xde\x82\xc5\x82\xb7:" /* リストに存在しない種類です: */;

struct kind_expense {
    std::int32_t kind;
    std::int32_t expense;
};

// The entry of a kind, scanning the ascending list up to the first number that
// is not below it; nullptr when that number differs or the list runs out.
const kind_entry* find_kind(const kind_list& kinds, std::int32_t kind) {
    for (const kind_entry& e : kinds) {
        if (e.number >= kind) return e.number == kind ? &e : nullptr;
    }
    return nullptr;
}

// Rows of consecutive equal kinds; false when more than kind_count + 1 rows
// would be opened.
bool group_by_kind(const std::vector<kind_expense>& pairs, std::size_t kind_count,
                   std::vector<shuukei_line>& rows) {
    for (const kind_expense& p : pairs) {
        if (!rows.empty() && rows.back().kind == p.kind) {
            rows.back().sum += p.expense;
            continue;
        }
        if (rows.size() > kind_count) return false;
        shuukei_line row;
        row.kind = p.kind;
        row.sum = p.expense;
        rows.push_back(row);
    }
    return true;
}

} // namespace

std::string summary_result::message() const {
    switch (failure) {
    case summary_failure::none:
        return {};
    case summary_failure::zero_total:
        return zero_total_text;
    case summary_failure::too_many_kinds:
        return too_many_kinds_text;
    case summary_failure::missing_kind:
        return std::string(missing_kind_text) + format_decimal(missing_kind);
    }
    return {};
}

summary_result summarize_month(std::span<const shuushi_line> lines, const kind_list& kinds) {
    summary_result result;
    std::vector<kind_expense> pairs;
    pairs.reserve(lines.size());
    for (const shuushi_line& line : lines) {
        pairs.push_back({line.kind, line.expense});
        result.total += line.expense;
    }
    if (result.total <= 0) {
        result.failure = summary_failure::zero_total;
        return result;
    }

    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const kind_expense& a, const kind_expense& b) { return a.kind < b.kind; });
    if (!group_by_kind(pairs, kinds.size(), result.rows)) {
        result.rows.clear();
        result.failure = summary_failure::too_many_kinds;
        return result;
    }

    for (shuukei_line& row : result.rows) {
        const double percent = 100.0 * static_cast<double>(row.sum) / static_cast<double>(result.total);
        row.ratio = static_cast<float>(percent);
    }
    std::stable_sort(result.rows.begin(), result.rows.end(),
                     [](const shuukei_line& a, const shuukei_line& b) { return a.sum > b.sum; });

    for (shuukei_line& row : result.rows) {
        const kind_entry* entry = find_kind(kinds, row.kind);
        if (entry == nullptr) {
            result.rows.clear();
            result.failure = summary_failure::missing_kind;
            result.missing_kind = row.kind;
            return result;
        }
        row.name = entry->name;
    }
    return result;
}

summary_result summarize_month(const shuushi_data& data, const kind_list& kinds) {
    const int count = std::clamp(data.line_count(), 0, max_lines);
    return summarize_month(
        std::span<const shuushi_line>(data.lines.data() + 1, static_cast<std::size_t>(count)), kinds);
}

std::string ratio_text(float ratio) {
    if (!std::isfinite(ratio)) return "0.00";
    // A float times 100 is exact in double (24 + 7 significant bits), so the
    // rounding sees the float's own value: 12.125f gives 12.13, not 12.12.
    const auto hundredths = static_cast<std::int64_t>(std::round(static_cast<double>(ratio) * 100.0));
    const std::int64_t magnitude = hundredths < 0 ? -hundredths : hundredths;
    std::string text = hundredths < 0 ? "-" : "";
    text += format_decimal(magnitude / 100);
    text += '.';
    text += static_cast<char>('0' + magnitude % 100 / 10);
    text += static_cast<char>('0' + magnitude % 10);
    return text;
}

} // namespace kozenica
