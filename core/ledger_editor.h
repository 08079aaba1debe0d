#pragma once
// The ledger grid's editing rules without a window: the cell texts (columns 1
// to 7 show the line fields, column 0 keeps texts of its own), the current
// cell, the Enter walk through a line and the row commands of the edit menu.
// Grid row r is line r; row 0 is the header and is never a current row.

#include "cell_commit.h"
#include "lists.h"
#include "notifier.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kozenica {

struct cell_pos {
    int column = 1;
    int row = 1;
    friend bool operator==(const cell_pos&, const cell_pos&) = default;
};

class ledger_editor {
  public:
    ledger_editor(shuushi_data& data, month_state& state, const corresp_list& corresp, notifier& notify);

    // The text the grid shows in a cell; empty outside the month's lines.
    [[nodiscard]] std::string cell(int row, int column) const;
    // Commits a typed text into the cell (see commit_cell) and returns the
    // normal form now shown; column 0 keeps the text cut to 20 bytes.
    std::string set_cell(int row, int column, std::string_view text);

    [[nodiscard]] cell_pos current() const { return current_; }
    // Follows the grid's cursor; out-of-range positions are brought inside.
    void set_current(cell_pos pos);

    // The grid side of showing a new month, an opened one or the sorted
    // lines: the rows below line 1 lose their margin texts and the cursor goes
    // to the day of line 1.
    void project();

    // Enter: walks day, shop, item, kind, income, expense, memo, then the shop
    // of the next line, adding a line after the last one (it starts with the
    // day and shop of the line above). An item name found in the
    // correspondence list sets the line's kind.
    void enter();

    void insert_line();
    void delete_line();
    void copy_line_above();
    void go_top_line();
    void go_bottom_line();
    // Sorts the lines by day (stable) and projects them.
    void date_sort();

    // Income minus expense over every line, in 64 bits so that no month wraps.
    [[nodiscard]] std::int64_t balance() const;
    // The balance as the balance box shows it: "0", "1,234", "-12,345".
    [[nodiscard]] std::string balance_text() const;

  private:
    [[nodiscard]] int last_line() const { return data_.row_count - 1; }
    [[nodiscard]] shuushi_line& line(int row) { return data_.lines[static_cast<std::size_t>(row)]; }
    // The current row inside the month (line 1 when the month has no line).
    [[nodiscard]] int current_line() const;
    void shrink_rows_to(int row_count);
    void add_line_after_last();

    shuushi_data& data_;
    month_state& state_;
    const corresp_list& corresp_;
    notifier& notify_;
    std::array<std::string, max_rows + 1> margin_{}; // column 0 texts, stored in no line
    cell_pos current_;
};

} // namespace kozenica
