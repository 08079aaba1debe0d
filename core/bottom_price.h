#pragma once
// The cheapest-price collection: the ten matching lines with the smallest
// expense, in ascending order of expense.

#include "ledger.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kozenica {

constexpr int bottom_price_slots = 10;

struct bottom_price_entry {
    line_text date;
    line_text shop;
    line_text item;
    line_text memo;
    std::int32_t kind = 0;
    std::int32_t income = 0;
    std::int32_t expense = 0; // the price that is compared
};

class bottom_price_list {
  public:
    // Puts the entry before the first one whose expense is greater than or
    // equal to its own, so that among equal prices the one found later stands
    // first; the 11th entry falls off the end.
    void insert(const bottom_price_entry& entry);
    // The entry of a matching line as the walk hands it over.
    void add(const shuushi_line& line, std::string_view date);

    [[nodiscard]] int size() const { return count_; }
    [[nodiscard]] bool empty() const { return count_ == 0; }
    // Entries 0 to size() - 1, cheapest first.
    [[nodiscard]] const bottom_price_entry& operator[](int i) const {
        return slots_.at(static_cast<std::size_t>(i));
    }

  private:
    std::array<bottom_price_entry, bottom_price_slots> slots_{};
    int count_ = 0;
};

// Number of cells in one row of the result table, header column included.
constexpr int bottom_price_columns = 8;

// The cells of one result row as Shift-JIS texts: column 0 empty, then date,
// shop, item, kind (empty unless above 0), income and expense in the "0,"
// format (empty unless above 0), memo.
[[nodiscard]] std::array<std::string, bottom_price_columns> bottom_price_row(const bottom_price_entry& entry);

} // namespace kozenica
