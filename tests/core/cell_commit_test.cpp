#include "core/cell_commit.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using testing::hex_bytes;
using testing::sjis;

struct commit_case {
    int column;
    std::string typed;
    std::string shown; // the normal form the cell shows afterwards
};

// A month with three lines; line 2 is the one the cases type into.
struct month {
    shuushi_data data;
    month_state state;
    month() {
        init_data(data, state);
        data.row_count = 4;
    }
};

shuushi_line line_after(int column, const std::string& typed, std::string* shown = nullptr) {
    month m;
    std::string s = commit_cell(m.data, m.state, 2, column, typed);
    EXPECT_TRUE(m.state.changed_flag) << column << " " << typed;
    if (shown) *shown = s;
    return m.data.lines[2];
}

TEST(commit_cell, numeric_columns_store_the_digits_and_show_the_normal_form) {
    const commit_case cases[] = {
        {1, "5", "5"},
        {1, sjis("０５"), "5"},
        {1, "31", "31"},
        {1, "32", ""},
        {1, "0", ""},
        {1, "257", ""},
        {1, "abc", ""},
        {1, sjis("12日"), "12"},
        {4, "12", "12"},
        {4, "abc", ""},
        {4, "007", "7"},
        {5, "1234", "1,234"},
        {5, "12345", "12,345"},
        {5, sjis("１２３４"), "1,234"},
        {5, "1 2 3 4", "1,234"},
        {5, "-50", "50"},
        {5, "abc", ""},
        {6, "1234567", "1,234,567"},
        {6, "0", ""},
        // Digits beyond the 32-bit range wrap; the cell shows the stored value.
        {6, "2147483648", "-2,147,483,648"},
        {5, "4294967296", ""},
    };
    for (const auto& c : cases) {
        std::string shown;
        const shuushi_line line = line_after(c.column, c.typed, &shown);
        EXPECT_EQ(shown, c.shown) << "column " << c.column << " typed " << c.typed;
        // Field and cell always agree.
        EXPECT_EQ(field_cell_text(line, c.column), shown) << "column " << c.column << " typed " << c.typed;
    }
}

TEST(commit_cell, numeric_columns_store_their_own_field_only) {
    EXPECT_EQ(line_after(1, "15").day, 15);
    EXPECT_EQ(line_after(1, "40").day, 0);
    EXPECT_EQ(line_after(4, "12").kind, 12);
    EXPECT_EQ(line_after(5, "1,234").income, 1234);
    EXPECT_EQ(line_after(5, "1,234").expense, 0);
    EXPECT_EQ(line_after(6, "999").expense, 999);
    EXPECT_EQ(line_after(6, "2147483648").expense, INT32_MIN);
}

TEST(commit_cell, text_columns_are_cut_at_the_twentieth_byte) {
    const std::string twenty_five = "abcdefghijklmnopqrstuvwxy";
    // 19 ASCII bytes and then a double-byte character: its lead byte is the
    // 20th byte and is all that is kept of it.
    const std::string split = std::string(19, 'x') + sjis("店");
    const commit_case cases[] = {
        {2, twenty_five, "abcdefghijklmnopqrst"},
        {3, sjis("牛乳"), sjis("牛乳")},
        {7, split, std::string(19, 'x') + hex_bytes("93")},
        {2, "", ""},
        {3, sjis("あいうえおかきくけこさ"), sjis("あいうえおかきくけこ")},
    };
    for (const auto& c : cases) {
        std::string shown;
        const shuushi_line line = line_after(c.column, c.typed, &shown);
        EXPECT_EQ(shown, c.shown) << c.typed;
        const line_text& field = c.column == 2 ? line.shop : c.column == 3 ? line.item : line.memo;
        EXPECT_EQ(field.str(), c.shown) << c.typed;
    }
}

TEST(commit_cell, column_zero_is_cut_and_stored_nowhere) {
    month m;
    const shuushi_line before = m.data.lines[2];
    EXPECT_EQ(commit_cell(m.data, m.state, 2, 0, std::string(25, '9')), std::string(20, '9'));
    EXPECT_EQ(m.data.lines[2], before);
    EXPECT_TRUE(m.state.changed_flag);
}

TEST(commit_cell, drawing_the_shown_text_again_changes_nothing_but_the_flag) {
    // Values a month file may hold that typing could never make: each keeps
    // its value when its own cell text is committed again.
    month m;
    shuushi_line& l = m.data.lines[2];
    l.day = -3;
    l.kind = -7;
    l.income = -1294967296;
    l.expense = 45;
    l.memo.assign("memo");
    for (int column = 1; column < ledger_columns; ++column) {
        const shuushi_line before = l;
        m.state.changed_flag = false;
        const std::string text = field_cell_text(l, column);
        EXPECT_EQ(commit_cell(m.data, m.state, 2, column, text), text) << column;
        EXPECT_EQ(l, before) << column;
        EXPECT_TRUE(m.state.changed_flag) << column;
    }
    EXPECT_EQ(field_cell_text(l, 1), "-3");
    EXPECT_EQ(field_cell_text(l, 5), "-1,294,967,296");
}

TEST(commit_cell, rows_outside_the_month_are_left_alone) {
    month m;
    const shuushi_data before = m.data;
    for (const int row : {0, 4, 2000, 2001, -1}) {
        (void)commit_cell(m.data, m.state, row, 5, "1234");
        (void)commit_cell(m.data, m.state, row, 0, "x");
    }
    (void)commit_cell(m.data, m.state, 2, 8, "1234");
    (void)commit_cell(m.data, m.state, 2, -1, "1234");
    EXPECT_EQ(m.data.lines, before.lines);
    EXPECT_EQ(m.data.row_count, before.row_count);
}

TEST(commit_cell, header_row_never_sets_the_flag) {
    month m;
    (void)commit_cell(m.data, m.state, 0, 1, "5");
    EXPECT_FALSE(m.state.changed_flag);
}

} // namespace
} // namespace kozenica
