#pragma once
// The period price graph, worked out from the paint box size, the prices in
// the order found, and the highest and lowest price. Whole pixels, x to the
// right and y downwards from the paint box's top left corner.

#include <cstdint>
#include <string_view>
#include <vector>

namespace kozenica {

// A filled rectangle; right and bottom edges excluded.
struct graph_rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const graph_rect&, const graph_rect&) = default;
};

struct graph_point {
    int x = 0, y = 0;
    friend bool operator==(const graph_point&, const graph_point&) = default;
};

// A line from `from` to `to`, the end pixel not drawn.
struct graph_segment {
    graph_point from, to;
    friend bool operator==(const graph_segment&, const graph_segment&) = default;
};

struct period_graph_picture {
    std::vector<graph_rect> white;          // the paint box, then the plot
    std::vector<graph_segment> axes;        // black: y axis, then x axis
    std::vector<graph_segment> level_lines; // aqua, horizontal, from the lowest price up
    std::vector<graph_segment> point_lines; // aqua, vertical, at points 2, 2 + s, ...
    std::vector<graph_point> price_line;    // blue, joined in order; one point draws nothing
    std::int64_t step = 0;                  // the scale step shown in the legend
};

// Paint box width and height, the prices (at least one), highest and lowest.
[[nodiscard]] period_graph_picture period_graph(int width, int height,
                                                const std::vector<std::int64_t>& prices, std::int64_t high,
                                                std::int64_t low);

// A grid text read as a plain decimal integer (optional minus sign, blanks
// around it allowed) within the signed 32-bit range of an amount; anything
// else counts as 0.
[[nodiscard]] std::int64_t graph_integer(std::string_view text);

} // namespace kozenica
