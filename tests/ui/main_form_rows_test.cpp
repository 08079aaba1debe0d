// Row commands from the tool bar and the edit menu: the grid follows the lines.
#include "window_testing.h"

#include <QAbstractItemModelTester>

namespace kozenica::testing {
namespace {

using rows = main_form_test;

TEST_F(rows, commands_move_lines_cells_and_cursor_together_and_the_balance_is_income_minus_expense) {
    QAbstractItemModelTester tester( // any inconsistency in the model's signals aborts the test
        form->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    const std::vector<line_values> five = {
        {1, "", 1000, 0}, {5, "a", 0, 300}, {0, "b", 0, 200}, {3, "c", 50, 0}, {1, "d", 0, 1500}};
    // command, from, yes, shop and expense cells of every row afterwards, to
    const std::string all = "/a300/b200/c/d1,500/";
    const std::tuple<const char*, cell_pos, bool, std::string, cell_pos> cases[] = {
        {"inser_line_button", {6, 3}, false, "/a300//b200/c/d1,500/", {1, 3}},
        {"del_line_button", {3, 2}, true, "/b200/c/d1,500/", {1, 2}},
        {"delete_line", {3, 2}, false, all, {3, 2}},
        {"copy_befor_line_button", {5, 3}, true, "/a300/a300/c/d1,500/", {5, 3}},
        {"date_sort_button", {6, 4}, false, "b200//d1,500/c/a300/", {1, 1}},
        {"go_bottom_line_button", {3, 2}, false, all, {1, 5}},
        {"go_top_line_menu", {3, 4}, false, all, {1, 1}},
    };
    for (const auto& [command, from, yes, expected, to] : cases) {
        load_lines(five);
        grid().set_current_cell(from.row, from.column);
        notify.answers = {yes};
        run(command);
        std::string shown;
        for (int r = 1; r <= form->model()->rowCount(); ++r)
            shown += (cell(r, 2) + cell(r, 6)).toStdString() + "/";
        EXPECT_EQ(shown, expected) << command;
        EXPECT_EQ(current(), to) << command;
        EXPECT_EQ(editor()->text(), cell(to.row, to.column)) << command << ": the editor follows";
    }
    load_lines(five);
    run("zandaka_button");
    EXPECT_EQ(form->zandaka_box()->text(), u"-950"_s);
}

} // namespace
} // namespace kozenica::testing
