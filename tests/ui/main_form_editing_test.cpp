// Typing into the ledger grid through real key and input-method events.
#include "main_form_testing.h"

namespace kozenica::testing {
namespace {

using editing = main_form_test;

TEST_F(editing, typed_text_shows_its_normal_form_and_reaches_the_line) {
    struct typing_case {
        int column;
        const char *typed, *shown; // UTF-8
        bool by_input_method;
        std::string stored; // day|shop|income
    };
    const typing_case cases[] = {
        {5, "1234", "1,234", false, "0||1234"},
        {1, "32", "", false, "0||0"},
        {5, "abc", "", false, "0||0"},
        {1, "０５", "5", true, "5||0"},
        {2, "abcdefghijklmnopqrstuvwxy", "abcdefghijklmnopqrst", false, "0|abcdefghijklmnopqrst|0"},
        // Only the lead byte of 店 fits; the cell shows the text without it.
        {2, "xxxxxxxxxxxxxxxxxxx店舗", "xxxxxxxxxxxxxxxxxxx", true, "0|" + std::string(19, 'x') + "\x93|0"},
    };
    for (const auto& c : cases) {
        load_lines({{0, "", 0, 0}});
        go_to(1, c.column);
        c.by_input_method ? commit_input(QString::fromUtf8(c.typed)) : type_ascii(c.typed);
        EXPECT_EQ(editor()->text(), QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_EQ(cell(1, c.column), QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_EQ(std::to_string(line(1).day) + "|" + line(1).shop.str() + "|" +
                      std::to_string(line(1).income),
                  c.stored)
            << c.typed;
    }
}

TEST_F(editing, enter_walks_two_lines_and_fills_in_the_kind) {
    load_lines({{0, "", 0, 0}});
    go_to(1, 1);
    type_ascii("5");
    const char* steps[] = {"", "スーパー", "牛乳", "", "", "198", ""};
    for (const char* text : steps) {
        commit_input(QString::fromUtf8(text));
        key(Qt::Key_Return);
    }
    EXPECT_EQ(cell(1, 4), QStringLiteral("12"));
    EXPECT_EQ(line(1).expense, 198);
    EXPECT_EQ(current(), (cell_pos{2, 2}));
    EXPECT_EQ(editor()->text(), QStringLiteral("スーパー"));
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
