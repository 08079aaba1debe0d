// The kind list window "List": its content, its place beside the main window,
// its sizes, and how each cell's text is laid out and drawn.
#include "support/temp_program_dir.h"
#include "ui/list_window/list_form.h"
#include "ui/main/main_form.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"

#include <QHeaderView>
#include <QImage>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

static void PrintTo(const QString& text, std::ostream* os) {
    *os << text.toStdString();
}

namespace kozenica {
namespace {

using testing::sjis;
using testing::temp_program_dir;

void set_outer_geometry(QWidget& w, const QRect& outer) {
    w.setGeometry(outer);
    const QRect in = w.geometry(), frame = w.frameGeometry();
    w.setGeometry(outer.adjusted(in.left() - frame.left(), in.top() - frame.top(), in.right() - frame.right(),
                                 in.bottom() - frame.bottom()));
}

// Every row of the grid as "number|name", the header row first.
QStringList grid_texts(const QTableWidget& grid) {
    QStringList out{grid.model()->headerData(0, Qt::Horizontal).toString() + u'|' +
                    grid.model()->headerData(1, Qt::Horizontal).toString()};
    for (int r = 0; r < grid.rowCount(); ++r)
        out << grid.item(r, 0)->text() + u'|' + grid.item(r, 1)->text();
    return out;
}

TEST(draw_klistDrawCell, insets_by_two_and_aligns_by_column) {
    const std::tuple<int, QRect, QRect, Qt::Alignment> cases[] = {
        {0, {0, 0, 64, 20}, {2, 2, 60, 16}, Qt::AlignHCenter | Qt::AlignTop},
        {1, {64, 40, 80, 20}, {66, 42, 76, 16}, Qt::AlignLeft | Qt::AlignTop},
    };
    for (const auto& [column, cell, text, alignment] : cases) {
        EXPECT_EQ(draw_klistDrawCell(column, cell).text_rect, text) << column;
        EXPECT_EQ(draw_klistDrawCell(column, cell).alignment, alignment) << column;
    }
}

class kind_list_window : public ::testing::Test {
  protected:
    void start(std::string_view kindlist) {
        if (!kindlist.empty()) dir.write("kindlist.dat", kindlist);
        form = std::make_unique<main_form>(dir.path(), notify, runner);
    }
    QTableWidget& grid() { return *form->list_window()->draw_klist(); }

    temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
};

TEST_F(kind_list_window, shows_the_kinds_in_number_order_under_the_header) {
    const std::pair<std::string, QStringList> cases[] = {
        {sjis("10\r\n雑費\r\n2\r\n日用品\r\n$1\r\n食費\r\n"),
         {QStringLiteral("No.|種類"), QStringLiteral("1|食費"), QStringLiteral("2|日用品"),
          QStringLiteral("10|雑費")}},
        {"", {QStringLiteral("No.|種類")}}, // no kind list file: the header alone
    };
    for (const auto& [file, expected] : cases) {
        temp_program_dir own;
        if (!file.empty()) own.write("kindlist.dat", file);
        main_form f(own.path(), notify, runner);
        f.show_list_form();
        EXPECT_TRUE(f.list_window()->isVisible());
        EXPECT_EQ(grid_texts(*f.list_window()->draw_klist()), expected);
    }
}

TEST_F(kind_list_window, opens_at_an_eleventh_of_the_main_window_with_the_stored_sizes) {
    start("1\r\nfood\r\n");
    const std::pair<QRect, QPoint> cases[] = {{{100, 50, 635, 450}, {157, 90}}, {{0, 0, 635, 450}, {57, 40}}};
    for (const auto& [main, expected] : cases) {
        set_outer_geometry(*form, main);
        form->show_list_form();
        EXPECT_EQ(form->list_window()->pos(), expected);
        EXPECT_EQ(form->list_window()->size(), QSize(160, 300));
        EXPECT_EQ(grid().columnWidth(0), 40);
        EXPECT_EQ(grid().columnWidth(1), 80);
    }
}

TEST_F(kind_list_window, showing_again_refills_it_and_undoes_the_users_moves_and_resizes) {
    start("1\r\nfood\r\n");
    form->show_list_form();
    set_outer_geometry(*form, {0, 0, 635, 450});
    list_form* list = form->list_window();
    list->move(300, 300);
    list->resize(400, 100);
    grid().setColumnWidth(1, 200);
    grid().setRowCount(0);

    form->show_list_form();
    EXPECT_EQ(list->pos(), QPoint(57, 40));
    EXPECT_EQ(list->size(), QSize(160, 300));
    EXPECT_EQ(grid().columnWidth(1), 80);
    EXPECT_EQ(grid_texts(grid()), QStringList({QStringLiteral("No.|種類"), QStringLiteral("1|food")}));
}

TEST_F(kind_list_window, takes_the_main_windows_current_font_and_only_shows) {
    start("1\r\nfood\r\n");
    QFont chosen = form->font();
    chosen.setPixelSize(20);
    form->setFont(chosen);
    form->show_list_form();
    EXPECT_EQ(grid().font().pixelSize(), 20);
    EXPECT_EQ(grid().editTriggers(), QAbstractItemView::NoEditTriggers);
}

// The number is drawn centred and the name from the 2-pixel inset: the first
// dark pixel of each cell tells where its text starts.
TEST_F(kind_list_window, number_column_is_centred_and_name_column_left_aligned) {
    start("1\r\nWWWW\r\n");
    form->show_list_form();
    grid().setColumnWidth(0, 80);
    grid().setColumnWidth(1, 80);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->list_window()));
    const QImage shot = grid().viewport()->grab().toImage();
    auto first_dark_x = [&](int from, int to) {
        for (int x = from; x < to; ++x)
            for (int y = 2; y < 18; ++y)
                if (qGray(shot.pixel(x, y)) < 100) return x;
        return -1;
    };
    EXPECT_GT(first_dark_x(0, 79), 30);
    EXPECT_GE(first_dark_x(80, 159), 82);
    EXPECT_LE(first_dark_x(80, 159), 85);
}

} // namespace
} // namespace kozenica
