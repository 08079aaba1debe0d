#pragma once
// How the graph window draws the cells of its two grids: where the text goes
// and with what alignment, and the delegates that paint them so.

#include <QStyledItemDelegate>

namespace kozenica {

// The text of a table cell (data rows; the header row is centred by its
// header): mode 1 puts the kind names of column 1 on the left and the numbers
// on the right; mode 2 puts everything on the right. Always on the top line.
[[nodiscard]] Qt::Alignment table_cell_alignment(int graph_mode, int column);

// A legend cell's text: mode 1 on the left, mode 2 on the right, top line.
[[nodiscard]] Qt::Alignment legend_cell_alignment(int graph_mode);

// Mode 1 legend: column 0 is the slice's colour swatch, filled edge to edge.
[[nodiscard]] bool is_color_swatch(int graph_mode, int column);

// Paints a cell of either grid: its normal background (highlight when
// selected), then its text in cell_text_rect with the mode's alignment; in the
// mode 1 legend, column 0 is filled with the colour of the row's slice.
class graph_cell_delegate : public QStyledItemDelegate {
  public:
    enum class grid { table, legend };
    graph_cell_delegate(int graph_mode, grid which, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    int graph_mode_;
    grid grid_;
};

} // namespace kozenica
