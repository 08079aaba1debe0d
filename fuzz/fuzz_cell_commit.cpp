// The cell commit: any text typed into any cell of the ledger grid.
// Input: one byte picks the row (some outside the month), one the column,
// the rest is the cell's text.

#include "core/cell_commit.h"
#include "fuzz_support.h"

namespace {

using namespace kozenica;

shuushi_data starting_table() {
    shuushi_data table;
    table.lines[1] = carried_forward_line();
    table.lines[2].day = 5;
    table.lines[2].shop.assign("shop");
    table.lines[2].expense = 1234;
    table.lines[3].kind = 7;
    table.lines[3].income = 2147483647;
    table.row_count = 4;
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int row = int(data[0] % 8) - 2; // -2 to 5: the month holds rows 1 to 3
    const int column = data[1] % ledger_columns;
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    static const shuushi_data start = starting_table();
    static shuushi_data table;
    table = start;
    month_state state;
    const std::string shown = commit_cell(table, state, row, column, text);
    FUZZ_CHECK(shown.size() <= text_bytes);

    if (row < 1 || row >= table.row_count) {
        FUZZ_CHECK(!state.changed_flag);
        for (int r = 0; r <= max_rows; ++r)
            FUZZ_CHECK(table.lines[std::size_t(r)] == start.lines[std::size_t(r)]);
        return 0;
    }
    FUZZ_CHECK(state.changed_flag);
    const shuushi_line& line = table.lines[std::size_t(row)];
    FUZZ_CHECK(line.day >= 0 && line.day <= 31);
    if (column > 0)
        FUZZ_CHECK(shown == field_cell_text(line, column));
    else
        FUZZ_CHECK(shown == text.substr(0, std::min(text.size(), text_bytes)));

    // Drawing the cell again finds its normal form and changes nothing.
    const shuushi_line before = line;
    FUZZ_CHECK(commit_cell(table, state, row, column, shown) == shown);
    FUZZ_CHECK(line == before);
    for (int r = 1; r < table.row_count; ++r)
        if (r != row) FUZZ_CHECK(table.lines[std::size_t(r)] == start.lines[std::size_t(r)]);
    return 0;
}
