// The graph window: layout in both modes, and the paint box and legend on rendered pixels.
#include "ui/graph_window/graph_form.h"

#include <QApplication>
#include <QImage>
#include <QTableWidget>
#include <cmath>
#include <gtest/gtest.h>

namespace kozenica {
namespace {

struct probe {
    const char* what;
    QPoint at;
    QColor expected;
};

// Paints the paint box twice, as a repaint after the window was covered
// would: both pictures must be the same and show the probed colours.
void expect_painted(const graph_form& form, const std::vector<probe>& probes) {
    const QImage image = form.PaintBox()->grab().toImage();
    EXPECT_EQ(form.PaintBox()->grab().toImage(), image) << "the repaint differs";
    for (const probe& p : probes)
        EXPECT_EQ(image.pixelColor(p.at), p.expected) << p.what;
}

QColor color_of(const rgb& c) {
    return QColor(c.r, c.g, c.b);
}

// 60 and 36 percent get slices; the rows below one percent leave the last
// 4 percent before twelve o'clock in the window face colour.
TEST(graph_form, pie_and_legend_pixels) {
    graph_form form(1, nullptr);
    form.set_table_size(4, 5); // one (name, ratio) pair per row
    for (int r = 1; const char* row : {"食費|60.00", "外食|36.00", "日用品|0.90", "衣服|0.90"}) {
        form.set_table_text(1, r, QString::fromUtf8(row).section(u'|', 0, 0));
        form.set_table_text(3, r++, QString::fromUtf8(row).section(u'|', 1));
    }
    form.show(), form.resize(360, 410);
    QApplication::processEvents();
    EXPECT_EQ(form.PaintBox()->geometry(), QRect(0, 0, 240, 205));
    const pie_square sq = form.pie().square;
    const int d = sq.x1 - sq.x0, r = d / 3;
    const double at_98 = (90.0 + 360.0 * 0.02) * M_PI / 180.0;
    const QColor face = form.PaintBox()->palette().color(QPalette::Window);
    // clang-format off
    expect_painted(form, {
        {"first slice right", {sq.cx + d / 4, sq.cy}, color_of(pie_color_table[1])},
        {"second slice upper left", {sq.cx - d / 4, sq.cy - d / 8}, color_of(pie_color_table[2])},
        {"gap of the small rows", {sq.cx + int(r * std::cos(at_98)), sq.cy - int(r * std::sin(at_98))}, face},
        {"outside the circle", {sq.x0 + 2, sq.y0 + 2}, face}});
    // clang-format on
    QTableWidget* legend = form.taiou_list_box();
    ASSERT_EQ(legend->rowCount(), 2);
    EXPECT_EQ((form.legend_text(2, 0) + form.legend_text(2, 1)).toStdString(), "食費外食");
    const QImage swatches = legend->viewport()->grab().toImage();
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(swatches.pixelColor(legend->visualRect(legend->model()->index(row, 0)).center()),
                  color_of(legend_color(row)));
}

TEST(graph_form, period_graph_pixels_and_legend) {
    graph_form form(2, nullptr);
    form.set_table_size(3, 6); // one price per row, the highest and lowest in the legend
    form.set_table_text(2, 0, QStringLiteral("値段"));
    for (int r = 1; const int price : {100, 110, 110, 110, 110}) // flat at the top: the line at 100 shows
        form.set_table_text(2, r++, QString::number(price));
    form.taiou_list_box()->setColumnCount(2);
    form.set_legend_text(1, 0, QStringLiteral("110"));
    form.set_legend_text(1, 1, QStringLiteral("100"));
    form.show(), form.resize(401, 301);
    QApplication::processEvents();
    EXPECT_EQ(form.PaintBox()->geometry(), QRect(0, 0, 300, 150));
    const period_graph_picture pic = form.period();
    const graph_rect plot = pic.white[1];
    const int low = pic.level_lines.front().from.y, high = pic.price_line.back().y;
    // clang-format off
    expect_painted(form, {
        {"flat price line", {(pic.price_line[2].x + pic.price_line[3].x) / 2, high}, QColor(0, 0, 255)},
        {"scale line at the lowest", {plot.right - 3, low}, QColor(0, 255, 255)},
        {"y axis over a scale line", {plot.left, low}, Qt::black},
        {"end pixel of the x axis", {plot.right, plot.bottom}, Qt::white},
        {"end pixel of a scale line", {plot.right, low}, Qt::white},
        {"plot", {plot.left + 5, (low + high) / 2 + 1}, Qt::white}});
    // clang-format on
    EXPECT_EQ(form.taiou_list_box()->rowCount(), 4);
    EXPECT_EQ((form.legend_text(0, 3) + form.legend_text(1, 3)).toStdString(), "目盛り2");
    EXPECT_TRUE(form.draw_Shuukei()->isRowHidden(0));
    EXPECT_EQ(form.draw_Shuukei()->horizontalHeaderItem(2)->text().toStdString(), "値段");
}

} // namespace
} // namespace kozenica
