#pragma once
// The year table on paper: one A4 landscape page with the title
// "2024年 年間集計", the table and the chart, in the program's Japanese font.

#include "core/year_table.h"

#include <QRect>

class QPainter;
class QPrinter;

namespace kozenica {

// Lays the page out in the rectangle: the title, then the table in the room
// its rows need (at most about half the page), then the chart below.
void paint_year_page(QPainter& painter, const QRect& page, const year_table& table);

// Sets the printer to A4 landscape, for the print dialog to start from.
void prepare_year_printer(QPrinter& printer);

// Prints the page on the printer as the print dialog left it.
void print_year_page(QPrinter& printer, const year_table& table);

} // namespace kozenica
