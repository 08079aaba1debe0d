// The kind list window "List": its content, its place beside the main window,
// its sizes, and how each cell's text is laid out.
#include "support/temp_program_dir.h"
#include "ui/list_window/list_form.h"
#include "ui/main/main_form.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
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

kind_list kinds_of(std::initializer_list<std::pair<int, const char*>> entries) {
    kind_list out;
    for (const auto& [number, name] : entries)
        out.push_back({number, line_text(sjis(name))});
    return out;
}

// Puts a window's outer frame exactly at the given rectangle, whatever frame
// the platform draws around it.
void set_outer_geometry(QWidget& w, const QRect& outer) {
    w.setGeometry(outer);
    const QRect inner = w.geometry();
    const QRect frame = w.frameGeometry();
    w.setGeometry(outer.adjusted(inner.left() - frame.left(), inner.top() - frame.top(),
                                 inner.right() - frame.right(), inner.bottom() - frame.bottom()));
}

QStringList row_texts(const QTableWidget& grid, int row) {
    QStringList out;
    for (int c = 0; c < grid.columnCount(); ++c)
        out << (grid.item(row, c) ? grid.item(row, c)->text() : QString());
    return out;
}

TEST(draw_klistDrawCell, insets_by_two_and_aligns_by_column) {
    struct {
        int column;
        QRect cell;
        QRect text;
        Qt::Alignment alignment;
    } cases[] = {
        {0, {0, 0, 64, 20}, {2, 2, 60, 16}, Qt::AlignHCenter | Qt::AlignTop},
        {1, {64, 0, 80, 20}, {66, 2, 76, 16}, Qt::AlignLeft | Qt::AlignTop},
        {1, {64, 40, 80, 20}, {66, 42, 76, 16}, Qt::AlignLeft | Qt::AlignTop},
        {0, {0, 20, 4, 4}, {2, 22, 0, 0}, Qt::AlignHCenter | Qt::AlignTop},
    };
    for (const auto& c : cases) {
        const klist_cell_layout layout = draw_klistDrawCell(c.column, c.cell);
        EXPECT_EQ(layout.text_rect, c.text) << "column " << c.column;
        EXPECT_EQ(layout.alignment, c.alignment) << "column " << c.column;
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

TEST_F(kind_list_window, is_hidden_at_start_with_its_initial_size) {
    start("1\r\nfood\r\n");
    list_form* list = form->list_window();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->windowTitle(), QStringLiteral("List"));
    EXPECT_EQ(list->size(), QSize(208, 185));
    EXPECT_EQ(grid().columnWidth(0), 64);
    EXPECT_EQ(grid().columnWidth(1), 64);
}

TEST_F(kind_list_window, shows_the_header_and_the_kinds_in_number_order) {
    start(sjis("10\r\n雑費\r\n2\r\n日用品\r\n1\r\n食費\r\n"));
    form->show_list_form();
    ASSERT_EQ(grid().rowCount(), 3);
    EXPECT_EQ(grid().model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("No."));
    EXPECT_EQ(grid().model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("種類"));
    const QStringList expected[] = {
        {QStringLiteral("1"), QStringLiteral("食費")},
        {QStringLiteral("2"), QStringLiteral("日用品")},
        {QStringLiteral("10"), QStringLiteral("雑費")},
    };
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(row_texts(grid(), r), expected[r]) << "row " << r + 1;
    EXPECT_TRUE(form->list_window()->isVisible());
}

TEST_F(kind_list_window, negative_and_hex_numbers_show_in_decimal) {
    start("-3\r\nminus\r\n$10\r\nsixteen\r\n");
    form->show_list_form();
    ASSERT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(row_texts(grid(), 0), QStringList({QStringLiteral("-3"), QStringLiteral("minus")}));
    EXPECT_EQ(row_texts(grid(), 1), QStringList({QStringLiteral("16"), QStringLiteral("sixteen")}));
}

TEST_F(kind_list_window, empty_kind_list_gives_the_header_alone) {
    start("");
    form->show_list_form();
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_EQ(grid().columnCount(), 2);
    EXPECT_FALSE(grid().horizontalHeader()->isHidden());
}

TEST_F(kind_list_window, opens_at_an_eleventh_of_the_main_window_with_the_stored_sizes) {
    start("1\r\nfood\r\n");
    struct {
        QRect main;
        QPoint expected;
    } cases[] = {
        {{100, 50, 635, 450}, {157, 90}},
        {{0, 0, 635, 450}, {57, 40}},
        {{10, 20, 21, 32}, {11, 22}},
    };
    for (const auto& c : cases) {
        set_outer_geometry(*form, c.main);
        form->show_list_form();
        EXPECT_EQ(form->list_window()->pos(), c.expected);
        EXPECT_EQ(form->list_window()->size(), QSize(160, 300));
        EXPECT_EQ(grid().columnWidth(0), 40);
        EXPECT_EQ(grid().columnWidth(1), 80);
    }
}

TEST_F(kind_list_window, showing_again_puts_back_place_size_and_widths_the_user_changed) {
    start("1\r\nfood\r\n");
    form->settings()[setting::list_column0] = 30;
    form->settings()[setting::list_column1] = 90;
    form->settings()[setting::list_width] = 170;
    form->settings()[setting::list_height] = 210;
    form->show_list_form();
    set_outer_geometry(*form, {0, 0, 635, 450});
    list_form* list = form->list_window();
    list->move(300, 300);
    list->resize(400, 100);
    grid().setColumnWidth(1, 200);
    grid().clearContents();
    grid().setRowCount(0);

    form->show_list_form();
    EXPECT_EQ(list->pos(), QPoint(57, 40));
    EXPECT_EQ(list->size(), QSize(170, 210));
    EXPECT_EQ(grid().columnWidth(0), 30);
    EXPECT_EQ(grid().columnWidth(1), 90);
    ASSERT_EQ(grid().rowCount(), 1);
    EXPECT_EQ(row_texts(grid(), 0), QStringList({QStringLiteral("1"), QStringLiteral("food")}));
}

TEST(list_form_refill, a_second_showing_replaces_every_row) {
    list_form list(nullptr);
    window_settings settings;
    set_initial_data(settings);
    list.show_kinds(kinds_of({{1, "a"}, {2, "b"}, {3, "c"}}), settings, {0, 0});
    list.show_kinds(kinds_of({{7, "z"}}), settings, {0, 0});
    QTableWidget& grid = *list.draw_klist();
    ASSERT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(row_texts(grid, 0), QStringList({QStringLiteral("7"), QStringLiteral("z")}));
}

TEST_F(kind_list_window, takes_the_main_windows_current_font) {
    start("1\r\nfood\r\n");
    QFont chosen = form->font();
    chosen.setPixelSize(20);
    form->setFont(chosen);
    form->show_list_form();
    EXPECT_EQ(form->list_window()->font().pixelSize(), 20);
    EXPECT_EQ(grid().font().pixelSize(), 20);
}

TEST_F(kind_list_window, shows_only_and_lets_blocks_be_selected) {
    start("1\r\nfood\r\n2\r\nrent\r\n");
    form->show_list_form();
    EXPECT_EQ(grid().editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid().selectionMode(), QAbstractItemView::ContiguousSelection);
    EXPECT_EQ(grid().selectionBehavior(), QAbstractItemView::SelectItems);
    EXPECT_EQ(grid().horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_EQ(grid().verticalHeader()->defaultSectionSize(), 20);
}

TEST_F(kind_list_window, closing_only_hides_it_and_its_sizes_are_taken_back) {
    start("1\r\nfood\r\n");
    form->show_list_form();
    list_form* list = form->list_window();
    list->resize(222, 333);
    grid().setColumnWidth(0, 44);
    list->close();
    QApplication::processEvents();
    ASSERT_EQ(form->list_window(), list);
    EXPECT_FALSE(list->isVisible());
    window_settings taken;
    list->take_back(taken);
    EXPECT_EQ(taken[setting::list_column0], 44);
    EXPECT_EQ(taken[setting::list_column1], 80);
    EXPECT_EQ(taken[setting::list_width], 222);
    EXPECT_EQ(taken[setting::list_height], 333);
}

// The number is drawn centred and the name from the left edge: the first
// dark pixel of each cell tells where its text starts.
TEST_F(kind_list_window, number_column_is_centred_and_name_column_left_aligned) {
    start("1\r\nWWWW\r\n");
    form->show_list_form();
    QTableWidget& g = grid();
    g.setColumnWidth(0, 80);
    g.setColumnWidth(1, 80);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->list_window()));
    const QImage shot = g.viewport()->grab().toImage();
    auto first_dark_x = [&](int from, int to) {
        for (int x = from; x < to; ++x)
            for (int y = 2; y < 18; ++y)
                if (qGray(shot.pixel(x, y)) < 100) return x;
        return -1;
    };
    const int number_x = first_dark_x(0, 79);
    const int name_x = first_dark_x(80, 159);
    EXPECT_GT(number_x, 30) << "a centred 1 starts near the middle";
    EXPECT_GE(name_x, 80 + 2);
    EXPECT_LE(name_x, 80 + 5) << "the name starts at the 2-pixel inset";
}

} // namespace
} // namespace kozenica
