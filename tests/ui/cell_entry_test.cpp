// Moving into a ledger cell selects its text, so typing replaces it; an input
// method's composition never costs a cell its text; only characters the month
// files can hold enter a cell.
#include "window_testing.h"

#include <QClipboard>
#include <functional>

namespace kozenica::testing {
namespace {

class cell_entry : public main_form_test {
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
        QInputMethodEvent event(preedit, {});
        if (!commit.isEmpty()) event.setCommitString(commit);
        QApplication::sendEvent(focus(), &event);
    }
    void type_character(const QString& character) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, character);
        QApplication::sendEvent(focus(), &press);
    }
    QRect cell_rect(int row, int column) { return grid().visualRect(form->model()->index(row - 1, column)); }
};

TEST_F(cell_entry, every_way_into_a_cell_shows_its_text_selected) {
    // how, expected cell (column, row)
    const std::tuple<const char*, std::function<void()>, cell_pos> ways[] = {
        {"Enter walk", [this] { QTest::keyClick(focus(), Qt::Key_Return); }, {2, 1}},
        {"Down", [this] { QTest::keyClick(focus(), Qt::Key_Down); }, {1, 2}},
        {"Tab", [this] { QTest::keyClick(focus(), Qt::Key_Tab); }, {2, 1}},
        {"End, Right",
         [this] {
             QTest::keyClick(focus(), Qt::Key_End);
             QTest::keyClick(focus(), Qt::Key_Right);
         },
         {2, 1}},
        {"Ctrl+End", [this] { QTest::keyClick(focus(), Qt::Key_End, Qt::ControlModifier); }, {7, 3}},
        {"Page Down", [this] { QTest::keyClick(focus(), Qt::Key_PageDown); }, {1, 3}},
        {"click",
         [this] { QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cell_rect(2, 3).center()); },
         {3, 2}},
        {"delete line", [this] { run("delete_line"); }, {1, 1}},
        {"copy the line above",
         [this] {
             grid().set_current_cell(2, 3);
             QTest::keyClicks(focus(), u"x"_s);
             run("copy_befor_line_menu");
         },
         {3, 2}},
        {"last line command", [this] { run("go_bottom_line_nemu"); }, {1, 3}},
        {"disp_data",
         [this] {
             grid().set_current_cell(3, 7);
             form->disp_data();
         },
         {1, 1}},
    };
    for (const auto& [how, move, expected] : ways) {
        load_month();
        grid().set_current_cell(1, 1);
        move();
        EXPECT_EQ(current(), expected) << how;
        ASSERT_TRUE(editor()) << how;
        const QString text = cell(expected.row, expected.column);
        EXPECT_FALSE(text.isEmpty()) << how;
        EXPECT_EQ(editor()->text(), text) << how;
        EXPECT_EQ(editor()->selectedText(), text) << how;
        EXPECT_EQ(QApplication::focusWidget(), editor()) << how;
    }
}

TEST_F(cell_entry, typing_replaces_the_selected_text_and_editing_keys_keep_it) {
    // keys pressed in the shop cell "abc", then "X" typed; the cell's text
    struct keys_case {
        std::vector<Qt::Key> keys;
        const char* expected;
    };
    const keys_case cases[] = {
        {{}, "X"},
        {{Qt::Key_Left}, "Xabc"},
        {{Qt::Key_Right}, "abcX"},
        {{Qt::Key_Home}, "Xabc"},
        {{Qt::Key_End}, "abcX"},
        {{Qt::Key_F2}, "abcX"},
        {{Qt::Key_F2, Qt::Key_Left}, "abXc"},
        {{Qt::Key_Backspace}, "X"},
        {{Qt::Key_Delete}, "X"},
    };
    for (const auto& [keys, expected] : cases) {
        load_month();
        grid().set_current_cell(1, 2);
        for (Qt::Key k : keys)
            QTest::keyClick(focus(), k);
        if (keys.size() == 1 && (keys[0] == Qt::Key_Backspace || keys[0] == Qt::Key_Delete)) {
            EXPECT_EQ(cell(1, 2), QString()) << "the selection's key empties the cell";
        }
        QTest::keyClicks(focus(), u"X"_s);
        EXPECT_EQ(cell(1, 2), QString::fromUtf8(expected));
        EXPECT_EQ(line(1).shop.str(), expected);
        EXPECT_EQ(current(), (cell_pos{2, 1})) << "the cursor stays in the cell";
    }
}

