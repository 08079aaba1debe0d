// The ledger grid typed into as a user would, through real key and input-method events: moving
// into a cell selects its text, so typing replaces it; an input method's composition never costs a
// cell its text; only characters the month files can hold enter a cell; typed text shows its normal
// form; row commands from the tool bar and the edit menu move lines, cells and cursor together.
#include "window_testing.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <functional>

namespace kozenica::testing {
namespace {

class ledger_grid : public main_form_test {
  protected:
    // Three lines with a text in every column from the day to the memo.
    void load_month() {
        load_lines({{5, "abc", 100, 0}, {6, "八百屋", 0, 200}, {7, "薬局", 300, 0}});
        for (int row = 1; row <= 3; ++row) {
            line(row).item = line_text(sjis(row == 1 ? "繰越" : "パン"));
            line(row).kind = 3;
            line(row).memo = line_text(sjis("メモ"));
        }
        form->disp_data();
    }
    void send_input(const QString& preedit, const QString& commit = {}) {
        input_method(focus(), preedit, commit);
    }
    QRect cell_rect(int row, int column) { return grid().visualRect(form->model()->index(row - 1, column)); }
};

TEST_F(ledger_grid, every_way_into_a_cell_shows_its_text_selected) {
    // how, expected cell (column, row)
    const auto key = [this](Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(focus(), k, m); };
    // clang-format off
    const std::tuple<const char*, std::function<void()>, cell_pos> ways[] = {
        {"Enter walk", [&] { key(Qt::Key_Return); }, {2, 1}}, {"Down", [&] { key(Qt::Key_Down); }, {1, 2}},
        {"Tab", [&] { key(Qt::Key_Tab); }, {2, 1}}, {"End, Right", [&] { key(Qt::Key_End), key(Qt::Key_Right); }, {2, 1}},
        {"Ctrl+End", [&] { key(Qt::Key_End, Qt::ControlModifier); }, {7, 3}}, {"Page Down", [&] { key(Qt::Key_PageDown); }, {1, 3}},
        {"click", [this] { QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cell_rect(2, 3).center()); }, {3, 2}},
        {"delete line", [this] { run("delete_line"); }, {1, 1}},
        {"copy the line above", [this] { grid().set_current_cell(2, 3), QTest::keyClicks(focus(), u"x"_s), run("copy_befor_line_menu"); }, {3, 2}},
        {"last line command", [this] { run("go_bottom_line_nemu"); }, {1, 3}},
        {"disp_data", [this] { grid().set_current_cell(3, 7), form->disp_data(); }, {1, 1}}};
    // clang-format on
    for (const auto& [how, move, expected] : ways) {
        load_month();
        grid().set_current_cell(1, 1);
        move();
        ASSERT_TRUE(editor()) << how;
        const QString text = cell(expected.row, expected.column);
        EXPECT_FALSE(text.isEmpty()) << how;
        EXPECT_EQ(
            std::tuple(current(), editor()->text(), editor()->selectedText(), QApplication::focusWidget()),
            std::tuple(expected, text, text, static_cast<QWidget*>(editor())))
            << how;
    }
}

// Left and Right leave a cell whose whole text is selected; Home, End and F2 put the caret inside, where
// they move it and leave at the text's ends.
TEST_F(ledger_grid, left_and_right_leave_a_selected_cell_home_end_f2_edit_inside_and_typing_replaces) {
    using K = Qt::Key;
    // keys pressed in the shop cell "abc"; the cell then current and its text; the text once "X" is typed
    // clang-format off
    const std::tuple<std::vector<K>, cell_pos, const char*, const char*> cases[] = {
        {{}, {2, 1}, "abc", "X"},                       {{K::Key_Left}, {1, 1}, "abc", nullptr},
        {{K::Key_Right}, {3, 1}, "abc", nullptr},       {{K::Key_Home}, {2, 1}, "abc", "Xabc"},
        {{K::Key_End}, {2, 1}, "abc", "abcX"},          {{K::Key_F2}, {2, 1}, "abc", "abcX"},
        {{K::Key_F2, K::Key_Left}, {2, 1}, "abc", "abXc"}, {{K::Key_Backspace}, {2, 1}, "", "X"},
        {{K::Key_Delete}, {2, 1}, "", "X"},             {{K::Key_Home, K::Key_Left}, {1, 1}, "abc", nullptr},
        {{K::Key_End, K::Key_Right}, {3, 1}, "abc", nullptr}, {{K::Key_F2, K::Key_Right}, {3, 1}, "abc", nullptr},
        {{K::Key_Home, K::Key_Right}, {2, 1}, "abc", "aXbc"},
        {{K::Key_F2, K::Key_Left, K::Key_Right, K::Key_Right}, {3, 1}, "abc", nullptr}};
    // clang-format on
    int n = 0;
    for (const auto& [keys, at, before, typed] : cases) {
        SCOPED_TRACE(++n);
        load_month();
        grid().set_current_cell(1, 2);
        for (const K k : keys)
            QTest::keyClick(focus(), k);
        EXPECT_EQ(current(), at);
        EXPECT_EQ(cell(1, 2), QString::fromUtf8(before));
        if (!typed) continue;
        QTest::keyClicks(focus(), u"X"_s);
        EXPECT_EQ(std::tuple(cell(1, 2), line(1).shop.str(), current()),
                  std::tuple(QString::fromUtf8(typed), std::string(typed), cell_pos{2, 1}));
    }
}

TEST_F(ledger_grid, a_composition_is_not_the_cells_text_until_committed) {
    load_month();
    grid().set_current_cell(1, 3); // 繰越, selected
    send_input(u"ぎゅう"_s);
    EXPECT_EQ(std::pair(editor()->composing(), cell(1, 3)), std::pair(true, u"繰越"_s))
        << "composing keeps the text";
    send_input(u"ぎゅうにゅう"_s);
    send_input({}); // Escape: the input method drops the composition
    EXPECT_FALSE(editor()->composing());
    // The text is selected again, ready to be typed over.
    EXPECT_EQ(QStringList({cell(1, 3), editor()->text(), editor()->selectedText()}),
              QStringList(3, u"繰越"_s));

    send_input(u"ぎゅうにゅう"_s);
    send_input({}, u"牛乳"_s);
    EXPECT_EQ(cell(1, 3), u"牛乳"_s);
    QTest::keyClick(focus(), Qt::Key_Return);
    EXPECT_EQ(cell(1, 4), u"12"_s) << "the kind of the committed item";

    // Escape after text typed inside the cell gives back the caret, not a selection.
    grid().set_current_cell(1, 7);
    QTest::keyClick(focus(), Qt::Key_End);
    send_input(u"あ"_s);
    send_input({});
    EXPECT_EQ(std::pair(editor()->text(), editor()->hasSelectedText()), std::pair(u"メモ"_s, false));
    QTest::keyClicks(focus(), u"1"_s);
    EXPECT_EQ(cell(1, 7), u"メモ1"_s);
}

TEST_F(ledger_grid, moving_away_from_an_open_composition_loses_no_text) {
    // how the cursor leaves the shop cell of line 1 while "ぎゅう" is composed there
    // clang-format off
    const std::tuple<const char*, std::function<void()>, cell_pos> ways[] = {
        {"Down", [this] { QTest::keyClick(focus(), Qt::Key_Down); }, {2, 2}},
        {"click", [this] { QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cell_rect(3, 2).center()); }, {2, 3}},
        {"Enter walk", [this] { QTest::keyClick(focus(), Qt::Key_Return); }, {3, 1}}};
    // clang-format on
    for (const auto& [how, move, expected] : ways) {
        load_month();
        grid().set_current_cell(1, 2);
        send_input(u"ぎゅう"_s);
        move();
        const QString there = cell(expected.row, expected.column);
        EXPECT_FALSE(there.isEmpty() || editor()->composing()) << how;
        EXPECT_EQ(std::tuple(current(), cell(1, 2), editor()->text()), std::tuple(expected, u"abc"_s, there))
            << how;
        send_input({}, u"ぎゅう"_s); // the input method commits what was left behind once more, late
        EXPECT_EQ(QStringList({editor()->text(), cell(expected.row, expected.column)}),
                  QStringList({there, there}))
            << how;
        QTest::keyClicks(focus(), u"5"_s);
        EXPECT_EQ(cell(1, 2), u"abc"_s) << how;
    }
    // What is composed and committed in the cell moved to does enter it.
    grid().set_current_cell(2, 7);
    send_input(u"ぎゅう"_s);
    send_input({}, u"ぎゅう"_s);
    EXPECT_EQ(cell(2, 7), u"ぎゅう"_s);
}

