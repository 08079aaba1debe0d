#include "pie_geometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace kozenica {

const std::array<rgb, pie_color_count + 1> pie_color_table = {{
    {0, 0, 0},       // unused
    {0, 255, 255},   // 1 aqua
    {255, 255, 0},   // 2 yellow
    {0, 255, 0},     // 3 lime
    {128, 0, 0},     // 4 maroon
    {255, 0, 255},   // 5 fuchsia
    {0, 128, 0},     // 6 green
    {128, 0, 128},   // 7 purple
    {0, 0, 255},     // 8 blue
    {128, 128, 0},   // 9 olive
    {255, 0, 0},     // 10 red
    {0, 0, 128},     // 11 navy
    {128, 128, 128}, // 12 gray
    {192, 192, 192}, // 13 silver
    {255, 255, 255}, // 14 white
    {192, 192, 192}, // 15 silver
    {0, 128, 128},   // 16 teal
    {128, 128, 128}, // 17 gray
}};

rgb legend_color(int legend_row) {
    const int index = legend_row + 1;
    if (index < 1 || index > pie_color_count) return {0, 0, 0};
    return pie_color_table[static_cast<std::size_t>(index)];
}

double ratio_value(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return 0.0;
    return value;
}

namespace {

// Nearest integer, halves to even.
int round_even(double v) {
    const double r = v - std::remainder(v, 1.0);
    return static_cast<int>(r);
}

} // namespace

pie_square pie_square_for(int width, int height) {
    pie_square sq;
    const int d = std::max(0, std::min(width, height));
    sq.x0 = (width - d) / 2;
    sq.y0 = (height - d) / 2;
    sq.x1 = sq.x0 + d;
    sq.y1 = sq.y0 + d;
    sq.cx = sq.x0 + (sq.x1 - sq.x0) / 2;
    sq.cy = sq.y0 + (sq.y1 - sq.y0) / 2;
    return sq;
}

pie_point pie_end_point(const pie_square& sq, double s) {
    const double a = (sq.x1 - sq.x0) * 0.02;
    const double b = (sq.y1 - sq.y0) * 0.02;
    if (s <= 0 || s >= 100) return {sq.cx, sq.y0};
    if (s < 25) return {sq.cx + round_even(a * s), sq.y0 + round_even(b * s)};
    if (s == 25) return {sq.x1, sq.cy};
    if (s < 50) return {sq.x1 - round_even(a * (s - 25)), sq.y0 + round_even(b * s)};
    if (s == 50) return {sq.cx, sq.y1};
    if (s < 75) return {sq.x1 - round_even(a * (s - 25)), sq.y1 - round_even(b * (s - 50))};
    if (s == 75) return {sq.x0, sq.cy};
    return {sq.x0 + round_even(a * (s - 75)), sq.y1 - round_even(b * (s - 50))};
}

pie_picture pie_geometry(int width, int height, const std::vector<std::string>& ratio_texts) {
    pie_picture pic;
    pic.square = pie_square_for(width, height);
    const bool drawable = pic.square.x1 > pic.square.x0;
    double s = 0.0;
    pie_point previous{pic.square.cx, pic.square.y0};
    const int n = std::min(static_cast<int>(ratio_texts.size()), max_pie_slices);
    for (int i = 1; i <= n; ++i) {
        const double r = ratio_value(ratio_texts[static_cast<std::size_t>(i - 1)]);
        if (r < 1.0) continue;
        s += r;
        const pie_point end = pie_end_point(pic.square, s);
        // Equal end points mean either no width or the whole way round. A slice
        // of half the pie or more cannot be thin, so on a small circle, where a
        // 98 percent slice can end on the pixel it started from, it is the whole
        // disc; a thinner one that rounds to no width is left out rather than
        // painted over the whole pie.
        const bool whole = end == previous && r >= 50.0;
        if (drawable && (end != previous || whole)) pic.wedges.push_back({i, previous, end, whole});
        previous = end;
        pic.legend.push_back({i - 1, i});
        pic.legend_row_count = i;
    }
    return pic;
}

pie_arc pie_arc_for(const pie_square& sq, const pie_wedge& wedge) {
    if (wedge.full_disc) return {0, 360 * 16};
    const double cx = (sq.x0 + sq.x1) / 2.0;
    const double cy = (sq.y0 + sq.y1) / 2.0;
    const auto angle16 = [&](pie_point p) {
        const double degrees = std::atan2(cy - p.y, p.x - cx) * 180.0 / std::numbers::pi;
        const int a = static_cast<int>(std::lround(degrees * 16.0));
        return ((a % 5760) + 5760) % 5760;
    };
    const int start = angle16(wedge.to);
    const int end = angle16(wedge.from);
    const int span = ((end - start) % 5760 + 5760) % 5760;
    return {start, span};
}

} // namespace kozenica
