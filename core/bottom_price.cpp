#include "bottom_price.h"

#include "digits.h"

#include <algorithm>

namespace kozenica {

void bottom_price_list::insert(const bottom_price_entry& entry) {
    const auto used = slots_.begin() + count_;
    const auto place = std::find_if(slots_.begin(), used,
                                    [&](const bottom_price_entry& e) { return e.expense >= entry.expense; });
    if (place == used) {
        if (count_ < bottom_price_slots) slots_[static_cast<std::size_t>(count_++)] = entry;
        return;
    }
    count_ = std::min(count_ + 1, bottom_price_slots);
    // Shift the dearer entries one slot down; a full list loses its last one.
    std::move_backward(place, slots_.begin() + count_ - 1, slots_.begin() + count_);
    *place = entry;
}

void bottom_price_list::add(const shuushi_line& line, std::string_view date) {
    bottom_price_entry e;
    e.date.assign(date);
    e.shop = line.shop;
    e.item = line.item;
    e.memo = line.memo;
    e.kind = line.kind;
    e.income = line.income;
    e.expense = line.expense;
    insert(e);
}

std::array<std::string, bottom_price_columns> bottom_price_row(const bottom_price_entry& entry) {
    const auto positive_comma = [](std::int32_t v) { return v > 0 ? format_comma(v) : std::string(); };
    return {std::string(),
            entry.date.str(),
            entry.shop.str(),
            entry.item.str(),
            entry.kind > 0 ? format_decimal(entry.kind) : std::string(),
            positive_comma(entry.income),
            positive_comma(entry.expense),
            entry.memo.str()};
}

} // namespace kozenica
