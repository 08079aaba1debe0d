#pragma once
// Where every grid of the program draws a cell's text: 2 pixels in from each
// edge of the cell.

#include <QRect>

namespace kozenica {

[[nodiscard]] inline QRect cell_text_rect(const QRect& cell) {
    return cell.adjusted(2, 2, -2, -2);
}

} // namespace kozenica
