// The kind list window: its content, its place beside the main window, its sizes.
#include "ui/list_window/list_form.h"
#include "window_testing.h"

#include <QTableWidget>

namespace kozenica {
namespace {

using namespace testing;
using kind_list_window = program_window_test;

// Each show refills the list, in number order, at an eleventh of the main window, with the stored sizes.
TEST_F(kind_list_window, each_show_refills_it_beside_the_main_window_and_an_empty_list_shows_the_header) {
    for (const auto& [file, expected] : {std::pair{sjis("10\r\n雑費\r\n2\r\n日用品\r\n$1\r\n食費\r\n"),
                                                   u"No.|種類 1|食費 2|日用品 10|雑費"_s},
                                         std::pair{std::string(), u"No.|種類"_s}}) {
        dir.write("kindlist.dat", file);
        start();
        form->show_list_form();
        QTableWidget& grid = *form->list_window()->draw_klist();
        form->list_window()->setGeometry(300, 300, 400, 100);
        grid.setColumnWidth(1, 200);
        grid.setRowCount(0);
        set_outer_geometry(*form, {100, 50, 635, 450});
        form->show_list_form();
        EXPECT_TRUE(form->list_window()->isVisible());
        EXPECT_EQ(form->list_window()->frameGeometry(), QRect(157, 90, 160, 300)) << "outer size";
        EXPECT_EQ(QSize(grid.columnWidth(0), grid.columnWidth(1)), QSize(40, 80));
        QString shown = grid.horizontalHeaderItem(0)->text() + u'|' + grid.horizontalHeaderItem(1)->text();
        for (int r = 0; r < grid.rowCount(); ++r)
            shown += u' ' + grid.item(r, 0)->text() + u'|' + grid.item(r, 1)->text();
        EXPECT_EQ(shown, expected);
    }
}

} // namespace
} // namespace kozenica
