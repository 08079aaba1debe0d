#include "core/editor_texts.h"
#include "core/ledger_editor.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>
#include <vector>

namespace kozenica {
namespace {

using namespace testing;
using messages = std::vector<std::string>;

// Records warnings told ("!") or asked ("?"), giving one answer to every question.
struct recording_notifier : notifier {
    void tell(message_kind k, std::string_view text) override { note(k, "!", text); }
    bool ask_yes_no(message_kind k, std::string_view text) override { return note(k, "?", text), yes; }
    void note(message_kind k, const char* mark, std::string_view text) {
        log.push_back((k == message_kind::warning ? mark : "not a warning: ") + std::string(text));
    }
    messages log;
    bool yes = false;
};

shuushi_line make_line(int day, std::string_view shop, std::string_view item = "", int in = 0, int out = 0) {
    return {std::int8_t(day), line_text(shop), line_text(item), 0, in, out, {}};
}

// Five lines by default; slots beyond the month hold stale lines no command may use.
struct month {
    shuushi_data data;
    month_state state;
    corresp_list corresp;
    recording_notifier notify;
    ledger_editor editor{data, state, corresp, notify};

    explicit month(cell_pos at = {1, 1}, const std::vector<shuushi_line>& lines = {
                                             make_line(1, "a"), make_line(5, "b"), make_line(-3, "c"),
                                             make_line(3, "d"), make_line(1, "e")}) {
        init_data(data, state);
        data.row_count = int(lines.size()) + 1;
        for (std::size_t r = 0; r < data.lines.size(); ++r)
            data.lines[r] = r >= 1 && r <= lines.size() ? lines[r - 1] : make_line(9, "stale", "stale", 1, 1);
        editor.set_current(at);
    }
    std::string days_and_shops() const {
        std::string out;
        for (auto r = data.lines.begin() + 1; r < data.lines.begin() + data.row_count; ++r)
            out += std::to_string(r->day) + r->shop.str() + "/";
        return out;
    }
};

TEST(commit_cell, stores_the_field_and_shows_its_normal_form_and_committing_it_again_changes_nothing) {
    const std::string x19(19, 'x'); // column, typed, shown, line as day|shop|item|kind|income|expense|memo
    // clang-format off
    const std::tuple<int, std::string, std::string, std::string> cases[] = {
        {1, sjis("０５"), "5", "5|||0|0|0|"}, {1, sjis("12日"), "12", "12|||0|0|0|"}, {1, "257", "", "0|||0|0|0|"},
        {4, "007", "7", "0|||7|0|0|"}, {5, sjis("１２３４"), "1,234", "0|||0|1234|0|"}, {5, "-50", "50", "0|||0|50|0|"},
        {6, "2147483648", "-2,147,483,648", "0|||0|0|-2147483648|"}, {5, "4294967296", "", "0|||0|0|0|"},
        {3, sjis("あいうえおかきくけこさ"), sjis("あいうえおかきくけこ"), "0||" + sjis("あいうえおかきくけこ") + "|0|0|0|"},
        {7, x19 + sjis("店"), x19 + hex_bytes("93"), "0|||0|0|0|" + x19 + hex_bytes("93")},
        {0, std::string(25, '9'), std::string(20, '9'), "0|||0|0|0|"}};
    // clang-format on
    for (const auto& [column, typed, expected, line] : cases) {
        month m;
        const shuushi_line& l = m.data.lines[2] = {};
        EXPECT_EQ(commit_cell(m.data, m.state, 2, column, typed), expected) << column << " " << typed;
        EXPECT_EQ(std::to_string(l.day) + "|" + l.shop.str() + "|" + l.item.str() + "|" +
                      std::to_string(l.kind) + "|" + std::to_string(l.income) + "|" +
                      std::to_string(l.expense) + "|" + l.memo.str(),
                  line)
            << column << " " << typed;
        EXPECT_TRUE(m.state.changed_flag);
        EXPECT_EQ(column ? field_cell_text(l, column) : expected, expected) << "field and cell agree";
    }
    month m; // values typing could not make survive a commit of their own text
    shuushi_line& l = m.data.lines[2] = {-3, line_text("shop"), {}, -7, -1294967296, 45, line_text("memo")};
    for (int column = 1; column < ledger_columns; ++column) {
        const shuushi_line before = l;
        EXPECT_EQ(commit_cell(m.data, m.state, 2, column, field_cell_text(l, column)),
                  field_cell_text(l, column));
        EXPECT_EQ(l, before) << column;
    }
}

TEST(ledger_editor, enter_on_an_item_takes_the_kind_of_the_first_exact_match) {
    // item, kind before, after; the list holds 12 牛乳, 5 パン, 7 パン, 0 水, 8 MILK, 6 (empty)
    const std::tuple<std::string, int, int> cases[] = {
        {sjis("牛乳"), 0, 12}, {sjis("パン"), 3, 5},     {sjis("水"), 4, 0}, {sjis("卵"), 4, 4},
        {"milk", 0, 0},        {sjis("ｍｉｌｋ"), 0, 0}, {"", 9, 6}};
    for (const auto& [item, before, after] : cases) {
        month m({3, 2});
        for (const auto& [kind, name] :
             {std::pair{12, "牛乳"}, {5, "パン"}, {7, "パン"}, {0, "水"}, {8, "MILK"}, {6, ""}})
            m.corresp.push_back({kind, line_text(sjis(name))});
        m.data.lines[2].item.assign(item);
        m.data.lines[2].kind = before;
        m.editor.enter();
        EXPECT_EQ(m.data.lines[2].kind, after) << item;
    }
}

TEST(ledger_editor, commands_move_lines_and_cursor_but_not_the_margin) {
    using E = ledger_editor;
    const std::string del = "?" + std::string(texts::confirm_delete_line),
                      copy = "?" + sjis("１行上の行をコピーしてもよろしいですか?"), A = "1a/5b/-3c/3d/1e/";
    // command, from, to, yes, days and shops (A: unchanged), margin of row 5 (was "m"), what was said
    const std::tuple<void (E::*)(), cell_pos, cell_pos, bool, std::string, std::string, messages> cases[] = {
        {&E::enter, {0, 2}, {1, 2}, false, A, "m", {}},
        {&E::enter, {7, 2}, {2, 3}, false, A, "m", {}},
        {&E::enter, {7, 5}, {2, 6}, false, "1a/5b/-3c/3d/1e/1e/", "m", {}},
        {&E::insert_line, {6, 5}, {1, 5}, false, "1a/5b/-3c/3d/0/1e/", "m", {}},
        {&E::insert_line, {3, 1}, {1, 1}, false, "0/1a/5b/-3c/3d/1e/", "m", {}},
        {&E::delete_line, {4, 2}, {1, 2}, true, "1a/-3c/3d/1e/", "", {del}},
        {&E::delete_line, {4, 5}, {1, 4}, true, "1a/5b/-3c/3d/", "", {del}},
        {&E::delete_line, {4, 3}, {4, 3}, false, A, "m", {del}},
        {&E::copy_line_above, {5, 3}, {5, 3}, true, "1a/5b/5b/3d/1e/", "m", {copy}},
        {&E::copy_line_above, {5, 3}, {5, 3}, false, A, "m", {copy}},
        {&E::copy_line_above, {5, 1}, {5, 1}, true, A, "m", {"!" + std::string(texts::no_line_above)}},
        {&E::go_top_line, {4, 3}, {1, 1}, false, A, "m", {}},
        {&E::go_bottom_line, {4, 3}, {1, 5}, false, A, "m", {}},
        {&E::date_sort, {4, 3}, {1, 1}, false, "-3c/1a/1e/3d/5b/", "", {}}};
    for (const auto& [run, from, to, yes, shops, margin, said] : cases) {
        month m(from);
        m.editor.set_cell(5, 0, "m");
        m.notify.yes = yes;
        (m.editor.*run)();
        SCOPED_TRACE(::testing::Message() << shops << " from " << from.column << "," << from.row);
        EXPECT_EQ(std::tuple(m.days_and_shops(), m.editor.current(), m.editor.cell(5, 0), m.notify.log),
                  std::tuple(shops, to, margin, said));
    }
}

TEST(ledger_editor, copy_takes_every_field_enter_only_day_and_shop_and_nothing_adds_a_line_beyond_1999) {
    month m({5, 2}, {{7, line_text("x"), line_text("y"), 4, 10, 20, line_text("m")}, make_line(3, "c")});
    m.notify.yes = true;
    m.editor.copy_line_above();
    EXPECT_EQ(m.data.lines[2], m.data.lines[1]);
    m.editor.set_current({7, 2});
    m.editor.enter();
    EXPECT_EQ(m.data.lines[3], make_line(7, "x"));
    for (const bool by_enter : {true, false}) {
        month full({7, max_lines}, std::vector<shuushi_line>(max_lines, make_line(3, "s")));
        const shuushi_data before = full.data;
        by_enter ? full.editor.enter() : full.editor.insert_line();
        EXPECT_TRUE(full.data.row_count == max_rows && full.data.lines == before.lines);
        EXPECT_EQ(full.notify.log, messages{"!" + std::string(texts::no_more_lines)});
    }
}

TEST(ledger_editor, balance_sums_the_months_lines_in_64_bits) {
    for (const auto& [in, out, text] : {std::tuple{1000, 1100, "-500"},
                                        {2147483647, 0, "10,737,418,235"},
                                        {-2147483647 - 1, 2147483647, "-21,474,836,475"}}) {
        month m; // the stale slot after the month holds income 1
        for (std::size_t r = 1; r <= 5; ++r)
            m.data.lines[r] = make_line(1, "", "", in, out);
        EXPECT_EQ(m.editor.balance_text(), text);
    }
}

TEST(ledger_editor, a_month_without_lines_takes_every_command_and_the_only_line_stays) {
    month m({7, 1}, {});
    m.notify.yes = true;
    for (auto run : {&ledger_editor::delete_line, &ledger_editor::copy_line_above,
                     &ledger_editor::go_bottom_line, &ledger_editor::date_sort})
        (m.editor.*run)();
    for (const auto& [row, column] : {std::pair{1, 5}, {0, 1}, {2001, 0}, {-1, 0}, {1, 8}, {1, -1}})
        EXPECT_EQ(commit_cell(m.data, m.state, row, column, "100"), "100") << row << "," << column;
    // two refusals, no questions
    EXPECT_EQ(std::tuple(m.state.changed_flag, m.notify.log.size(), m.data.lines[1], m.editor.balance_text()),
              std::tuple(false, 2u, make_line(9, "stale", "stale", 1, 1), "0"));
    m.editor.set_current({7, 1});
    m.editor.enter();
    EXPECT_EQ(std::tuple(m.data.row_count, m.data.lines[1], m.editor.current()),
              std::tuple(2, shuushi_line{}, cell_pos{2, 1}));
    m.editor.delete_line();
    EXPECT_EQ(std::pair(m.data.row_count, m.notify.log.back()),
              std::pair(2, "!" + std::string(texts::last_line_stays)));
}

} // namespace
} // namespace kozenica
