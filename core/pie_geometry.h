#pragma once
// The pie of the monthly summary and its legend, worked out from the ratio
// texts of the summary grid and the size of the paint box. The window only
// paints what this returns.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kozenica {

struct rgb {
    std::uint8_t r, g, b;
    friend bool operator==(const rgb&, const rgb&) = default;
};

// The slice colours, index 1 to 17 (index 0 is unused). Table row i and legend
// row i - 1 both use entry i.
inline constexpr int pie_color_count = 17;
extern const std::array<rgb, pie_color_count + 1> pie_color_table;

// The colour of a legend row (row r shows entry r + 1); black beyond the table.
[[nodiscard]] rgb legend_color(int legend_row);

struct pie_point {
    int x = 0, y = 0;
    friend bool operator==(const pie_point&, const pie_point&) = default;
};

// The square the circle is inscribed in: (x0, y0) to (x1, y1), right and
// bottom edges excluded; (cx, cy) its centre by integer division.
struct pie_square {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0, cx = 0, cy = 0;
    friend bool operator==(const pie_square&, const pie_square&) = default;
};

// One slice. It runs clockwise on the screen from the ray through `from` to
// the ray through `to`; a canvas that draws counter-clockwise takes `to` as its
// start point and `from` as its end point.
struct pie_wedge {
    int color = 1; // index into pie_color_table
    pie_point from;
    pie_point to;
    bool full_disc = false;
    friend bool operator==(const pie_wedge&, const pie_wedge&) = default;
};

struct legend_row {
    int row = 0;       // legend row, 0-based
    int table_row = 0; // the table row whose name it shows
    friend bool operator==(const legend_row&, const legend_row&) = default;
};

struct pie_picture {
    pie_square square;
    std::vector<pie_wedge> wedges;
    std::vector<legend_row> legend;
    std::optional<int> legend_row_count; // unset when no row got a slice
};

inline constexpr int max_pie_slices = 17;

// The number written in a ratio cell ("12.50"); 0 for a text that is no number.
[[nodiscard]] double ratio_value(std::string_view text);

// The position on the diamond through the midpoints of the square's sides for a
// running percentage: top centre at 0 and 100 and beyond, right middle at 25,
// bottom centre at 50, left middle at 75. Halves round to even.
[[nodiscard]] pie_point pie_end_point(const pie_square& sq, double s);

[[nodiscard]] pie_square pie_square_for(int width, int height);

// ratio_texts are the texts of the ratio column, data rows 1, 2, ... in order.
[[nodiscard]] pie_picture pie_geometry(int width, int height, const std::vector<std::string>& ratio_texts);

// A wedge as a counter-clockwise arc for a canvas that measures angles counter-
// clockwise from three o'clock in sixteenths of a degree (start, then span).
struct pie_arc {
    int start16 = 0;
    int span16 = 0;
    friend bool operator==(const pie_arc&, const pie_arc&) = default;
};
[[nodiscard]] pie_arc pie_arc_for(const pie_square& sq, const pie_wedge& wedge);

} // namespace kozenica
