#include "ledger_editor.h"

#include "digits.h"
#include "editor_texts.h"

#include <algorithm>
#include <utility>

namespace kozenica {

ledger_editor::ledger_editor(shuushi_data& data, month_state& state, const corresp_list& corresp,
                             notifier& notify)
    : data_(data), state_(state), corresp_(corresp), notify_(notify) {}

std::string ledger_editor::cell(int row, int column) const {
    if (row < 1 || row > last_line() || column < 0 || column >= ledger_columns) return {};
    if (column == 0) return margin_[static_cast<std::size_t>(row)];
    return field_cell_text(data_.lines[static_cast<std::size_t>(row)], column);
}

std::string ledger_editor::set_cell(int row, int column, std::string_view text) {
    std::string shown = commit_cell(data_, state_, row, column, text);
    if (column == 0 && row >= 1 && row <= last_line()) margin_[static_cast<std::size_t>(row)] = shown;
    return shown;
}

void ledger_editor::set_current(cell_pos pos) {
    current_.column = std::clamp(pos.column, 0, ledger_columns - 1);
    current_.row = std::clamp(pos.row, 1, std::max(1, last_line()));
}

int ledger_editor::current_line() const {
    return std::clamp(current_.row, 1, std::max(1, last_line()));
}

void ledger_editor::project() {
    // The grid is cut down to the header and line 1 before the lines are
    // shown again, so only line 1 keeps its margin text.
    for (std::size_t r = 2; r < margin_.size(); ++r)
        margin_[r].clear();
    current_ = {1, 1};
}

void ledger_editor::shrink_rows_to(int row_count) {
    for (int r = row_count; r < data_.row_count; ++r)
        margin_[static_cast<std::size_t>(r)].clear();
    data_.row_count = row_count;
}

void ledger_editor::add_line_after_last() {
    ++data_.row_count;
    const int n = last_line();
    shuushi_line fresh;
    if (n > 1) {
        fresh.day = line(n - 1).day;
        fresh.shop = line(n - 1).shop;
    }
    line(n) = fresh;
    margin_[static_cast<std::size_t>(n)].clear();
    current_.row = n;
}

void ledger_editor::enter() {
    const int k = current_.column;
    const int r = current_line();
    if (k < 7) {
        if (k == 3 && r <= last_line()) {
            const auto found = std::find_if(corresp_.begin(), corresp_.end(),
                                            [&](const corresp_entry& e) { return e.name == line(r).item; });
            if (found != corresp_.end()) line(r).kind = found->number;
        }
        current_.column = k + 1;
        return;
    }
    current_.column = 2;
    if (r < last_line()) {
        current_.row = r + 1;
    } else if (data_.row_count < max_rows) {
        add_line_after_last();
    } else {
        notify_.tell(message_kind::warning, texts::no_more_lines);
    }
}

void ledger_editor::insert_line() {
    if (data_.row_count >= max_rows) {
        notify_.tell(message_kind::warning, texts::no_more_lines);
        return;
    }
    const int r = current_line();
    const int old_last = last_line();
    ++data_.row_count;
    for (int i = old_last + 1; i >= r + 1; --i)
        line(i) = line(i - 1);
    line(r) = shuushi_line{};
    current_ = {1, r};
}

void ledger_editor::delete_line() {
    if (data_.row_count <= 2) {
        notify_.tell(message_kind::warning, texts::last_line_stays);
        return;
    }
    if (!notify_.ask_yes_no(message_kind::warning, texts::confirm_delete_line)) return;
    const int r = current_line();
    const int old_last = last_line();
    for (int i = r + 1; i <= old_last; ++i)
        line(i - 1) = line(i);
    line(old_last) = shuushi_line{};
    shrink_rows_to(data_.row_count - 1);
    current_ = {1, std::min(r, last_line())};
}

void ledger_editor::copy_line_above() {
    const int r = current_line();
    if (r <= 1 || r > last_line()) {
        notify_.tell(message_kind::warning, texts::no_line_above);
        return;
    }
    if (!notify_.ask_yes_no(message_kind::warning, texts::confirm_copy_line_above)) return;
    line(r) = line(r - 1);
}

void ledger_editor::go_top_line() {
    current_ = {1, 1};
}

void ledger_editor::go_bottom_line() {
    current_ = {1, std::max(1, last_line())};
}

void ledger_editor::date_sort() {
    // A bubble sort that stops after a pass without a swap; swapping only on a
    // strictly greater day keeps lines of equal day in their order.
    for (int m = last_line() - 1; m > 0; --m) {
        bool swapped = false;
        for (int i = 1; i <= m; ++i) {
            if (line(i).day > line(i + 1).day) {
                std::swap(line(i), line(i + 1));
                swapped = true;
            }
        }
        if (!swapped) break;
    }
    project();
}

std::int64_t ledger_editor::balance() const {
    std::int64_t sum = 0;
    for (int r = 1; r <= last_line(); ++r) {
        const shuushi_line& l = data_.lines[static_cast<std::size_t>(r)];
        sum += std::int64_t{l.income} - std::int64_t{l.expense};
    }
    return sum;
}

std::string ledger_editor::balance_text() const {
    return format_comma(balance());
}

} // namespace kozenica
