#include "cell_commit.h"

#include "digits.h"

namespace kozenica {

namespace {

bool is_line_row(const shuushi_data& data, int row) {
    return row >= 1 && row < data.row_count && row <= max_lines;
}

std::string store(shuushi_line& line, int column, std::string_view cut) {
    const std::int32_t v = digits_to_int(cut);
    switch (column) {
    case 1:
        line.day = v >= 1 && v <= 31 ? static_cast<std::int8_t>(v) : std::int8_t{0};
        return day_cell_text(line.day);
    case 2:
        line.shop.assign(cut);
        return line.shop.str();
    case 3:
        line.item.assign(cut);
        return line.item.str();
    case 4:
        line.kind = v;
        return kind_cell_text(v);
    case 5:
        line.income = v;
        return amount_cell_text(v);
    case 6:
        line.expense = v;
        return amount_cell_text(v);
    case 7:
        line.memo.assign(cut);
        return line.memo.str();
    default:
        return std::string(cut);
    }
}

} // namespace

std::string field_cell_text(const shuushi_line& line, int column) {
    switch (column) {
    case 1:
        return day_cell_text(line.day);
    case 2:
        return line.shop.str();
    case 3:
        return line.item.str();
    case 4:
        return kind_cell_text(line.kind);
    case 5:
        return amount_cell_text(line.income);
    case 6:
        return amount_cell_text(line.expense);
    case 7:
        return line.memo.str();
    default:
        return {};
    }
}

std::string commit_cell(shuushi_data& data, month_state& state, int row, int column, std::string_view text) {
    const std::string_view cut = cut_bytes(text, text_bytes);
    if (!is_line_row(data, row) || column < 1 || column >= ledger_columns) {
        if (is_line_row(data, row) && column == 0) state.changed_flag = true;
        return std::string(cut);
    }
    state.changed_flag = true;
    shuushi_line& line = data.lines[static_cast<std::size_t>(row)];
    if (std::string current = field_cell_text(line, column); current == text) return current;
    return store(line, column, cut);
}

} // namespace kozenica
