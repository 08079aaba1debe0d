// The price line of the period graph on rendered pixels: every point but the last lies on a
// blue pixel, wherever the line turns.
#include "core/period_graph_geometry.h"
#include "ui/graph_window/graph_painting.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>

namespace kozenica {
namespace {

QImage painted(const period_graph_picture& pic, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    paint_period_graph(painter, pic);
    return image;
}

TEST(period_graph_painting, every_point_but_the_last_is_a_blue_pixel) {
    // clang-format off
    const struct { const char* what; int width, height; std::vector<std::int64_t> prices; } cases[] = {
        {"a year of prices", 297, 187, {198, 178, 188, 158, 238, 218, 148, 168, 198, 178, 158, 208}},
        {"zigzag", 297, 187, {100, 300, 120, 280, 140, 260, 160, 240, 180, 220, 200, 210}},
        {"steep up, then flat", 300, 150, {100, 1000, 1000, 1000, 100, 100, 1000, 120}},
        {"small turns", 401, 301, {500, 501, 500, 502, 499, 503, 498, 504, 497, 505, 496, 506}},
        {"many points, more than the plot is wide", 120, 90, std::vector<std::int64_t>(150, 0)},
        {"two points", 200, 100, {300, 100}},
        {"a wide window", 997, 420, {150, 138, 160, 122, 180, 99, 240, 75, 260, 50, 330, 30}},
    };
    // clang-format on
    for (auto [what, width, height, prices] : cases) {
        if (prices.size() == 150)
            for (std::size_t i = 0; i < prices.size(); ++i)
                prices[i] = std::int64_t((i * 37) % 23);
        const auto [low, high] = std::minmax_element(prices.begin(), prices.end());
        const period_graph_picture pic = period_graph(width, height, prices, *high, *low);
        const QImage image = painted(pic, width, height);
        for (std::size_t k = 0; k + 1 < pic.price_line.size(); ++k) {
            const graph_point p = pic.price_line[k];
            EXPECT_EQ(image.pixelColor(p.x, p.y), QColor(Qt::blue)) << what << ": point " << k + 1;
        }
    }
}

} // namespace
} // namespace kozenica
