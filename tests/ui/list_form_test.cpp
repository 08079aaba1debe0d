// The kind list window: its content, its place beside the main window, its sizes.
#include "file_window_testing.h"
#include "ui/list_window/list_form.h"

#include <QTableWidget>

namespace kozenica {
namespace {

using namespace testing;
using kind_list_window = program_window_test;

// Every row of the shown list as "number|name", the header first.
QString texts(main_form& form) {
    const QTableWidget& grid = *form.list_window()->draw_klist();
    EXPECT_TRUE(form.list_window()->isVisible());
    QString out = grid.horizontalHeaderItem(0)->text() + u'|' + grid.horizontalHeaderItem(1)->text();
    for (int r = 0; r < grid.rowCount(); ++r)
        out += u' ' + grid.item(r, 0)->text() + u'|' + grid.item(r, 1)->text();
    return out;
}

TEST_F(kind_list_window, shows_the_kinds_in_number_order_and_only_the_header_when_empty) {
    const std::pair<std::string, QString> cases[] = {
        {sjis("10\r\n雑費\r\n2\r\n日用品\r\n$1\r\n食費\r\n"), u"No.|種類 1|食費 2|日用品 10|雑費"_s},
        {"", u"No.|種類"_s}};
    for (const auto& [file, expected] : cases) {
        dir.write("kindlist.dat", file);
        start();
        form->show_list_form();
        EXPECT_EQ(texts(*form), expected);
    }
}

TEST_F(kind_list_window, each_show_refills_it_at_an_eleventh_of_the_main_window_with_the_stored_sizes) {
    dir.write("kindlist.dat", "1\r\nfood\r\n");
    start();
    form->show_list_form();
    QTableWidget& grid = *form->list_window()->draw_klist();
    for (const auto& [main, expected] : {std::pair{QRect(100, 50, 635, 450), QPoint(157, 90)},
                                         std::pair{QRect(0, 0, 635, 450), QPoint(57, 40)}}) {
        form->list_window()->setGeometry(300, 300, 400, 100);
        grid.setColumnWidth(1, 200);
        grid.setRowCount(0);
        set_outer_geometry(*form, main);
        form->show_list_form();
        EXPECT_EQ(QRect(form->list_window()->pos(), form->list_window()->size()),
                  QRect(expected, QSize(160, 300)));
        EXPECT_EQ(QSize(grid.columnWidth(0), grid.columnWidth(1)), QSize(40, 80));
        EXPECT_EQ(texts(*form), u"No.|種類 1|food"_s);
    }
}

} // namespace
} // namespace kozenica