TEST_F(ledger_grid, characters_the_files_cannot_hold_never_enter_a_cell) {
    // Whatever way text arrives, é € 😀 𠮷 stay out and the rest goes in.
    for (const arrival how : {arrival::typed, arrival::pasted, arrival::committed}) {
        load_month();
        grid().set_current_cell(1, 7);
        offer(focus(), u"a牛é€😀𠮷乳b"_s, how);
        EXPECT_EQ(editor()->text(), u"a牛乳b"_s) << int(how);
        EXPECT_EQ(line(1).memo.str(), "a" + sjis("牛乳") + "b") << int(how);
    }
    // Input methods give some signs in their JIS form; the cell holds the code page's own.
    load_month();
    grid().set_current_cell(1, 7);
    send_input({}, u"1〜2−3"_s);
    EXPECT_EQ(line(1).memo.str(), "1\x81\x60"
                                  "2\x81\x7c"
                                  "3");
}

TEST_F(ledger_grid, typed_text_shows_its_normal_form_and_reaches_the_line) {
    // column, typed by input method, typed and shown (UTF-8), stored day|shop|income
    // clang-format off
    const std::tuple<int, bool, const char*, const char*, std::string> cases[] = {
        {5, false, "1234", "1,234", "0||1234"}, {1, false, "32", "", "0||0"}, {5, false, "abc", "", "0||0"},
        {1, true, "０５", "5", "5||0"}, {2, false, "abcdefghijklmnopqrstuvwxy", "abcdefghijklmnopqrst", "0|abcdefghijklmnopqrst|0"},
        // Only the lead byte of 店 fits; the cell shows the text without it.
        {2, true, "xxxxxxxxxxxxxxxxxxx店舗", "xxxxxxxxxxxxxxxxxxx", "0|" + std::string(19, 'x') + "\x93|0"}};
    // clang-format on
    for (const auto& [column, by_input_method, typed, shown, stored] : cases) {
        load_lines({{0, "", 0, 0}});
        grid().set_current_cell(1, column);
        const QString text = QString::fromUtf8(typed);
        by_input_method ? commit_input(text) : QTest::keyClicks(focus(), text);
        EXPECT_EQ(QStringList({editor()->text(), cell(1, column)}), QStringList(2, QString::fromUtf8(shown)));
        const shuushi_line& l = line(1);
        EXPECT_EQ(std::to_string(l.day) + "|" + l.shop.str() + "|" + std::to_string(l.income), stored)
            << typed;
    }
}

