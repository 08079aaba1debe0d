// The row commands through the tool bar and the edit menu, on a month of five
// lines: the grid's cells, rows and cursor follow the lines.
#include "main_form_testing.h"

#include <QAbstractItemModelTester>
#include <QPushButton>

namespace kozenica::testing {
namespace {

class rows : public main_form_test {
  protected:
    void SetUp() override {
        main_form_test::SetUp();
        show();
        // Any inconsistency in the model's signals aborts the test.
        tester = std::make_unique<QAbstractItemModelTester>(
            form->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        fresh();
    }
    void fresh() {
        notify.messages.clear();
        load_lines({{1, "", "繰越", 0, 1000, 0},
                    {5, "a", "", 0, 0, 300},
                    {0, "b", "", 0, 0, 200},
                    {3, "c", "", 0, 50, 0},
                    {1, "d", "", 0, 0, 1500}});
    }
    std::string column(int c) {
        std::string out;
        for (int r = 1; r <= form->model()->rowCount(); ++r)
            out += cell(r, c).toStdString() + "/";
        return out;
    }
    void run(const char* command) {
        if (auto* b = form->findChild<QPushButton*>(QLatin1String(command)))
            b->click();
        else
            form->findChild<QAction*>(QLatin1String(command))->trigger();
    }
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(rows, commands_move_lines_cells_and_cursor_together) {
    struct command_case {
        const char* command;
        cell_pos from;
        std::deque<bool> answers;
        std::string shops; // column 2 of every row afterwards
        std::string expenses;
        cell_pos to;
        const char* message;
    };
    const command_case cases[] = {
        {"inser_line_button", {6, 3}, {}, "/a//b/c/d/", "/300//200//1,500/", {1, 3}, nullptr},
        {"insert_line", {2, 1}, {}, "//a/b/c/d/", "//300/200//1,500/", {1, 1}, nullptr},
        {"del_line_button",
         {3, 2},
         {true},
         "/b/c/d/",
         "/200//1,500/",
         {1, 2},
         "行を削除してもよろしいですか?"},
        {"delete_line", {3, 5}, {true}, "/a/b/c/", "/300/200//", {1, 4}, "行を削除してもよろしいですか?"},
        {"delete_line",
         {3, 2},
         {false},
         "/a/b/c/d/",
         "/300/200//1,500/",
         {3, 2},
         "行を削除してもよろしいですか?"},
        {"copy_befor_line_button",
         {5, 3},
         {true},
         "/a/a/c/d/",
         "/300/300//1,500/",
         {5, 3},
         "１行上の行をコピーしてもよろしいですか?"},
        {"copy_befor_line_menu",
         {5, 3},
         {false},
         "/a/b/c/d/",
         "/300/200//1,500/",
         {5, 3},
         "１行上の行をコピーしてもよろしいですか?"},
        {"copy_befor_line_menu",
         {5, 1},
         {true},
         "/a/b/c/d/",
         "/300/200//1,500/",
         {5, 1},
         "ここより上の行がありません"},
        {"date_sort_button", {6, 4}, {}, "b//d/c/a/", "200//1,500//300/", {1, 1}, nullptr},
        {"go_bottom_line_button", {3, 2}, {}, "/a/b/c/d/", "/300/200//1,500/", {1, 5}, nullptr},
        {"go_top_line_menu", {3, 4}, {}, "/a/b/c/d/", "/300/200//1,500/", {1, 1}, nullptr},
    };
    for (const auto& c : cases) {
        fresh();
        go_to(c.from.row, c.from.column);
        notify.answers = c.answers;
        run(c.command);
        EXPECT_EQ(column(2), c.shops) << c.command;
        EXPECT_EQ(column(6), c.expenses) << c.command;
        EXPECT_EQ(current(), c.to) << c.command;
        EXPECT_EQ(editor()->text(), cell(c.to.row, c.to.column)) << c.command << ": the editor follows";
        EXPECT_EQ(notify.texts(), c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList())
            << c.command;
    }
}

TEST_F(rows, balance_shows_income_minus_expense_until_asked_again) {
    run("zandaka_button");
    EXPECT_EQ(form->zandaka_box()->text(), QStringLiteral("-950"));
    go_to(2, 6);
    key(Qt::Key_End); // entering a cell selects its text; append instead
    type_ascii("0");
    EXPECT_EQ(form->zandaka_box()->text(), QStringLiteral("-950"));
    run("zandaka_sanshutu");
    EXPECT_EQ(form->zandaka_box()->text(), QStringLiteral("-3,650"));
    form->reset_month();
    EXPECT_EQ(form->zandaka_box()->text(), QString());
}

TEST_F(rows, a_month_without_lines_takes_every_command) {
    form->table().row_count = 1;
    form->disp_data();
    EXPECT_EQ(form->model()->rowCount(), 0);
    notify.answers = {true, true};
    for (const char* command :
         {"delete_line", "copy_befor_line_menu", "go_bottom_line_nemu", "date_sort_menu", "zandaka_sanshutu"})
        run(command);
    EXPECT_EQ(form->zandaka_box()->text(), QStringLiteral("0"));
    EXPECT_EQ(notify.messages.size(), 2u);
    run("insert_line");
    EXPECT_EQ(form->model()->rowCount(), 1);
    EXPECT_EQ(current(), (cell_pos{1, 1}));
    type_ascii("7");
    EXPECT_EQ(line(1).day, 7);
}

} // namespace
} // namespace kozenica::testing
