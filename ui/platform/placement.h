#pragma once
// Where a window opens over the main window: the main window's outer left and
// top, moved in by a part of its outer width and height.

#include <QPoint>
#include <QRect>

namespace kozenica {

[[nodiscard]] inline QPoint opening_point(const QRect& main_outer, int width_part, int height_part) {
    return {main_outer.x() + main_outer.width() / width_part,
            main_outer.y() + main_outer.height() / height_part};
}

} // namespace kozenica
