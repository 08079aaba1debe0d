#pragma once
// The body cells of the result tables: the cell's own background (or the
// selection's), then its text 2 pixels in from each edge, from the top,
// clipped to the cell.

#include <QStyledItemDelegate>

namespace kozenica {

void paint_result_cell(QPainter& painter, const QStyleOptionViewItem& option, int alignment,
                       const QString& text);

// The current cell's frame, 2 pixels inside the cell in the platform's focus
// colour (darker on a selected cell, whose ground is that colour), drawn over
// whatever the cell shows, so that an empty current cell is found at a
// glance.
void paint_current_frame(QPainter& painter, const QRect& cell, const QPalette& palette, bool selected);

// paint_current_frame when the cell is its view's current cell.
void paint_frame_if_current(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index);

// A delegate that paints every cell so, aligned by the table's own rule.
class result_cell_delegate : public QStyledItemDelegate {
  public:
    using alignment_rule = int (*)(const QModelIndex&);

    result_cell_delegate(alignment_rule rule, QObject* parent) : QStyledItemDelegate(parent), rule_(rule) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        paint_result_cell(*painter, option, rule_(index), index.data(Qt::DisplayRole).toString());
        paint_frame_if_current(*painter, option, index);
    }

  private:
    alignment_rule rule_;
};

} // namespace kozenica
