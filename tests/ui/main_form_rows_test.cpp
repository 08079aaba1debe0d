// Row commands from the tool bar and the edit menu: the grid follows the lines.
#include "main_form_testing.h"

#include <QAbstractItemModelTester>

namespace kozenica::testing {
namespace {

class rows : public main_form_test {
  protected:
    void SetUp() override {
        main_form_test::SetUp();
        // Any inconsistency in the model's signals aborts the test.
        tester = std::make_unique<QAbstractItemModelTester>(
            form->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        load_lines(five);
    }
    const std::vector<line_values> five = {
        {1, "", 1000, 0}, {5, "a", 0, 300}, {0, "b", 0, 200}, {3, "c", 50, 0}, {1, "d", 0, 1500}};
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(rows, commands_move_lines_cells_and_cursor_together) {
    struct command_case {
        const char* command;
        cell_pos from;
        bool yes;
        std::string shown; // shop and expense cells of every row afterwards
        cell_pos to;
    };
    const std::string all = "/a300/b200/c/d1,500/";
    const command_case cases[] = {
        {"inser_line_button", {6, 3}, false, "/a300//b200/c/d1,500/", {1, 3}},
        {"del_line_button", {3, 2}, true, "/b200/c/d1,500/", {1, 2}},
        {"delete_line", {3, 2}, false, all, {3, 2}},
        {"copy_befor_line_button", {5, 3}, true, "/a300/a300/c/d1,500/", {5, 3}},
        {"copy_befor_line_menu", {5, 3}, false, all, {5, 3}},
        {"date_sort_button", {6, 4}, false, "b200//d1,500/c/a300/", {1, 1}},
        {"go_bottom_line_button", {3, 2}, false, all, {1, 5}},
        {"go_top_line_menu", {3, 4}, false, all, {1, 1}},
    };
    for (const auto& c : cases) {
        load_lines(five);
        go_to(c.from.row, c.from.column);
        notify.answers = {c.yes};
        run(c.command);
        std::string shown;
        for (int r = 1; r <= form->model()->rowCount(); ++r)
            shown += (cell(r, 2) + cell(r, 6)).toStdString() + "/";
        EXPECT_EQ(shown, c.shown) << c.command;
        EXPECT_EQ(current(), c.to) << c.command;
        EXPECT_EQ(editor()->text(), cell(c.to.row, c.to.column)) << c.command << ": the editor follows";
    }
}

TEST_F(rows, the_balance_button_shows_income_minus_expense) {
    run("zandaka_button");
    EXPECT_EQ(form->zandaka_box()->text(), QStringLiteral("-950"));
}

} // namespace
} // namespace kozenica::testing
