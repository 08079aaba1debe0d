// The kind list window: its content, its place beside the main window, its sizes.
#include "file_window_testing.h"
#include "ui/list_window/list_form.h"

#include <QTableWidget>

namespace kozenica {
namespace {

using namespace testing;

class kind_list_window : public program_window_test {
  protected:
    void show(std::string_view kindlist) {
        dir.write("kindlist.dat", kindlist);
        start();
        form->show_list_form();
    }
    // Every row as "number|name", the header first.
    QString texts() const {
        const QTableWidget& grid = *form->list_window()->draw_klist();
        QString out = grid.horizontalHeaderItem(0)->text() + u'|' + grid.horizontalHeaderItem(1)->text();
        for (int r = 0; r < grid.rowCount(); ++r)
            out += u' ' + grid.item(r, 0)->text() + u'|' + grid.item(r, 1)->text();
        return out;
    }
};

TEST_F(kind_list_window, shows_the_kinds_in_number_order_under_the_header) {
    const std::pair<std::string, QString> cases[] = {
        {sjis("10\r\n雑費\r\n2\r\n日用品\r\n$1\r\n食費\r\n"), u"No.|種類 1|食費 2|日用品 10|雑費"_s},
        {"", u"No.|種類"_s}};
    for (const auto& [file, expected] : cases) {
        show(file);
        EXPECT_TRUE(form->list_window()->isVisible());
        EXPECT_EQ(texts(), expected);
    }
}

TEST_F(kind_list_window, each_show_refills_it_at_an_eleventh_of_the_main_window_with_the_stored_sizes) {
    show("1\r\nfood\r\n");
    QTableWidget& grid = *form->list_window()->draw_klist();
    const std::pair<QRect, QPoint> cases[] = {{{100, 50, 635, 450}, {157, 90}}, {{0, 0, 635, 450}, {57, 40}}};
    for (const auto& [main, expected] : cases) {
        form->list_window()->setGeometry(300, 300, 400, 100);
        grid.setColumnWidth(1, 200);
        grid.setRowCount(0);
        set_outer_geometry(*form, main);
        form->show_list_form();
        EXPECT_EQ(QRect(form->list_window()->pos(), form->list_window()->size()),
                  QRect(expected, QSize(160, 300)));
        EXPECT_EQ(QSize(grid.columnWidth(0), grid.columnWidth(1)), QSize(40, 80));
        EXPECT_EQ(texts(), u"No.|種類 1|food"_s);
    }
}

} // namespace
} // namespace kozenica
