#pragma once
// Paints the computed pictures of the graph window onto a canvas: the pie of
// the monthly summary and the period price graph.

#include "core/period_graph_geometry.h"
#include "core/pie_geometry.h"

class QPainter;

namespace kozenica {

// Black 1-pixel outlines, slices filled from pie_color_table.
void paint_pie(QPainter& painter, const pie_picture& pic);

// White plot, black axes, aqua scale lines, blue price line; every line leaves
// out its end pixel, so the axes stay black where the scale lines meet them;
// every point of the price line but the last is a blue pixel.
void paint_period_graph(QPainter& painter, const period_graph_picture& pic);

} // namespace kozenica
