// Typing into the ledger grid through real key and input-method events.
#include "main_form_testing.h"

namespace kozenica::testing {
namespace {

using editing = main_form_test;

TEST_F(editing, typed_numbers_show_their_normal_form_and_reach_the_line) {
    struct typing_case {
        int column;
        const char* keys;
        const char* shown;
        std::int32_t shuushi_line::*field; // null for the day
        std::int32_t value;
    };
    const typing_case cases[] = {
        {5, "1234", "1,234", &shuushi_line::income, 1234},
        {6, "12345", "12,345", &shuushi_line::expense, 12345},
        {6, "1234567", "1,234,567", &shuushi_line::expense, 1234567},
        {4, "12", "12", &shuushi_line::kind, 12},
        {4, "abc", "", &shuushi_line::kind, 0},
        {5, "abc", "", &shuushi_line::income, 0},
        {1, "31", "31", nullptr, 31},
        {1, "32", "", nullptr, 0},
        {1, "257", "", nullptr, 0},
        {1, "abc", "", nullptr, 0},
    };
    show();
    for (const auto& c : cases) {
        load_lines({{0, "", "", 0, 0, 0}});
        go_to(1, c.column);
        type_ascii(c.keys);
        EXPECT_EQ(editor()->text(), QString::fromLatin1(c.shown)) << c.keys;
        EXPECT_EQ(cell(1, c.column), QString::fromLatin1(c.shown)) << c.keys;
        const std::int32_t stored = c.field ? line(1).*(c.field) : line(1).day;
        EXPECT_EQ(stored, c.value) << c.keys;
    }
}

TEST_F(editing, the_caret_stays_behind_the_digit_just_typed) {
    show();
    go_to(1, 5);
    type_ascii("123");
    EXPECT_EQ(editor()->cursorPosition(), 3);
    type_ascii("4");
    EXPECT_EQ(editor()->text(), QStringLiteral("1,234"));
    EXPECT_EQ(editor()->cursorPosition(), 5);
    // Typing in front of the digits: the caret stays in front of "234".
    editor()->setCursorPosition(2);
    type_ascii("9");
    EXPECT_EQ(editor()->text(), QStringLiteral("19,234"));
    EXPECT_EQ(editor()->text().mid(editor()->cursorPosition()), QStringLiteral("234"));
}

TEST_F(editing, full_width_keys_and_input_method_text_reach_the_cell) {
    show();
    go_to(1, 1);
    type_text(QStringLiteral("０５"));
    EXPECT_EQ(editor()->text(), QStringLiteral("5"));
    EXPECT_EQ(line(1).day, 5);
    go_to(1, 5);
    commit_input(QStringLiteral("１２３４"));
    EXPECT_EQ(cell(1, 5), QStringLiteral("1,234"));
    EXPECT_EQ(line(1).income, 1234);
    go_to(1, 2);
    commit_input(QStringLiteral("スーパー"));
    EXPECT_EQ(editor()->text(), QStringLiteral("スーパー"));
    EXPECT_EQ(line(1).shop.str(), sjis("スーパー"));
}

TEST_F(editing, long_texts_are_cut_to_twenty_bytes) {
    struct cut_case {
        QString typed;
        std::string stored;
        QString shown;
    };
    const cut_case cases[] = {
        {QStringLiteral("abcdefghijklmnopqrstuvwxy"), "abcdefghijklmnopqrst",
         QStringLiteral("abcdefghijklmnopqrst")},
        // The 20th byte is the first byte of 店: only that byte is kept, and
        // the cell shows the text without it.
        {QStringLiteral("xxxxxxxxxxxxxxxxxxx店舗"), std::string(19, 'x') + "\x93", QString(19, u'x')},
        {QStringLiteral("あいうえおかきくけこさしす"), sjis("あいうえおかきくけこ"),
         QStringLiteral("あいうえおかきくけこ")},
    };
    show();
    for (const auto& c : cases) {
        load_lines({{1, "", "", 0, 0, 0}});
        go_to(1, 2);
        commit_input(c.typed);
        EXPECT_EQ(line(1).shop.str(), c.stored) << c.typed.toStdString();
        EXPECT_EQ(editor()->text(), c.shown) << c.typed.toStdString();
        // The margin column keeps its text, cut likewise, in no line.
        go_to(1, 0);
        commit_input(c.typed);
        EXPECT_EQ(form->editor().cell(1, 0), c.stored);
        EXPECT_EQ(line(1).shop.str(), c.stored);
    }
}

TEST_F(editing, enter_walks_two_lines_and_fills_in_the_kind) {
    show();
    go_to(1, 1);
    key(Qt::Key_Backspace);
    type_ascii("5");
    enter();
    EXPECT_EQ(current(), (cell_pos{2, 1}));
    commit_input(QStringLiteral("スーパー"));
    enter();
    editor()->selectAll();
    key(Qt::Key_Delete);
    commit_input(QStringLiteral("牛乳"));
    enter();
    EXPECT_EQ(current(), (cell_pos{4, 1}));
    EXPECT_EQ(cell(1, 4), QStringLiteral("12"));
    EXPECT_EQ(editor()->text(), QStringLiteral("12")) << "the editor on the kind shows it";
    EXPECT_EQ(line(1).kind, 12);
    enter();
    key(Qt::Key_Enter, Qt::KeypadModifier); // the keypad's Enter walks too
    type_ascii("198");
    enter();
    EXPECT_EQ(current(), (cell_pos{7, 1}));
    enter();
    // Line 2 was added with the day and shop of line 1.
    EXPECT_EQ(form->table().row_count, 3);
    EXPECT_EQ(current(), (cell_pos{2, 2}));
    EXPECT_EQ(cell(2, 1), QStringLiteral("5"));
    EXPECT_EQ(cell(2, 2), QStringLiteral("スーパー"));
    EXPECT_EQ(editor()->text(), QStringLiteral("スーパー"));
    enter();
    commit_input(QStringLiteral("パン"));
    enter();
    EXPECT_EQ(line(2).kind, 3);
    enter();
    enter();
    type_ascii("150");
    enter();
    enter();
    EXPECT_EQ(form->table().row_count, 4);
    EXPECT_EQ(current(), (cell_pos{2, 3}));
    EXPECT_EQ(line(1).expense, 198);
    EXPECT_EQ(line(2).expense, 150);
    EXPECT_EQ(line(2).item.str(), sjis("パン"));
    EXPECT_TRUE(notify.messages.empty());
    EXPECT_TRUE(editor()->hasFocus());
}

TEST_F(editing, enter_on_the_last_memo_of_1999_lines_refuses) {
    show();
    load_lines(std::vector<line_values>(max_lines, {3, "s", "", 0, 0, 0}));
    go_to(max_lines, 7);
    enter();
    EXPECT_EQ(form->table().row_count, max_rows);
    EXPECT_EQ(form->model()->rowCount(), max_lines);
    EXPECT_EQ(current(), (cell_pos{2, max_lines}));
    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_EQ(notify.messages[0].kind, message_kind::warning);
    EXPECT_EQ(notify.messages[0].text, QStringLiteral("これ以上増やせません"));
}

TEST_F(editing, other_keys_keep_their_usual_meaning) {
    show();
    load_lines({{1, "ab", "", 0, 0, 0}, {2, "cd", "", 0, 0, 0}, {3, "ef", "", 0, 0, 0}});
    go_to(1, 2);
    key(Qt::Key_Down);
    EXPECT_EQ(current(), (cell_pos{2, 2}));
    key(Qt::Key_Up);
    EXPECT_EQ(current(), (cell_pos{2, 1}));
    key(Qt::Key_Tab);
    EXPECT_EQ(current(), (cell_pos{3, 1}));
    // Left moves the caret inside a text and leaves the cell only at its start.
    go_to(1, 2);
    editor()->setCursorPosition(2);
    key(Qt::Key_Left);
    EXPECT_EQ(current(), (cell_pos{2, 1}));
    EXPECT_EQ(editor()->cursorPosition(), 1);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    EXPECT_EQ(current(), (cell_pos{1, 1}));
    key(Qt::Key_PageDown);
    EXPECT_EQ(current().row, 3);
    EXPECT_EQ(line(1).shop.str(), "ab") << "moving about changes no line";
}

TEST_F(editing, drawing_the_lines_marks_the_month_as_changed) {
    EXPECT_FALSE(form->state().changed_flag);
    show();
    grid().viewport()->repaint();
    EXPECT_TRUE(form->state().changed_flag);
}

TEST_F(editing, the_balance_box_takes_no_enter) {
    show();
    form->zandaka_calc_and_disp();
    QSignalSpy returns(form->zandaka_box(), &QLineEdit::returnPressed);
    form->zandaka_box()->setFocus();
    QTest::keyClick(form->zandaka_box(), Qt::Key_Return);
    QTest::keyClick(form->zandaka_box(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(returns.count(), 0);
    EXPECT_EQ(form->zandaka_box()->text(), QStringLiteral("0"));
    EXPECT_EQ(current(), (cell_pos{1, 1}));
}

TEST_F(editing, cells_align_by_column_inside_their_inset) {
    const Qt::Alignment expected[ledger_columns] = {Qt::AlignRight, Qt::AlignHCenter, Qt::AlignLeft,
                                                    Qt::AlignLeft,  Qt::AlignRight,   Qt::AlignRight,
                                                    Qt::AlignRight, Qt::AlignLeft};
    for (int column = 0; column < ledger_columns; ++column) {
        EXPECT_EQ(ledger_cell_alignment(1, column), expected[column] | Qt::AlignTop) << column;
        EXPECT_EQ(ledger_cell_alignment(0, column), Qt::AlignHCenter | Qt::AlignTop) << column;
    }
}

} // namespace
} // namespace kozenica::testing

namespace kozenica::testing {
namespace {

// Where the dark pixels of a cell's text lie in the painted grid.
QRect ink_of(const QImage& image, const QRect& cell) {
    QRect ink;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (qGray(image.pixel(x, y)) < 96) ink |= QRect(x, y, 1, 1);
    return ink;
}

TEST_F(editing, cell_text_is_painted_inside_the_inset_with_its_alignment) {
    show();
    load_lines({{5, "shop", "", 0, 1234, 0}, {1, "", "", 0, 0, 0}});
    go_to(2, 0); // the editor stands elsewhere
    const QImage image = grid().viewport()->grab().toImage();
    const auto rect = [&](int column) { return grid().visualRect(form->model()->index(0, column)); };
    const QRect day = ink_of(image, rect(1)), shop = ink_of(image, rect(2)), income = ink_of(image, rect(5));
    for (const QRect& ink : {day, shop, income}) {
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_GE(ink.top(), rect(1).top() + ledger_cell_inset);
    }
    EXPECT_GE(shop.left(), rect(2).left() + ledger_cell_inset);
    EXPECT_LE(shop.left(), rect(2).left() + ledger_cell_inset + 2);
    EXPECT_LE(income.right(), rect(5).right() - ledger_cell_inset);
    EXPECT_GE(income.right(), rect(5).right() - ledger_cell_inset - 2);
    EXPECT_NEAR(day.center().x(), rect(1).center().x(), 2);
}

} // namespace
} // namespace kozenica::testing
