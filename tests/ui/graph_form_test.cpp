// The graph window on rendered pixels in both modes (every point of the price line but the last on
// a blue pixel, wherever the line turns), and the monthly summary command: the warning, the table
// handed over, its placing, the sizes kept.
#include "core/period_graph_geometry.h"
#include "core/settings.h"
#include "tests/core/summary_testing.h"
#include "ui/graph_window/graph_form.h"
#include "ui/graph_window/graph_painting.h"
#include "window_testing.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <functional>

namespace kozenica {
namespace {

using namespace Qt::StringLiterals;

// Paints the paint box twice, as a repaint after the window was covered would:
// both pictures must be the same and show the probed colours.
void expect_painted(const graph_form& form,
                    const std::vector<std::tuple<const char*, QPoint, QColor>>& probes) {
    const QImage image = form.PaintBox()->grab().toImage();
    EXPECT_EQ(form.PaintBox()->grab().toImage(), image) << "the repaint differs";
    for (const auto& [what, at, expected] : probes)
        EXPECT_EQ(image.pixelColor(at), expected) << what;
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
    expect_painted(form,
                   {{"first slice right", {sq.cx + d / 4, sq.cy}, color_of(pie_color_table[1])},
                    {"second slice upper left", {sq.cx - d / 4, sq.cy - d / 8}, color_of(pie_color_table[2])},
                    {"gap", {sq.cx + int(r * std::cos(at_98)), sq.cy - int(r * std::sin(at_98))}, face},
                    {"outside the circle", {sq.x0 + 2, sq.y0 + 2}, face}});
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
    form.set_table_text(2, 0, u"値段"_s);
    for (int r = 1; const int price : {100, 110, 110, 110, 110}) // flat at the top: the line at 100 shows
        form.set_table_text(2, r++, QString::number(price));
    form.taiou_list_box()->setColumnCount(2);
    form.set_legend_text(1, 0, u"110"_s), form.set_legend_text(1, 1, u"100"_s);
    form.show(), form.resize(401, 301);
    QApplication::processEvents();
    EXPECT_EQ(form.PaintBox()->geometry(), QRect(0, 0, 300, 150));
    const period_graph_picture pic = form.period();
    const graph_rect plot = pic.white[1];
    const int low = pic.level_lines.front().from.y, high = pic.price_line.back().y;
    expect_painted(form,
                   {{"flat price line", {(pic.price_line[2].x + pic.price_line[3].x) / 2, high}, Qt::blue},
                    {"scale line at the lowest", {plot.right - 3, low}, Qt::cyan},
                    {"y axis over a scale line", {plot.left, high}, Qt::black},
                    {"first point over the y axis", {plot.left, low}, Qt::blue},
                    {"end pixel of the x axis", {plot.right, plot.bottom}, Qt::white},
                    {"end pixel of a scale line", {plot.right, low}, Qt::white},
                    {"plot", {plot.left + 5, (low + high) / 2 + 1}, Qt::white}});
    EXPECT_EQ(std::tuple(form.taiou_list_box()->rowCount(), form.legend_text(0, 3) + form.legend_text(1, 3),
                         form.draw_Shuukei()->isRowHidden(0),
                         form.draw_Shuukei()->horizontalHeaderItem(2)->text()),
              std::tuple(4, u"目盛り2"_s, true, u"値段"_s));
}

QImage painted(const period_graph_picture& pic, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    paint_period_graph(painter, pic);
    return image;
}

TEST(period_graph_painting, every_point_but_the_last_is_a_blue_pixel) {
    std::vector<std::int64_t> many(150);
    for (std::size_t i = 0; i < many.size(); ++i)
        many[i] = std::int64_t((i * 37) % 23);
    // clang-format off
    const struct { const char* what; int width, height; std::vector<std::int64_t> prices; } cases[] = {
        {"a year of prices", 297, 187, {198, 178, 188, 158, 238, 218, 148, 168, 198, 178, 158, 208}},
        {"zigzag", 297, 187, {100, 300, 120, 280, 140, 260, 160, 240, 180, 220, 200, 210}},
        {"steep up, then flat", 300, 150, {100, 1000, 1000, 1000, 100, 100, 1000, 120}}, {"two points", 200, 100, {300, 100}},
        {"small turns", 401, 301, {500, 501, 500, 502, 499, 503, 498, 504, 497, 505, 496, 506}},
        {"many points, more than the plot is wide", 120, 90, many},
        {"a wide window", 997, 420, {150, 138, 160, 122, 180, 99, 240, 75, 260, 50, 330, 30}}};
    // clang-format on
    for (const auto& [what, width, height, prices] : cases) {
        const auto [low, high] = std::minmax_element(prices.begin(), prices.end());
        const period_graph_picture pic = period_graph(width, height, prices, *high, *low);
        const QImage image = painted(pic, width, height);
        for (std::size_t k = 0; k + 1 < pic.price_line.size(); ++k)
            EXPECT_EQ(image.pixelColor(pic.price_line[k].x, pic.price_line[k].y), QColor(Qt::blue))
                << what << k;
    }
}

// The legend's columns at every size: swatch 15, gap 5, the name the rest less 24 of the client
// width, or 10 where the legend is 20 pixels or narrower.
TEST(graph_form, pie_legend_columns_and_the_narrow_legend) {
    for (const auto& [legend, name] : {std::pair(100, 77), {24, 1}, {21, 0}, {20, 10}, {5, 10}}) {
        const pie_legend_widths w = pie_legend_column_widths(legend);
        EXPECT_EQ(std::tuple(w.swatch, w.gap, w.name), std::tuple(15, 5, name)) << legend;
    }
    graph_form form(1, nullptr);
    form.set_table_size(4, 2);
    form.set_table_text(3, 1, u"100.00"_s);
    form.show();
    for (const QSize size : {QSize(360, 410), QSize(500, 300)}) {
        form.resize(size);
        QApplication::processEvents();
        const QTableWidget& legend = *form.taiou_list_box();
        const int cw = form.width(), w = cw / 3 * 2;
        EXPECT_EQ(legend.geometry(), QRect(w + 1, 0, cw - w - 1, form.height() / 2)) << cw;
        EXPECT_EQ(QList({legend.columnWidth(0), legend.columnWidth(1), legend.columnWidth(2)}),
                  QList({15, 5, cw - w - 24}))
            << cw;
    }
}

// In mode 2 every resize sets the table's columns back to a third of its width less 10, and the
// legend's two columns to half of the legend less 1, whatever the user dragged them to.
TEST(graph_form, period_table_and_legend_widths_are_set_again_at_every_resize) {
    graph_form form(2, nullptr);
    form.set_table_size(3, 3);
    form.taiou_list_box()->setColumnCount(2);
    form.show();
    for (const QSize size : {QSize(401, 301), QSize(620, 420)}) {
        form.draw_Shuukei()->setColumnWidth(0, 250), form.taiou_list_box()->setColumnWidth(1, 3);
        form.resize(size);
        QApplication::processEvents();
        const int table = form.draw_Shuukei()->width(), legend = form.taiou_list_box()->width();
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(form.draw_Shuukei()->columnWidth(c), table / 3 - 10) << size.width() << " column " << c;
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(form.taiou_list_box()->columnWidth(c), legend / 2 - 1)
                << size.width() << " legend " << c;
    }
}

// A clicked legend cell is highlighted until the focus moves on.
TEST(graph_form, legend_gives_up_its_highlight_with_the_focus) {
    graph_form form(1, nullptr);
    form.set_table_size(4, 3);
    for (int r = 1; r <= 2; ++r)
        form.set_table_text(1, r, u"kind"_s), form.set_table_text(3, r, u"50.00"_s);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTableWidget& legend = *form.taiou_list_box();
    QTest::mouseClick(legend.viewport(), Qt::LeftButton, {},
                      legend.visualItemRect(legend.item(1, 2)).center());
    ASSERT_EQ(legend.selectedItems().size(), 1);
    form.draw_Shuukei()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(legend.selectedItems().isEmpty());
    EXPECT_FALSE(legend.currentIndex().isValid());
}

class summary_command : public testing::program_window_test {
  protected:
    void SetUp() override {
        dir.write("kindlist.dat",
                  testing::sjis("0\r\n繰越・その他\r\n1\r\n食費\r\n2\r\n外食\r\n3\r\n日用品\r\n"));
        start();
        form->move(100, 50), form->resize(800, 600);
    }
    // Runs the command on a month; `user` may resize the window and its columns before closing it.
    // What the window held: "caption mode legend-columns", the column widths, then the rows
    // (header first), cells each followed by '|'; its outer bounds go to `bounds`.
    QStringList run(const std::vector<testing::month_line>& lines,
                    const std::function<void(graph_form&)>& user = {}) {
        testing::set_month(form->table(), lines);
        QStringList seen;
        runner.push([&](QDialog& dialog) {
            graph_form& g = dynamic_cast<graph_form&>(dialog);
            seen << u"%1 %2 %3"_s.arg(g.windowTitle())
                        .arg(g.graph_mode())
                        .arg(g.taiou_list_box()->columnCount());
            for (int r = -1; r < g.table_rows_with_header(); ++r) {
                seen << QString();
                for (int c = 0; c < 4; ++c)
                    seen.back() +=
                        (r < 0 ? QString::number(g.draw_Shuukei()->columnWidth(c)) : g.table_text(c, r)) +
                        u'|';
            }
            bounds = QRect(g.pos(), g.outer_size());
            if (user) user(g);
            return int(QDialog::Rejected);
        });
        form->show_graph_window();
        return seen;
    }
    QRect bounds;
};

TEST_F(summary_command, a_failed_summary_warns_and_shows_nothing) {
    const window_settings before = form->settings();
    run({{0, 0, 0}, {1, 0, 300}, {7, 0, 200}});
    EXPECT_EQ(std::tuple(notify.texts(), notify.messages.at(0).kind, runner.runs(), form->settings()),
              std::tuple(QStringList{u"リストに存在しない種類です:7"_s}, message_kind::warning, 0, before));
}

TEST_F(summary_command, fills_the_table_and_places_the_window_at_a_quarter_and_a_tenth) {
    const QStringList seen =
        run({{0, 50000, 0}, {1, 0, 1200}, {2, 0, 2400}, {1, 0, 1800}, {3, 0, 900}, {3, 40, 0}});
    EXPECT_TRUE(notify.messages.empty());
    EXPECT_EQ(seen.join(u'\n').toStdString(),
              "月内集計グラフ 1 3\n40|70|50|50|\nNo.|種類|合計|比率|\n1|食費|3000|47.62|\n"
              "2|外食|2400|38.10|\n3|日用品|900|14.29|\n0|繰越・その他|0|0.00|");
    EXPECT_EQ(bounds, QRect(300, 110, 400, 400)); // left 100 + 800 / 4, top 50 + 600 / 10
}

// Kept in the settings, which a restart reads back whole (the settings file's and the shutdown tests).
TEST_F(summary_command, sizes_chosen_by_the_user_come_back_at_the_next_showing) {
    run({{1, 0, 500}}, [](graph_form& g) {
        g.resize(520, 470);
        g.draw_Shuukei()->horizontalHeader()->resizeSection(1, 120);
        g.draw_Shuukei()->horizontalHeader()->resizeSection(3, 65);
    });
    EXPECT_EQ(run({{1, 0, 500}}).value(1).toStdString(), "40|120|50|65|");
    EXPECT_EQ(bounds.size(), QSize(520, 470));
}

} // namespace
} // namespace kozenica
