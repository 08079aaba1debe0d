// The graph window: layout in both modes, cell drawing, legend, and what the
// paint box shows, checked on rendered pixels.
#include "core/period_graph_geometry.h"
#include "core/pie_geometry.h"
#include "ui/graph_window/graph_form.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QTableWidget>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <ostream>

static void PrintTo(const QString& text, std::ostream* os) {
    *os << text.toStdString();
}

namespace kozenica {
namespace {

struct summary_row {
    QString name;
    QString ratio;
};

void fill_summary(graph_form& form, const std::vector<summary_row>& rows) {
    form.set_table_size(4, static_cast<int>(rows.size()) + 1);
    const QStringList header = {QStringLiteral("No."), QStringLiteral("種類"), QStringLiteral("合計"),
                                QStringLiteral("比率")};
    for (int c = 0; c < 4; ++c)
        form.set_table_text(c, 0, header[c]);
    for (int r = 1; r <= static_cast<int>(rows.size()); ++r) {
        form.set_table_text(0, r, QString::number(r));
        form.set_table_text(1, r, rows[static_cast<std::size_t>(r - 1)].name);
        form.set_table_text(2, r, QStringLiteral("100"));
        form.set_table_text(3, r, rows[static_cast<std::size_t>(r - 1)].ratio);
    }
}

void fill_period(graph_form& form, const std::vector<int>& prices) {
    form.set_table_size(3, static_cast<int>(prices.size()) + 1);
    form.set_table_text(0, 0, QStringLiteral("日付"));
    form.set_table_text(1, 0, QStringLiteral("店名"));
    form.set_table_text(2, 0, QStringLiteral("値段"));
    for (int k = 1; k <= static_cast<int>(prices.size()); ++k) {
        form.set_table_text(0, k, QStringLiteral("2024/%1/1").arg(k));
        form.set_table_text(1, k, QStringLiteral("スーパー"));
        form.set_table_text(2, k, QString::number(prices[static_cast<std::size_t>(k - 1)]));
    }
    const auto [low, high] = std::minmax_element(prices.begin(), prices.end());
    form.taiou_list_box()->setColumnCount(2);
    form.set_legend_text(0, 0, QStringLiteral("最高値"));
    form.set_legend_text(1, 0, QString::number(*high));
    form.set_legend_text(0, 1, QStringLiteral("最安値"));
    form.set_legend_text(1, 1, QString::number(*low));
}

// Shows the window at the given size and lets it lay itself out.
void show_at(graph_form& form, int width, int height) {
    form.show();
    form.resize(width, height);
    QApplication::processEvents();
    ASSERT_EQ(form.size(), QSize(width, height));
}

QColor pixel(const QImage& image, QPoint p) {
    return image.pixelColor(p);
}

QColor color_of(const rgb& c) {
    return QColor(c.r, c.g, c.b);
}

struct layout_case {
    const char* title;
    int mode;
    int width, height;
    QRect paint_box, legend, table;
    std::vector<int> legend_widths;
    std::vector<int> table_widths; // mode 2 only
};

class layout_table : public ::testing::TestWithParam<layout_case> {};

TEST_P(layout_table, places_the_three_areas) {
    const layout_case& c = GetParam();
    graph_form form(c.mode, nullptr);
    if (c.mode == 2) {
        fill_period(form, {100, 120});
    } else {
        fill_summary(form, {{QStringLiteral("食費"), QStringLiteral("100.00")}});
    }
    form.draw_Shuukei()->setColumnWidth(0, 77); // mode 2 sets it again, mode 1 keeps it
    show_at(form, c.width, c.height);
    EXPECT_EQ(form.PaintBox()->geometry(), c.paint_box);
    EXPECT_EQ(form.taiou_list_box()->geometry(), c.legend);
    EXPECT_EQ(form.draw_Shuukei()->geometry(), c.table);
    for (std::size_t i = 0; i < c.legend_widths.size(); ++i)
        EXPECT_EQ(form.taiou_list_box()->columnWidth(static_cast<int>(i)), c.legend_widths[i])
            << "legend " << i;
    if (c.mode == 2) {
        for (std::size_t i = 0; i < c.table_widths.size(); ++i)
            EXPECT_EQ(form.draw_Shuukei()->columnWidth(static_cast<int>(i)), c.table_widths[i])
                << "table " << i;
    } else {
        EXPECT_EQ(form.draw_Shuukei()->columnWidth(0), 77);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(sizes, layout_table, ::testing::Values(
    layout_case{"initial_size", 1, 360, 410, {0, 0, 240, 205}, {241, 0, 119, 205}, {0, 206, 360, 204}, {15, 5, 96}, {}},
    layout_case{"odd_size", 1, 401, 301, {0, 0, 266, 150}, {267, 0, 134, 150}, {0, 151, 401, 150}, {15, 5, 111}, {}},
    layout_case{"legend_of_20_pixels", 1, 63, 100, {0, 0, 42, 50}, {43, 0, 20, 50}, {0, 51, 63, 49}, {15, 5, 10}, {}},
    // CW - w - 24 would be -2 here; the name column gets no negative width.
    layout_case{"legend_of_21_pixels", 1, 66, 100, {0, 0, 44, 50}, {45, 0, 21, 50}, {0, 51, 66, 49}, {15, 5, 0}, {}},
    layout_case{"period_default", 2, 400, 400, {0, 0, 300, 200}, {301, 0, 99, 200}, {0, 201, 400, 199}, {48, 48},
                {123, 123, 123}},
    layout_case{"period_odd", 2, 401, 301, {0, 0, 300, 150}, {301, 0, 100, 150}, {0, 151, 401, 150}, {49, 49},
                {123, 123, 123}}),
    [](const auto& info) { return std::string(info.param.title); });
// clang-format on

// A caller may write the grid's cells itself, header row first, and size it
// afterwards or before: the header still moves to the column header and the
// graph reads rows 1 to n.
TEST(graph_form, grid_written_directly_draws_the_same_graph) {
    graph_form direct(2, nullptr);
    QTableWidget* table = direct.draw_Shuukei();
    table->setColumnCount(3);
    table->setRowCount(4);
    const QStringList header = {QStringLiteral("日付"), QStringLiteral("店名"), QStringLiteral("値段")};
    for (int c = 0; c < 3; ++c)
        table->setItem(0, c, new QTableWidgetItem(header[c]));
    const int prices[] = {300, 250, 300};
    for (int r = 1; r <= 3; ++r)
        table->setItem(r, 2, new QTableWidgetItem(QString::number(prices[r - 1])));
    QTableWidget* legend = direct.taiou_list_box();
    legend->setColumnCount(2);
    legend->setItem(0, 1, new QTableWidgetItem(QStringLiteral("300")));
    legend->setItem(1, 1, new QTableWidgetItem(QStringLiteral("250")));
    show_at(direct, 400, 400);

    EXPECT_TRUE(table->isRowHidden(0));
    EXPECT_FALSE(table->isRowHidden(1));
    EXPECT_EQ(table->horizontalHeaderItem(2)->text(), QStringLiteral("値段"));
    table->item(0, 2)->setText(QStringLiteral("単価"));
    EXPECT_EQ(table->horizontalHeaderItem(2)->text(), QStringLiteral("単価"));
    graph_form helped(2, nullptr);
    fill_period(helped, {300, 250, 300});
    show_at(helped, 400, 400);
    const period_graph_picture a = direct.period(), b = helped.period();
    EXPECT_EQ(a.price_line, b.price_line);
    EXPECT_EQ(a.price_line.size(), 3u);
    EXPECT_EQ(a.step, 10);
    EXPECT_EQ(direct.legend_text(1, 3), QStringLiteral("10"));
}

// A picture of 60 percent, 36 percent and rows below one percent: the last
// 4 percent before twelve o'clock stay in the window face colour.
TEST(graph_form, pie_is_painted_from_the_table_on_every_repaint) {
    graph_form form(1, nullptr);
    fill_summary(form, {{QStringLiteral("食費"), QStringLiteral("60.00")},
                        {QStringLiteral("外食"), QStringLiteral("36.00")},
                        {QStringLiteral("日用品"), QStringLiteral("0.90")},
                        {QStringLiteral("衣服"), QStringLiteral("0.90")}});
    show_at(form, 360, 410);
    const pie_picture pic = form.pie();
    ASSERT_EQ(pic.wedges.size(), 2u);
    const pie_square& sq = pic.square;
    const int d = sq.x1 - sq.x0;
    const QColor face = form.PaintBox()->palette().color(QPalette::Window);

    // Grab the paint box alone, with no resize in between: the picture must
    // come from painting, not from the last layout.
    const QImage image = form.PaintBox()->grab().toImage();
    struct probe {
        const char* what;
        QPoint at;
        QColor expected;
    };
    // The gap runs from 96 percent to 100: probe its middle, 98 percent, a
    // third of the diameter out from the centre.
    const double gap_angle = (90.0 + 360.0 * 0.02) * 3.14159265358979 / 180.0;
    const QPoint in_gap(sq.cx + static_cast<int>(d / 3.0 * std::cos(gap_angle)),
                        sq.cy - static_cast<int>(d / 3.0 * std::sin(gap_angle)));
    const std::vector<probe> probes = {
        {"first slice right of the centre", {sq.cx + d / 4, sq.cy}, color_of(pie_color_table[1])},
        {"first slice below the centre", {sq.cx, sq.cy + d / 4}, color_of(pie_color_table[1])},
        {"second slice upper left", {sq.cx - d / 4, sq.cy - d / 8}, color_of(pie_color_table[2])},
        {"gap of the small rows", in_gap, face},
        {"outside the circle", {sq.x0 + 2, sq.y0 + 2}, face},
    };
    for (const probe& p : probes)
        EXPECT_EQ(pixel(image, p.at), p.expected) << p.what;

    // The legend lists the rows with slices; column 0 shows their colours.
    QTableWidget* legend = form.taiou_list_box();
    EXPECT_EQ(legend->rowCount(), 2);
    EXPECT_EQ(form.legend_text(2, 0), QStringLiteral("食費"));
    EXPECT_EQ(form.legend_text(2, 1), QStringLiteral("外食"));
    EXPECT_TRUE(legend->selectedItems().isEmpty());
    const QImage shot = form.grab().toImage();
    for (int row = 0; row < 2; ++row) {
        const QRect cell = legend->visualRect(legend->model()->index(row, 0));
        const QPoint centre = legend->viewport()->mapTo(&form, cell.center());
        EXPECT_EQ(pixel(shot, centre), color_of(legend_color(row))) << "legend row " << row;
    }
}

TEST(graph_form, single_row_is_a_full_disc) {
    graph_form form(1, nullptr);
    fill_summary(form, {{QStringLiteral("食費"), QStringLiteral("100.00")}});
    show_at(form, 360, 410);
    const pie_square sq = form.pie().square;
    const QImage image = form.PaintBox()->grab().toImage();
    const int r = (sq.x1 - sq.x0) / 3;
    for (const QPoint p : {QPoint(sq.cx + r, sq.cy), QPoint(sq.cx - r, sq.cy), QPoint(sq.cx, sq.cy - r),
                           QPoint(sq.cx - 2, sq.cy - r)})
        EXPECT_EQ(pixel(image, p), color_of(pie_color_table[1])) << p.x() << "," << p.y();
}

TEST(graph_form, period_graph_pixels_and_legend) {
    graph_form form(2, nullptr);
    // Flat at 110 from point 2 on, so the line at 100 shows aqua at the right.
    fill_period(form, {100, 110, 110, 110, 110});
    show_at(form, 400, 400);
    const period_graph_picture pic = form.period();
    const QImage image = form.PaintBox()->grab().toImage();
    const graph_rect plot = pic.white[1];
    const int y_low = pic.level_lines.front().from.y;
    const int y_high = pic.price_line.back().y;
    ASSERT_EQ(pic.price_line[1].y, y_high);

    const QColor aqua(0, 255, 255), blue(0, 0, 255);
    struct probe {
        const char* what;
        QPoint at;
        QColor expected;
    };
    const std::vector<probe> probes = {
        {"blue price line, flat part", {(pic.price_line[2].x + pic.price_line[3].x) / 2, y_high}, blue},
        {"aqua line at the lowest price", {plot.right - 3, y_low}, aqua},
        {"y axis stays black at a scale line", {plot.left, y_low}, Qt::black},
        {"x axis", {plot.left + 20, plot.bottom}, Qt::black},
        {"x axis leaves out its end pixel", {plot.right, plot.bottom}, Qt::white},
        {"scale line leaves out its end pixel", {plot.right, y_low}, Qt::white},
        {"white margin", {1, 1}, Qt::white},
        {"white plot", {plot.left + 5, (y_low + y_high) / 2 + 1}, Qt::white},
    };
    for (const probe& p : probes)
        EXPECT_EQ(pixel(image, p.at), p.expected) << p.what;

    QTableWidget* legend = form.taiou_list_box();
    EXPECT_EQ(legend->rowCount(), 4);
    EXPECT_EQ(form.legend_text(0, 3), QStringLiteral("目盛り"));
    EXPECT_EQ(form.legend_text(1, 3), QStringLiteral("2"));
    EXPECT_EQ(form.legend_text(0, 2), QString());
    EXPECT_EQ(form.legend_text(1, 0), QStringLiteral("110"));
}

TEST(graph_form, legend_highlight_goes_when_the_focus_leaves) {
    graph_form form(1, nullptr);
    fill_summary(form, {{QStringLiteral("食費"), QStringLiteral("100.00")}});
    show_at(form, 360, 410);
    QApplication::setActiveWindow(&form);
    QTableWidget* legend = form.taiou_list_box();
    const QRect cell = legend->visualRect(legend->model()->index(0, 2));
    QTest::mouseClick(legend->viewport(), Qt::LeftButton, {}, cell.center());
    QApplication::processEvents();
    ASSERT_FALSE(legend->selectedItems().isEmpty());
    ASSERT_TRUE(legend->hasFocus());

    form.draw_Shuukei()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(legend->selectedItems().isEmpty());
    EXPECT_FALSE(legend->currentIndex().isValid());
}

// Where the dark pixels of a cell's text fall: the kind name of mode 1 on the
// left of its cell, the same text in mode 2 on the right.
struct text_side_case {
    int mode;
    int column;
    bool on_left;
};

class text_side_table : public ::testing::TestWithParam<text_side_case> {};

TEST_P(text_side_table, draws_the_text_on_its_side) {
    const text_side_case& c = GetParam();
    graph_form form(c.mode, nullptr);
    form.set_table_size(4, 2);
    form.set_table_text(c.column, 1, QStringLiteral("食費"));
    show_at(form, 600, 300);
    QTableWidget* table = form.draw_Shuukei();
    table->setColumnWidth(c.column, 200);
    QApplication::processEvents();
    const QRect cell = table->visualRect(table->model()->index(1, c.column));
    const QImage image = table->viewport()->grab(cell).toImage();
    int leftmost = image.width(), rightmost = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).lightness() < 100) {
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
            }
    ASSERT_GE(rightmost, 0) << "no text drawn";
    if (c.on_left) {
        EXPECT_LT(leftmost, 10);
        EXPECT_LT(rightmost, 100);
    } else {
        EXPECT_GT(leftmost, 100);
        EXPECT_GT(rightmost, image.width() - 10);
    }
}

INSTANTIATE_TEST_SUITE_P(cells, text_side_table,
                         ::testing::Values(text_side_case{1, 1, true}, text_side_case{1, 2, false},
                                           text_side_case{2, 1, false}, text_side_case{2, 0, false}));

} // namespace
} // namespace kozenica
