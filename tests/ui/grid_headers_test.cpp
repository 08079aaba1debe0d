// The header rows of every grid: 20 pixels high whatever the font, their text at the top edge
// and 2 pixels in; the kind list's row heights and the result table's column 0 dragged by the user.
#include "ui/graph_window/graph_form.h"
#include "ui/hyou_windows/hyou_form.h"
#include "ui/list_window/list_form.h"
#include "ui/platform/fonts.h"
#include "window_testing.h"

#include <QHeaderView>
#include <QTableWidget>

namespace kozenica::testing {
namespace {

// Where the text's ink starts in a header section: its top and left pixel, from the section's
// own top left corner; (-1, -1) when the section shows no ink.
QPoint ink_start(QHeaderView& header, int section) {
    const QImage image = header.grab().toImage();
    const int at = header.sectionViewportPosition(section), size = header.sectionSize(section);
    const QRect rect = header.orientation() == Qt::Horizontal ? QRect(at, 0, size, header.height())
                                                              : QRect(0, at, header.width(), size);
    QPoint first(-1, -1);
    for (int y = rect.top() + 1; y < rect.bottom(); ++y)
        for (int x = rect.left() + 1; x < rect.right(); ++x)
            if (image.pixelColor(x, y).lightness() < 100) {
                if (first.y() < 0) first.setY(y - rect.top());
                if (first.x() < 0 || x - rect.left() < first.x()) first.setX(x - rect.left());
            }
    return first;
}

QFont font_of(int pixels) {
    QFont f = window_font();
    f.setPixelSize(pixels);
    return f;
}

struct header_case {
    const char* grid;
    QWidget* window;
    QHeaderView* header;
    int section;
    bool left_aligned;
};

// A small font shows where the text sits: centred in 20 pixels its ink would start 6 or 7 pixels
// down; at the top it starts 2 to 4 pixels down (the inset, then the face's own leading).
TEST_F(main_form_test, every_header_row_is_20_pixels_high_with_its_text_at_the_top_2_pixels_in) {
    list_form kinds(nullptr);
    kind_list k;
    kinds.show_kinds(k, form->settings(), {0, 0});
    graph_form graph(1, nullptr);
    graph.set_table_size(4, 2);
    for (int c = 0; c < 4; ++c)
        graph.set_table_text(c, 0, u"比率"_s);
    graph.show();
    hyou_form table(nullptr);
    table.set_col_count(8), table.set_row_count(3);
    table.set_cell(2, 0, u"店名"_s), table.set_cell(0, 1, u"ab"_s);
    table.set_col_width(0, 40);
    table.show();
    const header_case cases[] = {
        {"ledger", form.get(), form->ledger_grid()->horizontalHeader(), 1, false},
        {"kind list, number", &kinds, kinds.draw_klist()->horizontalHeader(), 0, false},
        {"kind list, name", &kinds, kinds.draw_klist()->horizontalHeader(), 1, true},
        {"graph table", &graph, graph.draw_Shuukei()->horizontalHeader(), 1, false},
        {"result table, row 0", &table, table.hyou_disp()->horizontalHeader(), 1, false},
        {"result table, column 0", &table, table.hyou_disp()->verticalHeader(), 0, true},
    };
    for (const auto& [grid, window, header, section, left_aligned] : cases) {
        window->setFont(font_of(30));
        QApplication::processEvents();
        EXPECT_EQ(header->orientation() == Qt::Horizontal ? header->height() : header->sectionSize(section),
                  20)
            << grid << " with a 30-pixel font";
        window->setFont(font_of(8));
        QApplication::processEvents();
        const QPoint ink = ink_start(*header, section);
        EXPECT_TRUE(ink.y() >= 2 && ink.y() <= 4) << grid << ": text starts " << ink.y() << " pixels down";
        if (left_aligned) {
            EXPECT_TRUE(ink.x() >= 2 && ink.x() <= 4) << grid << ": text starts " << ink.x() << " pixels in";
        }
    }
}

void drag(QWidget& widget, QPoint from, QPoint to) {
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

TEST_F(main_form_test, kind_list_rows_are_dragged_at_their_borders_in_the_number_column) {
    form->show_list_form();
    QTableWidget& grid = *form->list_window()->draw_klist();
    ASSERT_GE(grid.rowCount(), 2);
    drag(*grid.viewport(), {5, 19}, {5, 35});          // the border under row 1 (the first kind)
    drag(*grid.viewport(), {5, 36 + 19}, {5, 36 + 9}); // just above the border under row 2
    drag(*grid.viewport(), {5, 10}, {5, 30});          // inside a row: no border taken
    EXPECT_EQ(std::pair(grid.rowHeight(0), grid.rowHeight(1)), std::pair(36, 10));
}

TEST(hyou_form, column_0_is_dragged_wider_and_narrower_at_its_right_border) {
    hyou_form table(nullptr);
    table.set_col_count(8), table.set_row_count(3), table.set_col_width(0, 10);
    table.show();
    QHeaderView& side = *table.hyou_disp()->verticalHeader();
    drag(*side.viewport(), {9, 5}, {39, 5});
    EXPECT_EQ(table.col_width(0), 40);
    QWidget* corner = table.hyou_disp()->findChild<QAbstractButton*>();
    ASSERT_NE(corner, nullptr);
    drag(*corner, {corner->width() - 1, 5}, {corner->width() - 26, 5});
    EXPECT_EQ(table.col_width(0), 15);
    drag(*side.viewport(), {5, 5}, {60, 5}); // away from the border: a row is taken, not the border
    EXPECT_EQ(table.col_width(0), 15);
}

} // namespace
} // namespace kozenica::testing
