// The row commands of the edit menu and tool bar on a month of five lines.
#include "main_form_testing.h"

#include <QPushButton>

namespace kozenica::testing {
namespace {

class rows : public main_form_test {
  protected:
    void SetUp() override {
        main_form_test::SetUp();
        show();
        fresh();
    }
    // The five lines again, and no message yet.
    void fresh() {
        notify.messages.clear();
        notify.answers.clear();
        load_lines({{1, "", "繰越", 0, 1000, 0},
                    {5, "a", "", 0, 0, 300},
                    {0, "b", "", 0, 0, 200},
                    {3, "c", "", 0, 50, 0},
                    {1, "d", "", 0, 0, 1500}});
    }
    using texts = std::vector<std::string>; // UTF-8
    texts column(int c) {
        texts out;
        for (int r = 1; r < form->table().row_count; ++r)
            out.push_back(cell(r, c).toStdString());
        return out;
    }
    texts shops() { return column(2); }
    void click(const char* button) {
        auto* b = form->findChild<QPushButton*>(QLatin1String(button));
        ASSERT_NE(b, nullptr) << button;
        b->click();
    }
    void trigger(const char* action) {
        auto* a = form->findChild<QAction*>(QLatin1String(action));
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }
};

TEST_F(rows, insert_puts_an_empty_line_at_the_cursor) {
    struct insert_case {
        int row;
        const char* command;
        std::vector<std::string> shops;
    };
    const insert_case cases[] = {
        {3, "inser_line_button", {"", "a", "", "b", "c", "d"}},
        {1, "insert_line", {"", "", "a", "b", "c", "d"}},
        {5, "inser_line_button", {"", "a", "b", "c", "", "d"}},
    };
    for (const auto& c : cases) {
        fresh();
        go_to(c.row, 6);
        if (QLatin1String(c.command).endsWith(QLatin1String("button")))
            click(c.command);
        else
            trigger(c.command);
        EXPECT_EQ(shops(), c.shops) << c.row;
        EXPECT_EQ(form->model()->rowCount(), 6);
        EXPECT_EQ(line(c.row), shuushi_line{});
        EXPECT_EQ(current(), (cell_pos{1, c.row}));
        EXPECT_EQ(editor()->text(), QString()) << "the editor shows the new empty day";
        if (c.row == 1) {
            EXPECT_EQ(cell(2, 3), QStringLiteral("繰越")) << "the carried-forward line moved down";
        }
    }
}

TEST_F(rows, delete_asks_first) {
    struct delete_case {
        int row;
        bool yes;
        std::vector<std::string> shops;
        int cursor_row;
    };
    const delete_case cases[] = {
        {2, true, {"", "b", "c", "d"}, 2},
        {5, true, {"", "a", "b", "c"}, 4},
        {3, false, {"", "a", "b", "c", "d"}, 3},
    };
    for (const auto& c : cases) {
        fresh();
        notify.answers = {c.yes};
        go_to(c.row, 3);
        click("del_line_button");
        EXPECT_EQ(shops(), c.shops) << c.row;
        EXPECT_EQ(std::size_t(form->model()->rowCount()), c.shops.size());
        EXPECT_EQ(current().row, c.cursor_row);
        ASSERT_EQ(notify.messages.size(), 1u);
        EXPECT_EQ(notify.messages[0].text, QStringLiteral("行を削除してもよろしいですか?"));
        EXPECT_TRUE(notify.messages[0].question);
    }
}

TEST_F(rows, the_last_line_cannot_be_deleted) {
    load_lines({{1, "x", "", 0, 0, 0}});
    notify.answers = {true};
    trigger("delete_line");
    EXPECT_EQ(form->model()->rowCount(), 1);
    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_FALSE(notify.messages[0].question);
    EXPECT_EQ(notify.messages[0].text, QStringLiteral("行を完全に無くす事は出来ません"));
}

TEST_F(rows, copy_line_above_asks_and_copies_cells_and_fields) {
    for (const bool yes : {true, false}) {
        fresh();
        notify.answers = {yes};
        go_to(3, 5);
        click("copy_befor_line_button");
        EXPECT_EQ(line(3) == line(2), yes);
        EXPECT_EQ(cell(3, 6), yes ? QStringLiteral("300") : QStringLiteral("200"));
        EXPECT_EQ(current(), (cell_pos{5, 3}));
        ASSERT_EQ(notify.messages.size(), 1u);
        EXPECT_EQ(notify.messages[0].text, QStringLiteral("１行上の行をコピーしてもよろしいですか?"));
    }
    fresh();
    notify.answers = {true};
    go_to(1, 2);
    trigger("copy_befor_line_menu");
    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_EQ(notify.messages[0].text, QStringLiteral("ここより上の行がありません"));
}

TEST_F(rows, sort_orders_the_lines_by_day_and_shows_them_again) {
    go_to(4, 6);
    click("date_sort_button");
    EXPECT_EQ(column(1), (texts{"", "1", "1", "3", "5"}));
    EXPECT_EQ(shops(), (texts{"b", "", "d", "c", "a"}));
    EXPECT_EQ(current(), (cell_pos{1, 1}));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kozenica"));
}

TEST_F(rows, first_and_last_line_move_the_cursor_to_the_day) {
    go_to(3, 5);
    click("go_bottom_line_button");
    EXPECT_EQ(current(), (cell_pos{1, 5}));
    trigger("go_top_line_menu");
    EXPECT_EQ(current(), (cell_pos{1, 1}));
    trigger("go_bottom_line_nemu");
    EXPECT_EQ(current(), (cell_pos{1, 5}));
    EXPECT_TRUE(editor()->hasFocus());
}

TEST_F(rows, balance_shows_income_minus_expense_until_asked_again) {
    click("zandaka_button");
    EXPECT_EQ(form->zandaka_box()->text(), QStringLiteral("-950"));
    go_to(2, 6);
    key(Qt::Key_End); // entering a cell selects its text; append instead
    type_ascii("0");
    EXPECT_EQ(form->zandaka_box()->text(), QStringLiteral("-950"));
    trigger("zandaka_sanshutu");
    EXPECT_EQ(form->zandaka_box()->text(), QStringLiteral("-3,650"));
    form->reset_month();
    EXPECT_EQ(form->zandaka_box()->text(), QString());
}

TEST_F(rows, a_month_without_lines_takes_every_command) {
    form->table().row_count = 1;
    form->disp_data();
    EXPECT_EQ(form->model()->rowCount(), 0);
    notify.answers = {true, true};
    form->delete_lineClick();
    form->copy_befor_line();
    form->go_bottom_line();
    form->date_sort();
    form->zandaka_calc_and_disp();
    EXPECT_EQ(form->zandaka_box()->text(), QStringLiteral("0"));
    EXPECT_EQ(notify.messages.size(), 2u);
    form->insert_lineClick();
    EXPECT_EQ(form->model()->rowCount(), 1);
    EXPECT_EQ(current(), (cell_pos{1, 1}));
    ASSERT_NE(editor(), nullptr);
    type_ascii("7");
    EXPECT_EQ(line(1).day, 7);
}

} // namespace
} // namespace kozenica::testing