TEST_F(cell_entry, left_and_right_leave_the_cell_only_at_the_ends_of_its_text) {
    // keys in the shop cell "abc"; the cell then current
    struct keys_case {
        std::vector<Qt::Key> keys;
        cell_pos expected;
    };
    const keys_case cases[] = {
        {{Qt::Key_Left}, {2, 1}},
        {{Qt::Key_Left, Qt::Key_Left}, {1, 1}},
        {{Qt::Key_Right}, {2, 1}},
        {{Qt::Key_Right, Qt::Key_Right}, {3, 1}},
        {{Qt::Key_F2, Qt::Key_Right}, {3, 1}},
        {{Qt::Key_F2, Qt::Key_Left, Qt::Key_Right, Qt::Key_Right}, {3, 1}},
    };
    for (const auto& [keys, expected] : cases) {
        load_month();
        grid().set_current_cell(1, 2);
        for (Qt::Key k : keys)
            QTest::keyClick(focus(), k);
        EXPECT_EQ(current(), expected) << keys.size();
        EXPECT_EQ(cell(1, 2), u"abc"_s);
    }
}

TEST_F(cell_entry, a_composition_is_not_the_cells_text_until_committed) {
    load_month();
    grid().set_current_cell(1, 3); // 繰越, selected
    send_input(u"ぎゅう"_s);
    EXPECT_TRUE(editor()->composing());
    EXPECT_EQ(cell(1, 3), u"繰越"_s) << "composing over the selection keeps the cell's text";
    send_input(u"ぎゅうにゅう"_s);
    send_input({}); // Escape: the input method drops the composition
    EXPECT_FALSE(editor()->composing());
    EXPECT_EQ(cell(1, 3), u"繰越"_s);
    EXPECT_EQ(editor()->text(), u"繰越"_s);
    EXPECT_EQ(editor()->selectedText(), u"繰越"_s) << "the text is selected again, ready to be typed over";

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
    EXPECT_EQ(editor()->text(), u"メモ"_s);
    EXPECT_FALSE(editor()->hasSelectedText());
    QTest::keyClicks(focus(), u"1"_s);
    EXPECT_EQ(cell(1, 7), u"メモ1"_s);
}

TEST_F(cell_entry, moving_away_from_an_open_composition_loses_no_text) {
    // how the cursor leaves the shop cell of line 1 while "ぎゅう" is composed there
    const std::tuple<const char*, std::function<void()>, cell_pos> ways[] = {
        {"Down", [this] { QTest::keyClick(focus(), Qt::Key_Down); }, {2, 2}},
        {"click",
         [this] { QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cell_rect(3, 2).center()); },
         {2, 3}},
        {"Enter walk", [this] { QTest::keyClick(focus(), Qt::Key_Return); }, {3, 1}},
    };
    for (const auto& [how, move, expected] : ways) {
        load_month();
        grid().set_current_cell(1, 2);
        send_input(u"ぎゅう"_s);
        move();
        EXPECT_EQ(current(), expected) << how;
        EXPECT_EQ(cell(1, 2), u"abc"_s) << how;
        const QString there = cell(expected.row, expected.column);
        EXPECT_FALSE(there.isEmpty()) << how;
        EXPECT_EQ(editor()->text(), there) << how;
        EXPECT_FALSE(editor()->composing()) << how;
        send_input({}, u"ぎゅう"_s); // the input method commits what was left behind once more, late
        EXPECT_EQ(editor()->text(), there) << how;
        EXPECT_EQ(cell(expected.row, expected.column), there) << how;
        QTest::keyClicks(focus(), u"5"_s);
        EXPECT_EQ(cell(1, 2), u"abc"_s) << how;
    }
    // What is composed and committed in the cell moved to does enter it.
    grid().set_current_cell(2, 7);
    send_input(u"ぎゅう"_s);
    send_input({}, u"ぎゅう"_s);
    EXPECT_EQ(cell(2, 7), u"ぎゅう"_s);
}

TEST_F(cell_entry, characters_the_files_cannot_hold_never_enter_a_cell) {
    // Whatever way text arrives, é € 😀 𠮷 stay out and the rest goes in.
    const QString offered = u"a牛é€😀𠮷乳b"_s;
    const std::tuple<const char*, std::function<void()>> ways[] = {
        {"typed",
         [&] {
             for (qsizetype i = 0; i < offered.size(); i += offered.at(i).isHighSurrogate() ? 2 : 1)
                 type_character(offered.mid(i, offered.at(i).isHighSurrogate() ? 2 : 1));
         }},
        {"pasted",
         [&] {
             QApplication::clipboard()->setText(offered);
             QTest::keyClick(focus(), Qt::Key_V, Qt::ControlModifier);
         }},
        {"committed by the input method",
         [&] {
             send_input(u"あ"_s);
             send_input({}, offered);
         }},
    };
    for (const auto& [how, enter] : ways) {
        load_month();
        grid().set_current_cell(1, 7);
        enter();
        EXPECT_EQ(editor()->text(), u"a牛乳b"_s) << how;
        EXPECT_EQ(line(1).memo.str(), "a" + sjis("牛乳") + "b") << how;
    }
    // Input methods give some signs in their JIS form; the cell holds the code page's own.
    load_month();
    grid().set_current_cell(1, 7);
    send_input({}, u"1〜2−3"_s);
    EXPECT_EQ(line(1).memo.str(), "1\x81\x60"
                                  "2\x81\x7c"
                                  "3");
}

} // namespace
} // namespace kozenica::testing
