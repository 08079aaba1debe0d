#include "year_chart.h"

#include "core/pie_geometry.h"
#include "core/year_chart_geometry.h"
#include "ui/platform/sjis.h"

#include <QFontMetrics>
#include <QPainter>

namespace kozenica {

namespace {

const QColor last_year_color(200, 0, 0);

QColor kind_color(int index) {
    if (index <= 0) return last_year_color;
    const rgb c = pie_color_table[std::size_t(index)];
    return {c.r, c.g, c.b};
}

QRect box_of(const graph_rect& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

QPoint point_of(const graph_point& p) {
    return {p.x, p.y};
}

void paint_text(QPainter& painter, const chart_text& text) {
    const int across = text.align == chart_align::left    ? Qt::AlignLeft
                       : text.align == chart_align::right ? Qt::AlignRight
                                                          : Qt::AlignHCenter;
    painter.drawText(box_of(text.box), across | Qt::AlignVCenter, to_qstring(text.text));
}

void paint_legend(QPainter& painter, const year_chart_picture& pic) {
    for (const chart_legend_row& row : pic.legend) {
        const QRect mark = box_of(row.swatch);
        if (row.color == 0) {
            painter.setPen(QPen(last_year_color, pic.line_width));
            painter.drawLine(mark.left(), mark.center().y(), mark.right(), mark.center().y());
            const int r = pic.mark_radius;
            painter.fillRect(QRect(mark.center() - QPoint(r, r), QSize(2 * r + 1, 2 * r + 1)),
                             last_year_color);
        } else {
            painter.fillRect(mark, kind_color(row.color));
            painter.setPen(QPen(Qt::black, 0));
            painter.drawRect(mark);
        }
        painter.setPen(Qt::black);
        paint_text(painter, row.name);
    }
}

} // namespace

void paint_year_chart(QPainter& painter, const QRect& area, const year_table& table, const QFont& font) {
    painter.save();
    painter.setFont(font);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(area, Qt::white);
    const QFontMetrics fm(font);
    const chart_text_size size{
        fm.height(), [&fm](std::string_view text) { return fm.horizontalAdvance(to_qstring(text)); }};
    const year_chart_picture pic =
        year_chart({area.left(), area.top(), area.right() + 1, area.bottom() + 1}, table, size);

    painter.setPen(QColor(210, 210, 210));
    for (const graph_segment& s : pic.scale_lines)
        painter.drawLine(point_of(s.from), point_of(s.to));
    for (const chart_bar& bar : pic.bars)
        painter.fillRect(box_of(bar.box), kind_color(bar.color));
    painter.setPen(QPen(Qt::black, 0));
    for (const graph_segment& s : pic.axes)
        painter.drawLine(point_of(s.from), point_of(s.to));
    for (const chart_text& text : pic.texts)
        paint_text(painter, text);
    painter.setPen(QPen(last_year_color, pic.line_width));
    for (const graph_segment& s : pic.last_year_lines)
        painter.drawLine(point_of(s.from), point_of(s.to));
    const int r = pic.mark_radius;
    for (const graph_point& p : pic.last_year_marks)
        painter.fillRect(QRect(p.x - r, p.y - r, 2 * r + 1, 2 * r + 1), last_year_color);
    paint_legend(painter, pic);
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
