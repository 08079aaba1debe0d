#pragma once
// The chart of the year table, worked out from the box it fills, the table
// and the size of the texts: twelve bars stacked by kind, last year's monthly
// expense totals as a line with marks, a scale with the "0," amounts and a
// legend in columns at the right. Whole pixels, x to the right and y downwards.
// The window and the printed page paint what this returns.

#include "period_graph_geometry.h"
#include "year_table.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kozenica {

enum class chart_align { left, right, centre };

struct chart_text {
    graph_rect box;
    std::string text; // Shift-JIS
    chart_align align = chart_align::left;
};

struct chart_bar {
    graph_rect box;
    int color = 1; // index into pie_color_table
};

struct chart_legend_row {
    graph_rect swatch;
    chart_text name;
    int color = 0; // index into pie_color_table; 0 for last year's line
};

struct year_chart_picture {
    graph_rect plot;
    std::vector<chart_text> texts;          // the axis title, the amounts, the months
    std::vector<graph_segment> scale_lines; // light grey, across the plot
    std::vector<graph_segment> axes;        // black: the x axis, then the y axis
    std::vector<chart_bar> bars;
    std::vector<graph_segment> last_year_lines; // between months that follow each other
    std::vector<graph_point> last_year_marks;
    std::vector<chart_legend_row> legend;
    int mark_radius = 3;
    int line_width = 2;
};

// How large the painter's texts come out.
struct chart_text_size {
    int height = 12;
    std::function<int(std::string_view)> width; // of a Shift-JIS text
};

// A step between scale lines of 1, 2 or 5 times a power of ten that divides
// the range up to top into at most `lines` parts.
[[nodiscard]] std::int64_t year_chart_step(std::int64_t top, int lines);

[[nodiscard]] year_chart_picture year_chart(const graph_rect& box, const year_table& table,
                                            const chart_text_size& size);

} // namespace kozenica
