#include "core/editor_texts.h"
#include "core/ledger_editor.h"
#include "sjis_testing.h"

#include <deque>
#include <gtest/gtest.h>
#include <vector>

namespace kozenica {
namespace {

using testing::sjis;

struct message {
    message_kind kind;
    std::string text;
    bool question;
    friend bool operator==(const message&, const message&) = default;
};

class recording_notifier : public notifier {
  public:
    void tell(message_kind kind, std::string_view text) override {
        messages.push_back({kind, std::string(text), false});
    }
    bool ask_yes_no(message_kind kind, std::string_view text) override {
        messages.push_back({kind, std::string(text), true});
        const bool a = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return a;
    }
    std::vector<message> messages;
    std::deque<bool> answers;
};

shuushi_line make_line(int day, std::string_view shop, std::string_view item = "", int income = 0,
                       int expense = 0) {
    shuushi_line l;
    l.day = static_cast<std::int8_t>(day);
    l.shop.assign(shop);
    l.item.assign(item);
    l.income = income;
    l.expense = expense;
    return l;
}

// A month of the given lines with an editor over it.
struct fixture {
    shuushi_data data;
    month_state state;
    corresp_list corresp;
    recording_notifier notify;
    ledger_editor editor{data, state, corresp, notify};

    explicit fixture(const std::vector<shuushi_line>& lines) {
        init_data(data, state);
        data.row_count = static_cast<int>(lines.size()) + 1;
        for (std::size_t i = 0; i < lines.size(); ++i)
            data.lines[i + 1] = lines[i];
    }
    std::vector<int> days() const {
        std::vector<int> out;
        for (int r = 1; r < data.row_count; ++r)
            out.push_back(data.lines[std::size_t(r)].day);
        return out;
    }
    std::vector<std::string> shops() const {
        std::vector<std::string> out;
        for (int r = 1; r < data.row_count; ++r)
            out.push_back(data.lines[std::size_t(r)].shop.str());
        return out;
    }
};

// Five lines whose shops name them, so that moves are easy to read.
std::vector<shuushi_line> five_lines() {
    return {make_line(1, "a"), make_line(2, "b"), make_line(3, "c"), make_line(4, "d"), make_line(5, "e")};
}

TEST(ledger_editor, enter_walks_a_line_and_on_to_the_shop_of_the_next) {
    struct step {
        cell_pos from;
        cell_pos to;
    };
    const step steps[] = {
        {{0, 2}, {1, 2}}, {{1, 2}, {2, 2}}, {{2, 2}, {3, 2}}, {{3, 2}, {4, 2}},
        {{4, 2}, {5, 2}}, {{5, 2}, {6, 2}}, {{6, 2}, {7, 2}}, {{7, 2}, {2, 3}},
    };
    for (const auto& s : steps) {
        fixture f(five_lines());
        f.editor.set_current(s.from);
        f.editor.enter();
        EXPECT_EQ(f.editor.current(), s.to) << s.from.column << "," << s.from.row;
        EXPECT_EQ(f.data.row_count, 6);
        EXPECT_TRUE(f.notify.messages.empty());
    }
}

TEST(ledger_editor, enter_on_an_item_takes_the_kind_of_the_first_matching_entry) {
    struct kind_case {
        std::string item;
        std::int32_t kind_before;
        std::int32_t kind_after;
        std::string kind_cell;
    };
    const kind_case cases[] = {
        {sjis("牛乳"), 0, 12, "12"},
        {sjis("パン"), 3, 5, "5"},    // the first of two entries named パン
        {sjis("水"), 4, 0, ""},       // an entry numbered 0 empties the kind
        {sjis("卵"), 4, 4, "4"},      // no entry: the kind stays
        {"milk", 0, 0, ""},           // no folding of case
        {sjis("ｍｉｌｋ"), 0, 0, ""}, // nor of width
        {"", 9, 9, "9"},              // an empty name matches no named entry
    };
    for (const auto& c : cases) {
        fixture f(five_lines());
        f.corresp = {{12, line_text(sjis("牛乳"))},
                     {5, line_text(sjis("パン"))},
                     {7, line_text(sjis("パン"))},
                     {0, line_text(sjis("水"))},
                     {8, line_text("MILK")}};
        f.data.lines[2].item.assign(c.item);
        f.data.lines[2].kind = c.kind_before;
        f.editor.set_current({3, 2});
        f.editor.enter();
        EXPECT_EQ(f.data.lines[2].kind, c.kind_after) << c.item;
        EXPECT_EQ(f.editor.cell(2, 4), c.kind_cell) << c.item;
        EXPECT_EQ(f.editor.current(), (cell_pos{4, 2}));
    }
}

TEST(ledger_editor, enter_matches_an_entry_with_an_empty_name_for_an_empty_item) {
    fixture f(five_lines());
    f.corresp = {{6, line_text("")}};
    f.editor.set_current({3, 2});
    f.editor.enter();
    EXPECT_EQ(f.data.lines[2].kind, 6);
}

TEST(ledger_editor, enter_on_the_last_memo_adds_a_line_with_day_and_shop_from_above) {
    fixture f(five_lines());
    f.data.lines[5] = make_line(5, sjis("スーパー"), "x", 100, 200);
    f.data.lines[6] = make_line(9, "stale", "stale", 1, 1); // slot beyond the month
    f.editor.set_current({7, 5});
    f.editor.enter();
    EXPECT_EQ(f.data.row_count, 7);
    EXPECT_EQ(f.data.lines[6], make_line(5, sjis("スーパー")));
    EXPECT_EQ(f.editor.current(), (cell_pos{2, 6}));
    EXPECT_EQ(f.editor.cell(6, 1), "5");
    EXPECT_EQ(f.editor.cell(6, 3), "");
}

TEST(ledger_editor, enter_copies_a_day_of_zero_as_an_empty_day) {
    fixture f({make_line(0, "a")});
    f.editor.set_current({7, 1});
    f.editor.enter();
    EXPECT_EQ(f.data.lines[2].day, 0);
    EXPECT_EQ(f.editor.cell(2, 1), "");
}

TEST(ledger_editor, enter_refuses_a_line_beyond_1999) {
    fixture f(std::vector<shuushi_line>(max_lines, make_line(3, "s")));
    f.editor.set_current({7, max_lines});
    const shuushi_data before = f.data;
    f.editor.enter();
    EXPECT_EQ(f.data.row_count, max_rows);
    EXPECT_EQ(f.data.lines, before.lines);
    EXPECT_EQ(f.editor.current(), (cell_pos{2, max_lines}));
    ASSERT_EQ(f.notify.messages.size(), 1u);
    EXPECT_EQ(f.notify.messages[0], (message{message_kind::warning, texts::no_more_lines, false}));
}

TEST(ledger_editor, enter_fills_up_to_exactly_1999_lines) {
    fixture f({make_line(1, "s")});
    f.editor.set_current({7, 1});
    for (int i = 0; i < max_lines + 5; ++i) {
        f.editor.enter();
        f.editor.set_current({7, f.editor.current().row});
    }
    EXPECT_EQ(f.data.row_count, max_rows);
    EXPECT_EQ(f.notify.messages.size(), 6u);
    EXPECT_EQ(f.data.lines[max_lines].shop, "s");
}

TEST(ledger_editor, insert_moves_the_lines_below_down) {
    struct insert_case {
        int row;
        std::vector<std::string> shops;
    };
    const insert_case cases[] = {
        {3, {"a", "b", "", "c", "d", "e"}},
        {1, {"", "a", "b", "c", "d", "e"}},
        {5, {"a", "b", "c", "d", "", "e"}},
    };
    for (const auto& c : cases) {
        fixture f(five_lines());
        f.editor.set_cell(c.row, 0, "margin");
        f.editor.set_current({6, c.row});
        f.editor.insert_line();
        EXPECT_EQ(f.shops(), c.shops) << c.row;
        EXPECT_EQ(f.data.lines[std::size_t(c.row)], shuushi_line{}) << c.row;
        EXPECT_EQ(f.editor.current(), (cell_pos{1, c.row}));
        EXPECT_EQ(f.editor.cell(c.row, 0), "margin") << "the margin column stays put";
        EXPECT_EQ(f.editor.cell(c.row + 1, 0), "");
    }
}

TEST(ledger_editor, insert_refuses_a_line_beyond_1999) {
    fixture f(std::vector<shuushi_line>(max_lines, make_line(3, "s")));
    f.editor.set_current({2, 10});
    f.editor.insert_line();
    EXPECT_EQ(f.data.row_count, max_rows);
    EXPECT_EQ(f.notify.messages,
              (std::vector<message>{{message_kind::warning, texts::no_more_lines, false}}));
    EXPECT_EQ(f.editor.current(), (cell_pos{2, 10}));
}

TEST(ledger_editor, delete_asks_and_moves_the_lines_below_up) {
    struct delete_case {
        int row;
        bool yes;
        std::vector<std::string> shops;
        int cursor_row;
    };
    const delete_case cases[] = {
        {2, true, {"a", "c", "d", "e"}, 2},
        {1, true, {"b", "c", "d", "e"}, 1},
        {5, true, {"a", "b", "c", "d"}, 4},
        {3, false, {"a", "b", "c", "d", "e"}, 3},
    };
    for (const auto& c : cases) {
        fixture f(five_lines());
        f.notify.answers = {c.yes};
        f.editor.set_current({4, c.row});
        f.editor.delete_line();
        EXPECT_EQ(f.shops(), c.shops) << c.row;
        EXPECT_EQ(f.notify.messages,
                  (std::vector<message>{{message_kind::warning, texts::confirm_delete_line, true}}));
        EXPECT_EQ(f.editor.current(), (cell_pos{c.yes ? 1 : 4, c.cursor_row})) << c.row;
        if (c.yes) {
            EXPECT_EQ(f.data.lines[5], shuushi_line{}) << "the freed slot is empty";
        }
    }
}

TEST(ledger_editor, delete_keeps_the_last_line_without_asking) {
    fixture f({make_line(1, "a")});
    f.notify.answers = {true};
    f.editor.delete_line();
    EXPECT_EQ(f.data.row_count, 2);
    EXPECT_EQ(f.notify.messages,
              (std::vector<message>{{message_kind::warning, texts::last_line_stays, false}}));
}

TEST(ledger_editor, copy_line_above_asks_and_copies_every_field) {
    for (const bool yes : {true, false}) {
        fixture f(five_lines());
        f.data.lines[2] = make_line(7, "x", "y", 10, 20);
        f.data.lines[2].kind = 4;
        f.data.lines[2].memo.assign("m");
        f.notify.answers = {yes};
        f.editor.set_current({5, 3});
        f.editor.copy_line_above();
        EXPECT_EQ(f.data.lines[3] == f.data.lines[2], yes);
        for (int column = 1; column < ledger_columns; ++column)
            EXPECT_EQ(f.editor.cell(3, column) == f.editor.cell(2, column), yes) << column;
        EXPECT_EQ(f.editor.current(), (cell_pos{5, 3}));
        EXPECT_EQ(f.notify.messages,
                  (std::vector<message>{{message_kind::warning, texts::confirm_copy_line_above, true}}));
    }
}

TEST(ledger_editor, copy_line_above_refuses_on_line_1) {
    fixture f(five_lines());
    f.notify.answers = {true};
    f.editor.set_current({2, 1});
    f.editor.copy_line_above();
    EXPECT_EQ(f.shops(), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(f.notify.messages,
              (std::vector<message>{{message_kind::warning, texts::no_line_above, false}}));
}

TEST(ledger_editor, first_and_last_line_put_the_cursor_on_the_day) {
    fixture f(five_lines());
    f.editor.set_current({5, 3});
    f.editor.go_bottom_line();
    EXPECT_EQ(f.editor.current(), (cell_pos{1, 5}));
    f.editor.go_top_line();
    EXPECT_EQ(f.editor.current(), (cell_pos{1, 1}));
}

TEST(ledger_editor, date_sort_is_stable_by_signed_day) {
    struct sort_case {
        std::vector<int> days;
        std::vector<int> sorted;
    };
    const sort_case cases[] = {
        {{1, 5, 0, 3, 1}, {0, 1, 1, 3, 5}},
        {{1}, {1}},
        {{31, 30, 29, 2, 1}, {1, 2, 29, 30, 31}},
        {{-3, 4, -100, 0}, {-100, -3, 0, 4}},
        {{2, 2, 2}, {2, 2, 2}},
    };
    for (const auto& c : cases) {
        std::vector<shuushi_line> lines;
        for (std::size_t i = 0; i < c.days.size(); ++i)
            lines.push_back(make_line(c.days[i], std::to_string(i)));
        fixture f(lines);
        f.editor.set_current({4, int(c.days.size())});
        f.editor.date_sort();
        EXPECT_EQ(f.days(), c.sorted);
        EXPECT_EQ(f.editor.current(), (cell_pos{1, 1}));
        // Equal days keep their order: the shops of each day ascend.
        for (std::size_t i = 1; i < c.sorted.size(); ++i)
            if (c.sorted[i] == c.sorted[i - 1]) {
                EXPECT_LT(f.shops()[i - 1], f.shops()[i]);
            }
    }
}

TEST(ledger_editor, date_sort_keeps_the_carried_forward_line_ahead_of_its_day) {
    fixture f({make_line(1, "", sjis("繰越")), make_line(5, "x"), make_line(0, "y"), make_line(1, "z")});
    f.editor.date_sort();
    EXPECT_EQ(f.shops(), (std::vector<std::string>{"y", "", "z", "x"}));
}

TEST(ledger_editor, balance_sums_in_64_bits) {
    struct balance_case {
        std::vector<std::pair<int, int>> amounts; // income, expense
        std::int64_t sum;
        std::string text;
    };
    const balance_case cases[] = {
        {{{0, 0}}, 0, "0"},
        {{{1000, 0}, {0, 1500}}, -500, "-500"},
        {{{0, 12345}}, -12345, "-12,345"},
        {{{2147483647, 0}, {2147483647, 0}}, 4294967294, "4,294,967,294"},
        {{{-2147483647 - 1, 2147483647}}, -4294967295, "-4,294,967,295"},
    };
    for (const auto& c : cases) {
        std::vector<shuushi_line> lines;
        for (const auto& [in, out] : c.amounts)
            lines.push_back(make_line(1, "", "", in, out));
        fixture f(lines);
        EXPECT_EQ(f.editor.balance(), c.sum);
        EXPECT_EQ(f.editor.balance_text(), c.text);
    }
}

TEST(ledger_editor, balance_counts_only_the_months_lines) {
    fixture f({make_line(1, "", "", 100, 0)});
    f.data.lines[2] = make_line(1, "", "", 5000, 0);
    EXPECT_EQ(f.editor.balance_text(), "100");
}

TEST(ledger_editor, margin_column_keeps_its_text_until_its_row_leaves) {
    fixture f(five_lines());
    f.editor.set_cell(5, 0, std::string(25, 'm'));
    f.editor.set_cell(1, 0, "one");
    EXPECT_EQ(f.editor.cell(5, 0), std::string(20, 'm'));
    f.notify.answers = {true};
    f.editor.set_current({1, 2});
    f.editor.delete_line();
    EXPECT_EQ(f.editor.cell(5, 0), "") << "row 5 left the grid";
    f.editor.insert_line();
    EXPECT_EQ(f.editor.cell(5, 0), "");
    f.editor.project();
    EXPECT_EQ(f.editor.cell(1, 0), "one");
}

TEST(ledger_editor, cells_show_the_fields_and_nothing_outside_the_month) {
    fixture f({make_line(12, "shop", "item", 1234567, 0)});
    f.data.lines[1].kind = 3;
    f.data.lines[1].memo.assign("memo");
    const std::string row1[] = {"", "12", "shop", "item", "3", "1,234,567", "", "memo"};
    for (int column = 0; column < ledger_columns; ++column)
        EXPECT_EQ(f.editor.cell(1, column), row1[column]);
    f.data.lines[2] = make_line(9, "beyond");
    for (const auto& [row, column] : {std::pair{2, 1}, {0, 2}, {1, 8}, {1, -1}, {-5, 1}})
        EXPECT_EQ(f.editor.cell(row, column), "") << row << "," << column;
}

// A month read from a file without lines: every command stays inside the
// table and leaves it sound.
TEST(ledger_editor, a_month_without_lines_takes_every_command_safely) {
    const auto empty_month = [] {
        auto f = std::make_unique<fixture>(std::vector<shuushi_line>{});
        f->data.lines[1] = make_line(9, "stale");
        f->data.lines[2] = make_line(9, "stale");
        return f;
    };
    {
        auto f = empty_month();
        f->editor.set_current({7, 1});
        f->editor.enter();
        EXPECT_EQ(f->data.row_count, 2);
        EXPECT_EQ(f->data.lines[1], shuushi_line{}) << "no line above to take a day or shop from";
        EXPECT_EQ(f->editor.current(), (cell_pos{2, 1}));
    }
    {
        auto f = empty_month();
        f->editor.set_current({3, 1});
        f->corresp = {{4, line_text("stale")}};
        f->editor.enter();
        EXPECT_EQ(f->data.row_count, 1);
        EXPECT_EQ(f->editor.current(), (cell_pos{4, 1}));
    }
    {
        auto f = empty_month();
        f->editor.insert_line();
        EXPECT_EQ(f->data.row_count, 2);
        EXPECT_EQ(f->data.lines[1], shuushi_line{});
        EXPECT_EQ(f->editor.current(), (cell_pos{1, 1}));
    }
    {
        auto f = empty_month();
        f->notify.answers = {true, true};
        f->editor.delete_line();
        f->editor.copy_line_above();
        EXPECT_EQ(f->data.row_count, 1);
        EXPECT_EQ(f->notify.messages,
                  (std::vector<message>{{message_kind::warning, texts::last_line_stays, false},
                                        {message_kind::warning, texts::no_line_above, false}}));
    }
    {
        auto f = empty_month();
        f->editor.go_bottom_line();
        EXPECT_EQ(f->editor.current(), (cell_pos{1, 1}));
        f->editor.go_top_line();
        EXPECT_EQ(f->editor.current(), (cell_pos{1, 1}));
        f->editor.date_sort();
        EXPECT_EQ(f->data.row_count, 1);
        EXPECT_EQ(f->data.lines[1], make_line(9, "stale"));
        EXPECT_EQ(f->editor.balance_text(), "0");
        EXPECT_EQ(f->editor.set_cell(1, 5, "100"), "100");
        EXPECT_EQ(f->data.lines[1], make_line(9, "stale"));
        EXPECT_FALSE(f->state.changed_flag);
    }
}

} // namespace
} // namespace kozenica
