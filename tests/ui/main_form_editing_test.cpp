// Typing into the ledger grid through real key and input-method events.
#include "main_form_testing.h"

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
        go_to(1, column);
        by_input_method ? commit_input(QString::fromUtf8(typed)) : type_ascii(typed);
        EXPECT_EQ(editor()->text(), QString::fromUtf8(shown)) << typed;
        EXPECT_EQ(cell(1, column), QString::fromUtf8(shown)) << typed;
        const shuushi_line& l = line(1);
        EXPECT_EQ(std::to_string(l.day) + "|" + l.shop.str() + "|" + std::to_string(l.income), stored)
            << typed;
    }
}

TEST_F(editing, enter_walks_two_lines_and_fills_in_the_kind) {
    load_lines({{0, "", 0, 0}});
    go_to(1, 1);
    type_ascii("5");
    for (const char* text : {"", "スーパー", "牛乳", "", "", "198", ""}) {
        commit_input(QString::fromUtf8(text));
        key(Qt::Key_Return);
    }
    EXPECT_EQ(cell(1, 4), u"12"_s);
    EXPECT_EQ(line(1).expense, 198);
    EXPECT_EQ(current(), (cell_pos{2, 2}));
    EXPECT_EQ(editor()->text(), u"スーパー"_s);
    key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(current(), (cell_pos{3, 2}));
    EXPECT_TRUE(notify.messages.empty());
}

TEST_F(editing, painting_the_lines_marks_the_month_as_changed) {
    form->state().changed_flag = false;
    grid().viewport()->repaint();
    EXPECT_TRUE(form->state().changed_flag);
}

} // namespace
} // namespace kozenica::testing
