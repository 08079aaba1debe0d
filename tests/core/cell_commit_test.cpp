#include "core/cell_commit.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using testing::hex_bytes;
using testing::sjis;

// A month of three lines; the cases type into line 2.
struct month {
    shuushi_data data;
    month_state state;
    month() {
        init_data(data, state);
        data.row_count = 4;
    }
};

// The line's fields as one text, so that a case names every field it expects.
std::string fields(const shuushi_line& l) {
    return std::to_string(l.day) + "|" + l.shop.str() + "|" + l.item.str() + "|" + std::to_string(l.kind) +
           "|" + std::to_string(l.income) + "|" + std::to_string(l.expense) + "|" + l.memo.str();
}

TEST(commit_cell, stores_the_field_and_shows_its_normal_form) {
    struct commit_case {
        int column;
        std::string typed;
        std::string shown;
        std::string line; // day|shop|item|kind|income|expense|memo afterwards
    };
    const std::string x19(19, 'x');
    const commit_case cases[] = {
        {1, "5", "5", "5|||0|0|0|"},
        {1, sjis("０５"), "5", "5|||0|0|0|"},
        {1, sjis("12日"), "12", "12|||0|0|0|"},
        {1, "32", "", "0|||0|0|0|"},
        {1, "257", "", "0|||0|0|0|"},
        {1, "abc", "", "0|||0|0|0|"},
        {4, "007", "7", "0|||7|0|0|"},
        {4, "abc", "", "0|||0|0|0|"},
        {5, "1234", "1,234", "0|||0|1234|0|"},
        {5, sjis("１２３４"), "1,234", "0|||0|1234|0|"},
        {5, "1 2 3 4", "1,234", "0|||0|1234|0|"},
        {5, "-50", "50", "0|||0|50|0|"},
        {6, "1234567", "1,234,567", "0|||0|0|1234567|"},
        {6, "abc", "", "0|||0|0|0|"},
        // Digits beyond the 32-bit range wrap; the cell shows the stored value.
        {6, "2147483648", "-2,147,483,648", "0|||0|0|-2147483648|"},
        {5, "4294967296", "", "0|||0|0|0|"},
        {2, "abcdefghijklmnopqrstuvwxy", "abcdefghijklmnopqrst", "0|abcdefghijklmnopqrst||0|0|0|"},
        {3, sjis("あいうえおかきくけこさ"), sjis("あいうえおかきくけこ"),
         "0||" + sjis("あいうえおかきくけこ") + "|0|0|0|"},
        // The 20th byte is the lead byte of 店: only that byte is kept.
        {7, x19 + sjis("店"), x19 + hex_bytes("93"), "0|||0|0|0|" + x19 + hex_bytes("93")},
        {0, std::string(25, '9'), std::string(20, '9'), "0|||0|0|0|"},
    };
    for (const auto& c : cases) {
        month m;
        m.data.lines[2] = shuushi_line{};
        const std::string shown = commit_cell(m.data, m.state, 2, c.column, c.typed);
        EXPECT_EQ(shown, c.shown) << c.column << " " << c.typed;
        EXPECT_EQ(fields(m.data.lines[2]), c.line) << c.column << " " << c.typed;
        EXPECT_TRUE(m.state.changed_flag) << c.column << " " << c.typed;
        if (c.column > 0) {
            EXPECT_EQ(field_cell_text(m.data.lines[2], c.column), shown) << "field and cell agree";
        }
    }
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

TEST(commit_cell, rows_outside_the_month_and_the_header_change_nothing) {
    month m;
    const shuushi_data before = m.data;
    for (const auto& [row, column] :
         {std::pair{0, 1}, {4, 5}, {2000, 5}, {2001, 0}, {-1, 0}, {2, 8}, {2, -1}})
        EXPECT_EQ(commit_cell(m.data, m.state, row, column, "1234"), "1234") << row << "," << column;
    EXPECT_EQ(m.data.lines, before.lines);
    EXPECT_FALSE(m.state.changed_flag);
}

} // namespace
} // namespace kozenica
