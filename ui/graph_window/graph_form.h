#pragma once
// The graph window of both graph commands: paint box at the top left, legend
// grid at the top right, table grid across the lower half.
//
// The caller fills the grids and shows the window; the window lays itself out
// at every size change and draws from the grids' current text at every paint.
//
// draw_Shuukei: its row 0 is the header row, as the callers fill it; the
// window keeps that row hidden and shows its texts on the column header, which
// stays in place when the rows scroll and lets the user drag column widths.
// Data rows are 1, 2, ...; the row count counts the header row.
//   Mode 1 (monthly summary): columns "No.", "種類", "合計", "比率"; the pie is
//   drawn from the names (column 1) and the ratio texts (column 3).
//   Mode 2 (period graph): columns "日付", "店名", "値段"; one row per point,
//   the price in column 2 as plain decimal digits.
// taiou_list_box: no header; legend row r is its row r.
//   Mode 1: 3 columns (swatch, gap, kind name); the drawing fills in the names.
//   Mode 2: 2 columns; (1, 0) the highest price, (1, 1) the lowest; the drawing
//   writes "目盛り" and the scale step into row 3.

#include "core/period_graph_geometry.h"
#include "core/pie_geometry.h"

#include <QDialog>
#include <QRect>
#include <QSize>

class QTableWidget;

namespace kozenica {

class graph_legend_grid;

class graph_form : public QDialog {
    Q_OBJECT
  public:
    // graph_mode 1: monthly summary pie; 2: period price graph.
    graph_form(int graph_mode, QWidget* owner);
    ~graph_form() override;

    [[nodiscard]] int graph_mode() const { return graph_mode_; }
    [[nodiscard]] QTableWidget* draw_Shuukei() const { return draw_Shuukei_; }
    [[nodiscard]] QTableWidget* taiou_list_box() const;
    [[nodiscard]] QWidget* PaintBox() const { return PaintBox_; }

    // The table's size counting the header row, and its texts with the header
    // as row 0 (the same as writing into draw_Shuukei directly).
    void set_table_size(int columns, int rows_with_header);
    void set_table_text(int column, int row, const QString& text);
    [[nodiscard]] QString table_text(int column, int row) const;
    [[nodiscard]] int table_rows_with_header() const;

    void set_legend_text(int column, int row, const QString& text);
    [[nodiscard]] QString legend_text(int column, int row) const;

    // Places the window by its outer size and frame corner, kept within a
    // minimum that shows its areas and the screen it opens on (a damaged
    // settings file); outer_size() gives back what was set or dragged.
    void set_bounds(int left, int top, int width, int height);
    [[nodiscard]] QSize outer_size() const;

    // Lays out the three areas for the current size, then brings the legend up
    // to date (mode 1: kind names; mode 2: the scale step) and repaints.
    void FormResize();

    // What the paint box shows for its current size and the grids' text.
    [[nodiscard]] pie_picture pie() const;
    [[nodiscard]] period_graph_picture period() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    friend class graph_paint_box;
    void paint_PaintBox(QPainter& painter) const;
    void lay_out(int client_width, int client_height);
    void draw_pie_legend();
    void draw_period_legend();
    [[nodiscard]] QString cell(const QTableWidget* grid, int column, int row) const;
    void set_cell(QTableWidget* grid, int column, int row, const QString& text);
    void show_header_row();

    int graph_mode_;
    QTableWidget* draw_Shuukei_ = nullptr;
    graph_legend_grid* taiou_list_box_ = nullptr;
    QWidget* PaintBox_ = nullptr;
};

// The legend column widths of mode 1 for a legend grid of the given width.
struct pie_legend_widths {
    int swatch, gap, name;
};
[[nodiscard]] pie_legend_widths pie_legend_column_widths(int legend_width);

} // namespace kozenica
