#pragma once
// The price-change collection: one point per matching line, in the order the
// month walk finds them, at most 60.

#include "ledger.h"
#include "month_walk.h"
#include "notifier.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kozenica {

constexpr int max_term_points = 60;

struct term_point {
    line_text date;
    line_text shop;
    std::int32_t price = 0; // the line's expense
};

class term_point_list {
  public:
    // Stores the line as the next point. The 60th point tells the maximum
    // message and answers stop, whether or not a further line would match.
    walk_answer add(const shuushi_line& line, std::string_view date, notifier& notify);

    [[nodiscard]] int size() const { return count_; }
    [[nodiscard]] bool empty() const { return count_ == 0; }
    // Points 0 to size() - 1 in walk order.
    [[nodiscard]] const term_point& operator[](int i) const {
        return points_.at(static_cast<std::size_t>(i));
    }

    // Highest and lowest price over all points; 0 when there is none.
    [[nodiscard]] std::int32_t highest() const;
    [[nodiscard]] std::int32_t lowest() const;

  private:
    std::array<term_point, max_term_points> points_{};
    int count_ = 0;
};

} // namespace kozenica
