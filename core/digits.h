#pragma once
// Numbers as the user types them and as the grids show them.

#include <cstdint>
#include <string>
#include <string_view>

namespace kozenica {

// Collects the half-width and full-width decimal digits of a Shift-JIS text in
// order and ignores everything else. The value wraps modulo 2^32 and is read
// as a signed 32-bit number; a text without digits gives 0.
[[nodiscard]] std::int32_t digits_to_int(std::string_view sjis);

// The "0," format: digits grouped by three with commas, a leading minus sign
// for negative values, "0" for zero.
[[nodiscard]] std::string format_comma(std::int64_t value);

// Plain decimal, with a minus sign when negative.
[[nodiscard]] std::string format_decimal(std::int64_t value);

// What the ledger grid shows for a field: empty for 0, otherwise the value
// with its sign, so that a stored value is never hidden behind an empty cell.
[[nodiscard]] std::string day_cell_text(std::int8_t day);
[[nodiscard]] std::string kind_cell_text(std::int32_t kind);
[[nodiscard]] std::string amount_cell_text(std::int32_t amount);

} // namespace kozenica
