// The period graph painted (every point of the price line but the last on a blue pixel, wherever
// the line turns), column widths at each resize, the legend's highlight, and the monthly summary command.
// (The pie's and the price graph's pixels in the real window: the journeys.)
#include "core/period_graph_geometry.h"
#include "tests/core/summary_testing.h"
#include "ui/graph_window/graph_form.h"
#include "ui/graph_window/graph_painting.h"
#include "window_testing.h"

#include <QPainter>
#include <QTableWidget>
#include <algorithm>

namespace kozenica {
namespace {

using namespace Qt::StringLiterals;

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

// Each resize sets the columns again, whatever the user dragged them to: the pie legend's swatch, gap and
// name (10 in a legend 20 pixels or narrower); in mode 2 the legend's halves and the table's thirds.
TEST(graph_form, table_and_legend_columns_are_set_again_at_every_resize) {
    for (const auto& [legend, name] : {std::pair(100, 77), {24, 1}, {21, 0}, {20, 10}, {5, 10}}) {
        const pie_legend_widths w = pie_legend_column_widths(legend);
        EXPECT_EQ(std::tuple(w.swatch, w.gap, w.name), std::tuple(15, 5, name)) << legend;
    }
    for (const int mode : {1, 2}) {
        graph_form form(mode, nullptr);
        form.set_table_size(mode == 1 ? 4 : 3, 3);
        form.taiou_list_box()->setColumnCount(mode == 1 ? 3 : 2), form.show();
        QTableWidget &table = *form.draw_Shuukei(), &legend = *form.taiou_list_box();
        for (const QSize size : {QSize(360, 410), QSize(620, 420)}) {
            table.setColumnWidth(0, 250), legend.setColumnWidth(1, 3), form.resize(size);
            QApplication::processEvents();
            const int cw = form.width(), w = cw / 3 * 2;
            QList<int> columns, expected;
            for (int c = 0; c < legend.columnCount(); ++c)
                columns << legend.columnWidth(c),
                    expected << (mode == 1 ? QList{15, 5, cw - w - 24}[c] : legend.width() / 2 - 1);
            for (int c = 0; mode == 2 && c < 3; ++c)
                columns << table.columnWidth(c), expected << table.width() / 3 - 10;
            EXPECT_EQ(columns, expected) << "mode " << mode << ", width " << cw;
            EXPECT_TRUE(mode == 2 || legend.geometry() == QRect(w + 1, 0, cw - w - 1, form.height() / 2));
        }
    }
}

// A clicked legend cell is highlighted until the focus moves on.
TEST(graph_form, legend_gives_up_its_highlight_with_the_focus) {
    graph_form form(1, nullptr);
    form.set_table_size(4, 3);
    for (int r = 1; r <= 2; ++r)
        form.set_table_text(1, r, u"kind"_s), form.set_table_text(3, r, u"50.00"_s);
    form.show(), QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTableWidget& legend = *form.taiou_list_box();
    QTest::mouseClick(legend.viewport(), Qt::LeftButton, {},
                      legend.visualItemRect(legend.item(1, 2)).center());
    ASSERT_EQ(legend.selectedItems().size(), 1);
    form.draw_Shuukei()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(legend.selectedItems().isEmpty() && !legend.currentIndex().isValid());
}

class summary_command : public testing::program_window_test {
  protected:
    void SetUp() override {
        dir.write("kindlist.dat",
                  testing::sjis("0\r\n繰越・その他\r\n1\r\n食費\r\n2\r\n外食\r\n3\r\n日用品\r\n"));
        start();
        form->move(100, 50), form->resize(800, 600);
    }
    // Runs the command on a month. What the window held: "caption mode legend-columns", the column widths,
    // then the rows (header first), cells each followed by '|'; its outer bounds go to `bounds`.
    QStringList run(const std::vector<testing::month_line>& lines) {
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

} // namespace
} // namespace kozenica
