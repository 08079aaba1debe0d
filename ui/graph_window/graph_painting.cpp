#include "graph_painting.h"

#include <QPainter>
#include <QPolygon>

namespace kozenica {

namespace {

QRect fill_rect(const graph_rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

QPoint point(const graph_point& p) {
    return QPoint(p.x, p.y);
}

// A 1-pixel pen whose lines stop short of their end point.
QPen line_pen(const QColor& color) {
    QPen pen(color);
    pen.setWidth(1);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void draw_segments(QPainter& painter, const std::vector<graph_segment>& segments) {
    for (const graph_segment& s : segments)
        painter.drawLine(point(s.from), point(s.to));
}

} // namespace

void paint_pie(QPainter& painter, const pie_picture& pic) {
    const pie_square& sq = pic.square;
    // The square's right and bottom edges lie outside, as for a filled rectangle.
    const QRect bounds(sq.x0, sq.y0, sq.x1 - sq.x0 - 1, sq.y1 - sq.y0 - 1);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(line_pen(Qt::black));
    for (const pie_wedge& w : pic.wedges) {
        const rgb c = pie_color_table[static_cast<std::size_t>(w.color)];
        painter.setBrush(QColor(c.r, c.g, c.b));
        if (w.full_disc) {
            painter.drawEllipse(bounds);
        } else {
            const pie_arc arc = pie_arc_for(sq, w);
            painter.drawPie(bounds, arc.start16, arc.span16);
        }
    }
}

void paint_period_graph(QPainter& painter, const period_graph_picture& pic) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const graph_rect& r : pic.white)
        painter.fillRect(fill_rect(r), Qt::white);
    painter.setPen(line_pen(Qt::black));
    draw_segments(painter, pic.axes);
    painter.setPen(line_pen(QColor(0, 255, 255)));
    draw_segments(painter, pic.level_lines);
    draw_segments(painter, pic.point_lines);
    if (pic.price_line.size() >= 2) {
        QPolygon line;
        for (const graph_point& p : pic.price_line)
            line << point(p);
        const QColor blue(0, 0, 255);
        painter.setPen(line_pen(blue));
        painter.drawPolyline(line);
        // Each segment starts on its point's pixel; the rasterizer may leave
        // that pixel out where the line turns, so every point but the last
        // is set once more.
        for (std::size_t k = 0; k + 1 < pic.price_line.size(); ++k)
            painter.fillRect(QRect(point(pic.price_line[k]), QSize(1, 1)), blue);
    }
}

} // namespace kozenica