// (The Enter walk over typed lines and the kind it fills in: the journeys.)
TEST_F(ledger_grid, keypad_enter_walks_as_return_does_and_painting_marks_a_change) {
    load_lines({{0, "", 0, 0}});
    grid().set_current_cell(1, 7);
    QTest::keyClick(focus(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(std::pair(current(), notify.messages.size()), std::pair(cell_pos{2, 2}, std::size_t(0)));
    form->state().changed_flag = false;
    grid().viewport()->repaint();
    EXPECT_TRUE(form->state().changed_flag) << "painting the lines marks the month as changed";
}

TEST_F(ledger_grid, commands_move_lines_cells_and_cursor_together_and_the_balance_is_income_minus_expense) {
    QAbstractItemModelTester tester( // any inconsistency in the model's signals aborts the test
        form->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    const std::vector<line_values> five = {
        {1, "", 1000, 0}, {5, "a", 0, 300}, {0, "b", 0, 200}, {3, "c", 50, 0}, {1, "d", 0, 1500}};
    // command, from, yes, shop and expense cells of every row afterwards, to
    const std::string all = "/a300/b200/c/d1,500/";
    // clang-format off
    const std::tuple<const char*, cell_pos, bool, std::string, cell_pos> cases[] = {
        {"inser_line_button", {6, 3}, false, "/a300//b200/c/d1,500/", {1, 3}}, {"delete_line", {3, 2}, false, all, {3, 2}},
        {"del_line_button", {3, 2}, true, "/b200/c/d1,500/", {1, 2}}, {"go_top_line_menu", {3, 4}, false, all, {1, 1}},
        {"copy_befor_line_button", {5, 3}, true, "/a300/a300/c/d1,500/", {5, 3}},
        {"date_sort_button", {6, 4}, false, "b200//d1,500/c/a300/", {1, 1}}, {"go_bottom_line_button", {3, 2}, false, all, {1, 5}}};
    // clang-format on
    for (const auto& [command, from, yes, expected, to] : cases) {
        load_lines(five);
        grid().set_current_cell(from.row, from.column);
        notify.answers = {yes};
        run(command);
        std::string shown;
        for (int r = 1; r <= form->model()->rowCount(); ++r)
            shown += (cell(r, 2) + cell(r, 6)).toStdString() + "/";
        EXPECT_EQ(std::tuple(shown, current(), editor()->text()),
                  std::tuple(expected, to, cell(to.row, to.column)))
            << command << ": the editor follows";
    }
    load_lines(five);
    run("zandaka_button");
    EXPECT_EQ(form->zandaka_box()->text(), u"-950"_s);
}

TEST_F(ledger_grid, menus_carry_every_command_with_its_access_letter_and_tool_buttons_their_hints) {
    const std::vector<std::string> expected = {
        "ファイル(&F): 新規作成(&N) 開く(&O) 上書き保存する(&S) 名前をつけて保存する(&A) - 終了(&X)",
        "編集(&E): 先頭へ移動(&T) 最終行へ移動(&B) 種類リストの表示(&K) フォントの変更(&F) - 行の挿入(&I) "
        "行の削除(&D) １行上をコピー(&C) - 残高算出(&Q) 日付順に並び替え(&S) 以前の版に戻す(&V)...",
        "グラフ(&G): 月内集計グラフの表示(&R) 期間変動グラフの表示(&T) 年間集計(&Y)",
        "検索(&S): 最安値探索(&B) 底値表(&P)", "ヘルプ(&H): マニュアル(&M) バージョン(&A)"};
    std::vector<std::string> menus;
    for (const QAction* menu : form->menuBar()->actions()) {
        menus.push_back(menu->text().toStdString() + ":");
        for (const QAction* item : menu->menu()->actions())
            menus.back() += " " + (item->isSeparator() ? "-" : item->text().toStdString());
    }
    EXPECT_EQ(menus, expected);
    QStringList hints;
    for (const char* name :
         {"file_load_button", "file_overwrite_button", "go_top_line_button", "go_bottom_line_button",
          "show_list_form_button", "show_graph_window_button", "term_graph_button", "date_sort_button",
          "search_bottom_price_button", "copy_befor_line_button", "inser_line_button", "del_line_button"})
        hints << form->findChild<QPushButton*>(QLatin1String(name))->toolTip();
    EXPECT_EQ(hints.join(u' '),
              u"開く 上書き保存する 先頭へ移動 最終行へ移動 種類リストの表示 月内集計グラフの表示 "
              u"期間変動グラフの表示 日付順に並び替え 最安値探索 １行上をコピー 行の挿入 行の削除"_s);
}

} // namespace
} // namespace kozenica::testing
