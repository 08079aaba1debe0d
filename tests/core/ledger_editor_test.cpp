#include "core/editor_texts.h"
#include "core/ledger_editor.h"
#include "sjis_testing.h"

#include <deque>
#include <gtest/gtest.h>
#include <memory>
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
using messages = std::vector<message>;

class recording_notifier : public notifier {
  public:
    void tell(message_kind kind, std::string_view text) override {
        said.push_back({kind, std::string(text), false});
    }
    bool ask_yes_no(message_kind kind, std::string_view text) override {
        said.push_back({kind, std::string(text), true});
        const bool a = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return a;
    }
    messages said;
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

// A month of the given lines with an editor over it; slots beyond the month
// hold stale lines that no command may show or use.
struct month {
    shuushi_data data;
    month_state state;
    corresp_list corresp;
    recording_notifier notify;
    ledger_editor editor{data, state, corresp, notify};

    explicit month(const std::vector<shuushi_line>& lines, cell_pos at = {1, 1}) {
        init_data(data, state);
        data.row_count = static_cast<int>(lines.size()) + 1;
        for (std::size_t r = 0; r < data.lines.size(); ++r)
            data.lines[r] = r >= 1 && r <= lines.size() ? lines[r - 1] : make_line(9, "stale", "stale", 1, 1);
        editor.set_current(at);
    }
    std::vector<std::string> shops() const {
        std::vector<std::string> out;
        for (int r = 1; r < data.row_count; ++r)
            out.push_back(data.lines[std::size_t(r)].shop.str());
        return out;
    }
};

std::vector<shuushi_line> five_lines() {
    return {make_line(1, "a"), make_line(2, "b"), make_line(3, "c"), make_line(4, "d"), make_line(5, "e")};
}

TEST(ledger_editor, enter_walks_a_line_then_the_shop_of_the_next) {
    const std::pair<cell_pos, cell_pos> steps[] = {
        {{0, 2}, {1, 2}}, {{1, 2}, {2, 2}}, {{2, 2}, {3, 2}}, {{3, 2}, {4, 2}},
        {{5, 2}, {6, 2}}, {{6, 2}, {7, 2}}, {{7, 2}, {2, 3}}, {{7, 4}, {2, 5}},
    };
    for (const auto& [from, to] : steps) {
        month m(five_lines(), from);
        m.editor.enter();
        EXPECT_EQ(m.editor.current(), to) << from.column << "," << from.row;
        EXPECT_EQ(m.shops().size(), 5u);
    }
}

TEST(ledger_editor, enter_on_an_item_takes_the_kind_of_the_first_exact_match) {
    struct kind_case {
        std::string item;
        std::int32_t kind_before, kind_after;
        std::string kind_cell;
    };
    const kind_case cases[] = {
        {sjis("牛乳"), 0, 12, "12"},
        {sjis("パン"), 3, 5, "5"},    // the first of two entries wins
        {sjis("水"), 4, 0, ""},       // an entry numbered 0 empties the kind
        {sjis("卵"), 4, 4, "4"},      // no entry: the kind stays
        {"milk", 0, 0, ""},           // no folding of case
        {sjis("ｍｉｌｋ"), 0, 0, ""}, // nor of width
        {"", 9, 6, "6"},              // an empty name matches the empty entry
    };
    for (const auto& c : cases) {
        month m(five_lines(), {3, 2});
        m.corresp = {{12, line_text(sjis("牛乳"))}, {5, line_text(sjis("パン"))},
                     {7, line_text(sjis("パン"))},  {0, line_text(sjis("水"))},
                     {8, line_text("MILK")},        {6, line_text("")}};
        m.data.lines[2].item.assign(c.item);
        m.data.lines[2].kind = c.kind_before;
        m.editor.enter();
        EXPECT_EQ(m.data.lines[2].kind, c.kind_after) << c.item;
        EXPECT_EQ(m.editor.cell(2, 4), c.kind_cell) << c.item;
        EXPECT_EQ(m.editor.current(), (cell_pos{4, 2}));
    }
}

TEST(ledger_editor, enter_after_the_last_memo_adds_a_line_with_day_and_shop_from_above) {
    struct add_case {
        int day_above;
        std::string day_cell;
    };
    for (const auto& c : {add_case{5, "5"}, add_case{0, ""}}) {
        std::vector<shuushi_line> lines = five_lines();
        lines[4] = make_line(c.day_above, sjis("スーパー"), "x", 100, 200);
        month m(lines, {7, 5});
        m.editor.enter();
        EXPECT_EQ(m.data.row_count, 7);
        EXPECT_EQ(m.data.lines[6], make_line(c.day_above, sjis("スーパー")));
        EXPECT_EQ(m.editor.current(), (cell_pos{2, 6}));
        EXPECT_EQ(m.editor.cell(6, 1), c.day_cell);
    }
}

TEST(ledger_editor, no_command_adds_a_line_beyond_1999) {
    for (const bool by_enter : {true, false}) {
        month m(std::vector<shuushi_line>(max_lines, make_line(3, "s")), {7, max_lines});
        const shuushi_data before = m.data;
        by_enter ? m.editor.enter() : m.editor.insert_line();
        EXPECT_EQ(m.data.row_count, max_rows);
        EXPECT_EQ(m.data.lines, before.lines);
        EXPECT_EQ(m.editor.current(), (cell_pos{by_enter ? 2 : 7, max_lines}));
        EXPECT_EQ(m.notify.said, (messages{{message_kind::warning, texts::no_more_lines, false}}));
    }
}

TEST(ledger_editor, insert_puts_an_empty_line_at_the_cursor) {
    const std::pair<int, std::vector<std::string>> cases[] = {
        {3, {"a", "b", "", "c", "d", "e"}},
        {1, {"", "a", "b", "c", "d", "e"}},
        {5, {"a", "b", "c", "d", "", "e"}},
    };
    for (const auto& [row, shops] : cases) {
        month m(five_lines(), {6, row});
        m.editor.set_cell(row, 0, "margin");
        m.editor.insert_line();
        EXPECT_EQ(m.shops(), shops) << row;
        EXPECT_EQ(m.data.lines[std::size_t(row)], shuushi_line{}) << row;
        EXPECT_EQ(m.editor.current(), (cell_pos{1, row}));
        EXPECT_EQ(m.editor.cell(row, 0), "margin") << "the margin column never moves";
    }
}

TEST(ledger_editor, delete_asks_and_moves_the_lines_below_up) {
    struct delete_case {
        int row;
        bool yes;
        std::vector<std::string> shops;
        cell_pos after;
    };
    const delete_case cases[] = {
        {2, true, {"a", "c", "d", "e"}, {1, 2}},
        {5, true, {"a", "b", "c", "d"}, {1, 4}},
        {3, false, {"a", "b", "c", "d", "e"}, {4, 3}},
    };
    for (const auto& c : cases) {
        month m(five_lines(), {4, c.row});
        m.editor.set_cell(5, 0, "margin");
        m.notify.answers = {c.yes};
        m.editor.delete_line();
        EXPECT_EQ(m.shops(), c.shops) << c.row;
        EXPECT_EQ(m.notify.said, (messages{{message_kind::warning, texts::confirm_delete_line, true}}));
        EXPECT_EQ(m.editor.current(), c.after) << c.row;
        EXPECT_EQ(m.editor.cell(5, 0), c.yes ? "" : "margin") << "row 5 left the grid";
    }
}

TEST(ledger_editor, copy_line_above_asks_and_copies_every_field) {
    for (const bool yes : {true, false}) {
        std::vector<shuushi_line> lines = five_lines();
        lines[1] = make_line(7, "x", "y", 10, 20);
        lines[1].kind = 4;
        lines[1].memo.assign("m");
        month m(lines, {5, 3});
        m.notify.answers = {yes};
        m.editor.copy_line_above();
        EXPECT_EQ(m.data.lines[3] == m.data.lines[2], yes);
        EXPECT_EQ(m.editor.current(), (cell_pos{5, 3}));
        EXPECT_EQ(m.notify.said, (messages{{message_kind::warning, texts::confirm_copy_line_above, true}}));
    }
}

TEST(ledger_editor, refusals_come_before_any_question) {
    month one({make_line(1, "a")});
    one.notify.answers = {true, true};
    one.editor.delete_line();
    one.editor.copy_line_above();
    EXPECT_EQ(one.shops(), (std::vector<std::string>{"a"}));
    EXPECT_EQ(one.notify.said, (messages{{message_kind::warning, texts::last_line_stays, false},
                                         {message_kind::warning, texts::no_line_above, false}}));
}

TEST(ledger_editor, date_sort_is_stable_by_signed_day) {
    const std::pair<std::vector<int>, std::string> cases[] = {
        {{1, 5, 0, 3, 1}, "20431"}, // the carried-forward line (shop 0) stays ahead of its day
        {{1}, "0"},
        {{31, 30, 29, 2, 1}, "43210"},
        {{-3, 4, -100, 0}, "2031"},
        {{2, 2, 2}, "012"},
    };
    for (const auto& [days, order] : cases) {
        std::vector<shuushi_line> lines;
        for (std::size_t i = 0; i < days.size(); ++i)
            lines.push_back(make_line(days[i], std::to_string(i)));
        month m(lines, {4, int(days.size())});
        m.editor.date_sort();
        std::string shops;
        for (const auto& s : m.shops())
            shops += s;
        EXPECT_EQ(shops, order);
        EXPECT_EQ(m.editor.current(), (cell_pos{1, 1}));
    }
}

TEST(ledger_editor, balance_sums_the_months_lines_in_64_bits) {
    const std::pair<std::vector<std::pair<int, int>>, std::string> cases[] = {
        {{{0, 0}}, "0"},
        {{{1000, 0}, {0, 1500}}, "-500"},
        {{{0, 12345}}, "-12,345"},
        {{{2147483647, 0}, {2147483647, 0}}, "4,294,967,294"},
        {{{-2147483647 - 1, 2147483647}}, "-4,294,967,295"},
    };
    for (const auto& [amounts, text] : cases) {
        std::vector<shuushi_line> lines;
        for (const auto& [in, out] : amounts)
            lines.push_back(make_line(1, "", "", in, out));
        month m(lines); // the stale slot after the month holds income 1
        EXPECT_EQ(m.editor.balance_text(), text);
    }
}

// A month read from a file without lines: every command stays inside the
// table and leaves it sound.
TEST(ledger_editor, a_month_without_lines_takes_every_command) {
    {
        month m({}, {7, 1});
        m.editor.enter();
        EXPECT_EQ(m.data.row_count, 2);
        EXPECT_EQ(m.data.lines[1], shuushi_line{}) << "no line above to take a day or shop from";
        EXPECT_EQ(m.editor.current(), (cell_pos{2, 1}));
    }
    {
        month m({}, {3, 1});
        m.corresp = {{4, line_text("stale")}};
        m.editor.enter();
        m.editor.insert_line();
        EXPECT_EQ(m.data.row_count, 2);
        EXPECT_EQ(m.data.lines[1], shuushi_line{});
    }
    month m({});
    m.notify.answers = {true, true};
    m.editor.delete_line();
    m.editor.copy_line_above();
    m.editor.go_bottom_line();
    m.editor.date_sort();
    EXPECT_EQ(m.editor.current(), (cell_pos{1, 1}));
    EXPECT_EQ(m.editor.set_cell(1, 5, "100"), "100");
    EXPECT_EQ(m.data.row_count, 1);
    EXPECT_EQ(m.data.lines[1], make_line(9, "stale", "stale", 1, 1));
    EXPECT_EQ(m.editor.balance_text(), "0");
    EXPECT_FALSE(m.state.changed_flag);
    EXPECT_EQ(m.notify.said.size(), 2u);
}

} // namespace
} // namespace kozenica
