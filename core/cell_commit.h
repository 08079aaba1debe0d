#pragma once
// Committing a ledger grid cell: the text the user typed (or the grid drew)
// becomes the line's field, and the cell shows the field's normal form.

#include "ledger.h"

#include <string>
#include <string_view>

namespace kozenica {

constexpr int ledger_columns = 8; // column 0 is the margin, 1 to 7 the line's fields

// What a cell of columns 1 to 7 shows for the line's field: the day, kind and
// amounts as digits (amounts grouped with commas), empty for 0; the texts as
// stored. Column 0 has no field and gives an empty text.
[[nodiscard]] std::string field_cell_text(const shuushi_line& line, int column);

// Commits the text of cell (row, column) into line `row`: sets changed_flag,
// stores the field and returns the cell's normal form. The text is cut to its
// first 20 bytes, at the byte. A text equal to the cell's present normal form
// changes no field, so that drawing a cell again never alters what it shows
// (a stored negative or out-of-range value stays as it is). Column 0 stores
// nothing and gives the cut text. A row outside the month's lines changes
// nothing, changed_flag included.
[[nodiscard]] std::string commit_cell(shuushi_data& data, month_state& state, int row, int column,
                                      std::string_view text);

} // namespace kozenica
