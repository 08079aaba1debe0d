#include "year_chart.h"

#include "core/digits.h"
#include "core/pie_geometry.h"
#include "ui/platform/sjis.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace kozenica {

namespace {

const QColor last_year_color(200, 0, 0);

QColor kind_color(int index) {
    const rgb c = pie_color_table[std::size_t(index)];
    return {c.r, c.g, c.b};
}

struct legend_entry {
    QString name;
    QColor color;
    bool line = false;
};

std::vector<legend_entry> legend_of(const year_table& table, const std::vector<int>& colors) {
    std::vector<legend_entry> out;
    for (std::size_t r = 0; r < colors.size(); ++r)
        out.push_back({to_qstring(table.rows[r].name), kind_color(colors[r])});
    out.push_back({QStringLiteral("前年の支出計"), last_year_color, true});
    return out;
}

// The highest amount the chart shows: the tallest stack or last year's highest month.
std::int64_t chart_top(const year_table& table) {
    std::int64_t top = 0;
    for (int m = 0; m < 12; ++m) {
        std::int64_t stack = 0;
        for (std::size_t r = 0; r < table.kind_rows(); ++r)
            stack += std::max<std::int64_t>(0, table.rows[r].months[m]);
        top = std::max(top, stack);
        if (table.last_months[m].counted() && !table.rows.empty())
            top = std::max(top, table.rows[table.kind_rows()].last_months[m]);
    }
    return top;
}

// Paints the legend in columns from the right edge; the width it took. Gaps
// follow the font, so that the printed page keeps the window's proportions.
int paint_legend(QPainter& painter, const QRect& area, const std::vector<legend_entry>& entries) {
    const QFontMetrics fm(painter.font());
    const int gap = std::max(2, fm.height() / 3), row = fm.height() + gap / 2, swatch = fm.height() * 3 / 4;
    int name_width = 0;
    for (const legend_entry& e : entries)
        name_width = std::max(name_width, fm.horizontalAdvance(e.name));
    const int column_width = swatch + gap + name_width + 2 * gap;
    const int per_column = std::max(1, area.height() / row);
    const int columns = int(entries.size() + per_column - 1) / per_column;
    const int left = area.right() - columns * column_width;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int x = left + int(i) / per_column * column_width, y = area.top() + int(i) % per_column * row;
        const QRect mark(x, y + (row - swatch) / 2, swatch, swatch);
        if (entries[i].line) {
            painter.setPen(QPen(entries[i].color, std::max(2, fm.height() / 8)));
            painter.drawLine(mark.left(), mark.center().y(), mark.right(), mark.center().y());
            const int r = std::max(2, fm.height() / 5);
            painter.fillRect(QRect(mark.center().x() - r, mark.center().y() - r, 2 * r + 1, 2 * r + 1),
                             entries[i].color);
        } else {
            painter.fillRect(mark, entries[i].color);
            painter.setPen(QPen(Qt::black, 0));
            painter.drawRect(mark);
        }
        painter.setPen(Qt::black);
        painter.drawText(QRect(mark.right() + gap, y, name_width + gap, row),
                         Qt::AlignLeft | Qt::AlignVCenter, entries[i].name);
    }
    return columns * column_width;
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

void paint_year_chart(QPainter& painter, const QRect& area, const year_table& table, const QFont& font) {
    painter.save();
    painter.setFont(font);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(area, Qt::white);
    const QFontMetrics fm(font);
    const std::vector<int> colors = year_kind_colors(table);
    const int pad = fm.height() / 2;
    const QRect inner = area.adjusted(pad, pad, -pad, -pad);
    const int legend_width = paint_legend(painter, inner, legend_of(table, colors));

    const std::int64_t step = year_chart_step(std::max<std::int64_t>(chart_top(table), 1), 5);
    const std::int64_t top = (chart_top(table) + step - 1) / step * step;
    const int label_width = fm.horizontalAdvance(to_qstring(format_comma(std::max(top, step)))) + pad;
    // Room above the plot for the axis title and half the top amount, below it for the months.
    const QRect plot(inner.left() + label_width, inner.top() + 2 * fm.height(),
                     std::max(12, inner.width() - label_width - legend_width - pad),
                     std::max(10, inner.height() - 3 * fm.height() - pad));
    const auto y_of = [&](std::int64_t amount) {
        const double share = double(std::clamp<std::int64_t>(amount, 0, top)) / double(std::max(top, step));
        return plot.bottom() - int(share * plot.height() + 0.5);
    };

    // Scale lines with their amounts, and the axis title.
    painter.setPen(Qt::black);
    painter.drawText(QRect(inner.left(), inner.top() - pad / 2, label_width + 4 * pad, fm.height()),
                     Qt::AlignLeft, QStringLiteral("(円)"));
    for (std::int64_t at = 0; at <= std::max(top, step); at += step) {
        const int y = y_of(at);
        painter.setPen(QColor(210, 210, 210));
        painter.drawLine(plot.left(), y, plot.right(), y);
        painter.setPen(Qt::black);
        painter.drawText(QRect(inner.left(), y - fm.height() / 2, label_width - pad / 2, fm.height()),
                         Qt::AlignRight | Qt::AlignVCenter, to_qstring(format_comma(at)));
    }

    // The bars, each kind keeping its colour; months not counted have none.
    const double slot = plot.width() / 12.0;
    const int bar = std::max(2, int(slot * 0.6));
    painter.setPen(QPen(Qt::black, 0));
    for (int m = 0; m < 12; ++m) {
        const int x = plot.left() + int(slot * m + (slot - bar) / 2);
        if (table.months[m].counted()) {
            std::int64_t base = 0;
            for (std::size_t r = 0; r < colors.size(); ++r) {
                const std::int64_t amount = table.rows[r].months[m];
                if (amount <= 0) continue;
                const int y0 = y_of(base), y1 = y_of(base + amount);
                base += amount;
                painter.fillRect(QRect(x, y1, bar, std::max(1, y0 - y1)), kind_color(colors[r]));
            }
        }
        painter.drawText(QRect(plot.left() + int(slot * m), plot.bottom() + pad / 3, int(slot), fm.height()),
                         Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("%1月").arg(m + 1));
    }
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());

    // Last year's expense totals: a line between months that follow each other, a mark on each.
    if (!table.rows.empty()) {
        const year_row& expense = table.rows[table.kind_rows()];
        painter.setPen(QPen(last_year_color, std::max(2, fm.height() / 8)));
        QPoint previous;
        bool joined = false;
        for (int m = 0; m < 12; ++m) {
            if (!table.last_months[m].counted()) {
                joined = false;
                continue;
            }
            const QPoint p(plot.left() + int(slot * m + slot / 2), y_of(expense.last_months[m]));
            if (joined) painter.drawLine(previous, p);
            const int r = std::max(3, fm.height() / 5);
            painter.fillRect(QRect(p.x() - r, p.y() - r, 2 * r + 1, 2 * r + 1), last_year_color);
            previous = p;
            joined = true;
        }
    }
    painter.restore();
}

year_chart::year_chart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("year_chart"));
    setMinimumHeight(160);
}

void year_chart::set_table(const year_table* table) {
    table_ = table;
    update();
}

void year_chart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (table_) paint_year_chart(painter, rect(), *table_, font());
}

} // namespace kozenica
