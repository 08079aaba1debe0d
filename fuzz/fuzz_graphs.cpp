// The pie and the period graph, worked out from what their grids hold: any
// paint box size a window can have, any prices, any ratio texts.
// Input: 3 bytes width, 3 bytes height, then lines of text; for the period
// graph each line is a price cell, for the pie a ratio cell.

#include "core/period_graph_geometry.h"
#include "core/pie_geometry.h"
#include "fuzz_support.h"

#include <algorithm>

namespace {

using namespace kozenica;

int size_from(const std::uint8_t* p) {
    return int(p[0]) | int(p[1]) << 8 | int(p[2] & 0xFF) << 16; // 0 to 16777215, a window's range
}

std::vector<std::string> lines_of(std::string_view text, std::size_t at_most) {
    std::vector<std::string> lines;
    while (!text.empty() && lines.size() < at_most) {
        const auto end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

void check_period_graph(int width, int height, const std::vector<std::string>& cells) {
    std::vector<std::int64_t> prices;
    for (const std::string& c : cells)
        prices.push_back(graph_integer(c));
    if (prices.empty()) return;
    for (const std::int64_t p : prices)
        FUZZ_CHECK(p >= INT32_MIN && p <= INT32_MAX);
    const auto [low, high] = std::minmax_element(prices.begin(), prices.end());
    const period_graph_picture picture = period_graph(width, height, prices, *high, *low);
    FUZZ_CHECK(picture.price_line.size() == prices.size());
    FUZZ_CHECK(picture.point_lines.size() <= 20);
    FUZZ_CHECK(picture.level_lines.size() <= 10); // a range of 9 steps by 1
    FUZZ_CHECK(picture.step >= 0);
    for (const graph_point& p : picture.price_line)
        FUZZ_CHECK(p.x >= 0 && p.x <= width);
}

void check_pie(int width, int height, const std::vector<std::string>& cells) {
    const pie_picture picture = pie_geometry(width, height, cells);
    FUZZ_CHECK(picture.wedges.size() <= std::size_t(max_pie_slices));
    FUZZ_CHECK(picture.legend.size() <= std::size_t(max_pie_slices));
    FUZZ_CHECK(picture.wedges.size() <= picture.legend.size());
    const pie_square& sq = picture.square;
    for (const pie_wedge& w : picture.wedges) {
        FUZZ_CHECK(w.color >= 1 && w.color <= max_pie_slices);
        for (const pie_point& p : {w.from, w.to})
            FUZZ_CHECK(p.x >= sq.x0 && p.x <= sq.x1 && p.y >= sq.y0 && p.y <= sq.y1);
        (void)pie_arc_for(sq, w);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6) return 0;
    const int width = size_from(data);
    const int height = size_from(data + 3);
    const std::string_view text(reinterpret_cast<const char*>(data + 6), size - 6);
    check_period_graph(width, height, lines_of(text, 60));
    check_pie(width, height, lines_of(text, 100));
    return 0;
}
