#pragma once
// Row heights dragged at the row borders in a grid's first column, for grids
// that show no row header: the border under the pointer (2 pixels either
// side) follows the mouse, and the cursor shows where a border can be taken.

#include <QObject>

class QTableView;
class QWidget;

namespace kozenica {

class row_sizing : public QObject {
  public:
    static constexpr int border_grip = 2;

    // Watches the view's viewport; owned by the view.
    explicit row_sizing(QTableView& view);

    // The row whose lower border lies under a point of the viewport, or -1.
    [[nodiscard]] int row_border_at(const QPoint& viewport_pos) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTableView& view_;
    QWidget* viewport_;
    int row_ = -1;
    int origin_y_ = 0;
    int origin_height_ = 0;
};

} // namespace kozenica
