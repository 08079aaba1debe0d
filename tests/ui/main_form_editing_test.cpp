// Typing into the ledger grid through real key and input-method events.
#include "window_testing.h"

namespace kozenica::testing {
namespace {

using editing = main_form_test;

TEST_F(editing, typed_text_shows_its_normal_form_and_reaches_the_line) {
    // column, typed by input method, typed and shown (UTF-8), stored day|shop|income
    const std::tuple<int, bool, const char*, const char*, std::string> cases[] = {
        {5, false, "1234", "1,234", "0||1234"},
        {1, false, "32", "", "0||0"},
        {5, false, "abc", "", "0||0"},
        {1, true, "０５", "5", "5||0"},
        {2, false, "abcdefghijklmnopqrstuvwxy", "abcdefghijklmnopqrst", "0|abcdefghijklmnopqrst|0"},
        // Only the lead byte of 店 fits; the cell shows the text without it.
        {2, true, "xxxxxxxxxxxxxxxxxxx店舗", "xxxxxxxxxxxxxxxxxxx", "0|" + std::string(19, 'x') + "\x93|0"},
    };
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

TEST_F(editing, enter_walks_two_lines_and_fills_in_the_kind_and_painting_marks_a_change) {
    load_lines({{0, "", 0, 0}});
    grid().set_current_cell(1, 1);
    QTest::keyClicks(focus(), u"5"_s);
    for (const char* text : {"", "スーパー", "牛乳", "", "", "198", ""}) {
        commit_input(QString::fromUtf8(text));
        QTest::keyClick(focus(), Qt::Key_Return);
    }
    EXPECT_EQ(cell(1, 4), u"12"_s);
    EXPECT_EQ(line(1).expense, 198);
    EXPECT_EQ(current(), (cell_pos{2, 2}));
    EXPECT_EQ(editor()->text(), u"スーパー"_s);
    QTest::keyClick(focus(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(current(), (cell_pos{3, 2}));
    EXPECT_TRUE(notify.messages.empty());
    form->state().changed_flag = false;
    grid().viewport()->repaint();
    EXPECT_TRUE(form->state().changed_flag) << "painting the lines marks the month as changed";
}

} // namespace
} // namespace kozenica::testing
