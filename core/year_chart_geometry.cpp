#include "year_chart_geometry.h"

#include "digits.h"

#include <algorithm>
#include <climits>

namespace kozenica {

namespace {

constexpr char yen_title[] = "(\x89~)" /* (円) */;
constexpr char last_year_name[] = "\x91O\x94N\x82\xcc\x8ex\x8fo\x8cv" /* 前年の支出計 */;
constexpr char month_suffix[] = "\x8c\x8e" /* 月 */;

graph_rect rect_at(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

// The highest amount the chart shows: the tallest stack or last year's highest month.
std::int64_t chart_top(const year_table& table) {
    std::int64_t top = 0;
    const std::size_t kinds = table.kind_rows();
    for (int m = 0; m < 12; ++m) {
        std::int64_t stack = 0;
        for (std::size_t r = 0; r < kinds; ++r)
            stack += std::max<std::int64_t>(0, table.rows[r].months[m]);
        top = std::max(top, stack);
        if (table.last_months[m].counted() && table.rows.size() > kinds)
            top = std::max(top, table.rows[kinds].last_months[m]);
    }
    return top;
}

// The legend in columns from the right edge; the width it takes. Gaps follow
// the text height, so that the printed page keeps the window's proportions.
int lay_out_legend(year_chart_picture& pic, const graph_rect& box, const year_table& table,
                   const std::vector<int>& colors, const chart_text_size& size) {
    std::vector<std::pair<std::string, int>> entries;
    for (std::size_t r = 0; r < colors.size(); ++r)
        entries.emplace_back(table.rows[r].name, colors[r]);
    entries.emplace_back(last_year_name, 0);
    const int gap = std::max(2, size.height / 3), row = size.height + gap / 2, swatch = size.height * 3 / 4;
    int name_width = 0;
    for (const auto& e : entries)
        name_width = std::max(name_width, size.width(e.first));
    const int column_width = swatch + gap + name_width + 2 * gap;
    const int per_column = std::max(1, (box.bottom - box.top) / row);
    const int columns = int(entries.size() + std::size_t(per_column) - 1) / per_column;
    const int left = box.right - columns * column_width;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int x = left + int(i) / per_column * column_width, y = box.top + int(i) % per_column * row;
        const graph_rect mark = rect_at(x, y + (row - swatch) / 2, swatch, swatch);
        pic.legend.push_back({mark,
                              {rect_at(mark.right + gap, y, name_width + gap, row), entries[i].first},
                              entries[i].second});
    }
    return columns * column_width;
}

void lay_out_last_year(year_chart_picture& pic, const year_table& table, const std::function<int(int)>& x_of,
                       const std::function<int(std::int64_t)>& y_of) {
    const std::size_t kinds = table.kind_rows();
    if (table.rows.size() <= kinds) return;
    const year_row& expense = table.rows[kinds];
    for (int m = 0; m < 12; ++m) {
        if (!table.last_months[m].counted()) continue;
        const graph_point p{x_of(m), y_of(expense.last_months[m])};
        if (m > 0 && table.last_months[m - 1].counted())
            pic.last_year_lines.push_back({pic.last_year_marks.back(), p});
        pic.last_year_marks.push_back(p);
    }
}

} // namespace

std::int64_t year_chart_step(std::int64_t top, int lines) {
    std::int64_t power = 1;
    for (;;) {
        for (const std::int64_t factor : {1, 2, 5})
            if (power * factor * lines >= top) return power * factor;
        if (power > INT64_MAX / 100) return power * 10;
        power *= 10;
    }
}

year_chart_picture year_chart(const graph_rect& box, const year_table& table, const chart_text_size& size) {
    year_chart_picture pic;
    const int h = size.height, pad = h / 2;
    pic.mark_radius = std::max(3, h / 5);
    pic.line_width = std::max(2, h / 8);
    const graph_rect inner{box.left + pad, box.top + pad, box.right - pad, box.bottom - pad};
    const std::vector<int> colors = year_kind_colors(table);
    const int legend_width = lay_out_legend(pic, inner, table, colors, size);

    const std::int64_t highest = chart_top(table);
    const std::int64_t step = year_chart_step(std::max<std::int64_t>(highest, 1), 5);
    const std::int64_t top = std::max(step, (highest + step - 1) / step * step);
    const int label_width = size.width(format_comma(top)) + pad;
    // Room above the plot for the axis title and half the top amount, below it for the months.
    pic.plot = rect_at(inner.left + label_width, inner.top + 2 * h,
                       std::max(12, inner.right - inner.left - label_width - legend_width - pad),
                       std::max(10, inner.bottom - inner.top - 3 * h - pad));
    const graph_rect& plot = pic.plot;
    const auto y_of = [&](std::int64_t amount) {
        const double share = double(std::clamp<std::int64_t>(amount, 0, top)) / double(top);
        return plot.bottom - int(share * (plot.bottom - plot.top) + 0.5);
    };
    const double slot = (plot.right - plot.left) / 12.0;
    const auto x_of = [&](int month) { return plot.left + int(slot * month + slot / 2); };

    pic.texts.push_back({rect_at(inner.left, inner.top - pad / 2, label_width + 4 * pad, h), yen_title});
    for (std::int64_t at = 0; at <= top; at += step) {
        const int y = y_of(at);
        pic.scale_lines.push_back({{plot.left, y}, {plot.right, y}});
        pic.texts.push_back(
            {rect_at(inner.left, y - h / 2, label_width - pad / 2, h), format_comma(at), chart_align::right});
    }
    // The bars, each kind keeping its colour; months not counted have none.
    const int bar = std::max(2, int(slot * 0.6));
    for (int m = 0; m < 12; ++m) {
        std::int64_t base = 0;
        for (std::size_t r = 0; r < colors.size() && table.months[m].counted(); ++r) {
            const std::int64_t amount = table.rows[r].months[m];
            if (amount <= 0) continue;
            const int y0 = y_of(base), y1 = y_of(base + amount);
            base += amount;
            pic.bars.push_back({rect_at(x_of(m) - bar / 2, y1, bar, std::max(1, y0 - y1)), colors[r]});
        }
        pic.texts.push_back({rect_at(plot.left + int(slot * m), plot.bottom + pad / 3, int(slot), h),
                             std::to_string(m + 1) + month_suffix, chart_align::centre});
    }
    pic.axes = {{{plot.left, plot.bottom}, {plot.right, plot.bottom}},
                {{plot.left, plot.bottom}, {plot.left, plot.top}}};
    lay_out_last_year(pic, table, x_of, y_of);
    return pic;
}

} // namespace kozenica
