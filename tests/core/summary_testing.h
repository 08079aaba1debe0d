#pragma once
// A month from (kind, income, expense) triples. Slot 0 and the slot after the month
// hold an expense of a kind in no list, so that a summary that reads them fails.
#include "core/ledger.h"

#include <vector>

namespace kozenica::testing {

struct month_line {
    std::int32_t kind, income, expense;
};

inline void set_month(shuushi_data& data, const std::vector<month_line>& lines) {
    data.row_count = static_cast<std::int32_t>(lines.size()) + 1;
    for (std::size_t i = 0; i <= lines.size() + 1; ++i) {
        const month_line l = i == 0 || i > lines.size() ? month_line{98, 0, 99999} : lines[i - 1];
        data.lines[i].kind = l.kind, data.lines[i].income = l.income, data.lines[i].expense = l.expense;
    }
}

} // namespace kozenica::testing
