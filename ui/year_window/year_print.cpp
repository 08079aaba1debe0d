#include "year_print.h"

#include "ui/platform/fonts.h"
#include "ui/platform/sjis.h"
#include "year_chart.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace kozenica {

namespace {

QFont page_font(int pixels, bool bold = false) {
    QFont font = window_font();
    font.setPixelSize(std::max(1, pixels));
    font.setBold(bold);
    return font;
}

// The cells in a grid of thin lines: the names column twice as wide as the others.
void paint_cells(QPainter& painter, const QRect& area, const std::vector<year_cells>& cells, int row_height) {
    const int unit = area.width() / (year_table_columns + 2);
    const auto left_of = [&](int column) { return area.left() + (column == 0 ? 0 : unit * (column + 2)); };
    painter.setPen(QPen(Qt::black, 0));
    for (std::size_t r = 0; r < cells.size(); ++r) {
        const int top = area.top() + int(r) * row_height;
        if (r == 0)
            painter.fillRect(QRect(area.left(), top, unit * (year_table_columns + 2), row_height),
                             QColor(230, 230, 230));
        for (int c = 0; c < year_table_columns; ++c) {
            const QRect cell(left_of(c), top, c == 0 ? unit * 3 : unit, row_height);
            painter.drawRect(cell);
            const int align =
                r == 0 ? Qt::AlignCenter : (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
            painter.drawText(cell.adjusted(row_height / 6, 0, -row_height / 6, 0), align,
                             to_qstring(cells[r][std::size_t(c)]));
        }
    }
}

} // namespace

void paint_year_page(QPainter& painter, const QRect& page, const year_table& table) {
    painter.save();
    const int title_height = page.height() / 14;
    painter.setFont(page_font(title_height * 2 / 3, true));
    painter.setPen(Qt::black);
    painter.drawText(QRect(page.left(), page.top(), page.width(), title_height),
                     Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("%1年 年間集計").arg(table.year));

    const std::vector<year_cells> cells = year_table_cells(table);
    const std::string notes = year_table_notes(table);
    const int table_room = page.height() / 2 - title_height;
    const int row_height = std::min(page.height() / 30, table_room / int(cells.size()));
    // The widest amount must fit its column: the font shrinks to the column's width too.
    const int unit = page.width() / (year_table_columns + 2);
    const QFont cell_font = page_font(std::min(row_height * 3 / 5, unit * 2 / 11));
    painter.setFont(cell_font);
    const QRect table_area(page.left(), page.top() + title_height, page.width(),
                           row_height * int(cells.size()));
    paint_cells(painter, table_area, cells, row_height);
    int below = table_area.bottom() + row_height / 2;
    if (!notes.empty()) {
        painter.drawText(QRect(page.left(), below, page.width(), row_height),
                         Qt::AlignLeft | Qt::AlignVCenter, to_qstring(notes));
        below += row_height;
    }
    const QRect chart_area(page.left(), below + row_height / 2, page.width(),
                           page.bottom() - below - row_height / 2);
    paint_year_chart(painter, chart_area, table, cell_font);
    painter.restore();
}

void prepare_year_printer(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
}

void print_year_page(QPrinter& printer, const year_table& table) {
    QPainter painter(&printer);
    // The painter's origin is the printable area's corner.
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    paint_year_page(painter, QRect(QPoint(0, 0), printable.size()), table);
}

} // namespace kozenica
