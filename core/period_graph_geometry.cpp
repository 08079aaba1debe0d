#include "period_graph_geometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace kozenica {

std::int64_t graph_integer(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return 0;
    if (value < INT32_MIN || value > INT32_MAX) return 0;
    return value;
}

namespace {

// A pixel coordinate from a double, cut toward zero and kept within a range
// that every later sum still fits in, so that prices far outside the highest
// and lowest only draw off the box.
int pixel(double v) {
    constexpr double limit = 1 << 24;
    return static_cast<int>(std::trunc(std::clamp(v, -limit, limit)));
}

struct price_scale {
    int bottom;
    std::int64_t low;
    double yscale;
    [[nodiscard]] int y(std::int64_t v) const {
        return bottom - pixel(static_cast<double>(v - low) * yscale) - 5;
    }
};

} // namespace

period_graph_picture period_graph(int width, int height, const std::vector<std::int64_t>& prices,
                                  std::int64_t high, std::int64_t low) {
    period_graph_picture pic;
    const int mx = width / 30;
    const int my = height / 30;
    const int right = width - mx;
    const int bottom = height - my;
    pic.white = {{0, 0, width, height}, {mx, my, right, bottom}};
    pic.axes = {{{mx, my}, {mx, bottom}}, {{mx, bottom}, {right, bottom}}};

    const double span = bottom - my - 10;
    const std::int64_t diff = high - low;
    const price_scale scale{bottom, low, diff > 0 ? span / static_cast<double>(diff) : span};

    const auto n = static_cast<std::int64_t>(prices.size());
    const double xstep = n >= 2 ? static_cast<double>(right - mx) / static_cast<double>(n - 1) : 0.0;

    pic.step = diff > 5 ? diff / 5 : (diff >= 1 ? 1 : 0);

    std::int64_t v = low;
    if (pic.step > 0) {
        for (; v < high; v += pic.step)
            pic.level_lines.push_back({{mx + 1, scale.y(v)}, {right, scale.y(v)}});
    }
    if (v == high) pic.level_lines.push_back({{mx + 1, scale.y(high)}, {right, scale.y(high)}});

    const std::int64_t s = (n - 2) / 20 + 1;
    for (std::int64_t i = 1; i <= n - 2; i += s) {
        const int x = mx + pixel(static_cast<double>(i) * xstep);
        pic.point_lines.push_back({{x, my}, {x, bottom}});
    }

    for (std::int64_t k = 1; k <= n; ++k) {
        const int x = mx + pixel(static_cast<double>(k - 1) * xstep);
        pic.price_line.push_back({x, scale.y(prices[static_cast<std::size_t>(k - 1)])});
    }
    return pic;
}

} // namespace kozenica
