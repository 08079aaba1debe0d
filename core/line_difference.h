#pragma once
// How two months differ, line by line: the lines are compared whole (every
// field) and in order, as a list of changes from one month to the other.

#include "ledger.h"

#include <span>

namespace kozenica {

struct line_difference {
    int added = 0;   // lines only in the later month
    int removed = 0; // lines only in the earlier month
    int changed = 0; // a removed line with an added one in its place
    friend bool operator==(const line_difference&, const line_difference&) = default;
};

// The fewest lines added and removed that turn `from` into `to`; where
// removed lines and added lines stand between the same two kept lines, each
// pair of them counts as one changed line.
[[nodiscard]] line_difference count_line_difference(std::span<const shuushi_line> from,
                                                    std::span<const shuushi_line> to);

// The lines of a month (1 to row_count - 1) as a span.
[[nodiscard]] std::span<const shuushi_line> month_lines(const shuushi_data& table);

} // namespace kozenica
