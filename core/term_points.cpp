#include "term_points.h"

#include "period_texts.h"

#include <algorithm>

namespace kozenica {

namespace {
bool cheaper(const term_point& a, const term_point& b) {
    return a.price < b.price;
}
} // namespace

walk_answer term_point_list::add(const shuushi_line& line, std::string_view date, notifier& notify) {
    // A full list never takes more: the walk was told to stop at the 60th.
    if (count_ >= max_term_points) return walk_answer::stop;
    term_point& p = points_[static_cast<std::size_t>(count_++)];
    p.date.assign(date);
    p.shop = line.shop;
    p.price = line.expense;
    if (count_ < max_term_points) return walk_answer::go_on;
    notify.tell(message_kind::warning, texts::too_many_points);
    return walk_answer::stop;
}

std::int32_t term_point_list::highest() const {
    if (empty()) return 0;
    return std::max_element(points_.begin(), points_.begin() + count_, cheaper)->price;
}

std::int32_t term_point_list::lowest() const {
    if (empty()) return 0;
    return std::min_element(points_.begin(), points_.begin() + count_, cheaper)->price;
}

} // namespace kozenica
