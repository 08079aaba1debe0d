#pragma once
// The result table window of the cheapest-price search: one grid, hyou_disp,
// filling the window. The grid's row 0 is its header row and column 0 its
// header column; they are the table's horizontal and vertical headers, so the
// user can drag column widths and move rows by their header cells.

#include <QWidget>

class QTableWidget;

namespace kozenica {

// Where hyou_dispDrawCell puts a cell's text (grid column and row, header row
// and column included): row 0 centred; columns 4, 5 and 6 right; column 1
// centred; every other column left. Always from the top of the rectangle.
[[nodiscard]] Qt::Alignment hyou_cell_alignment(int col, int row);

class hyou_form : public QWidget {
    Q_OBJECT
  public:
    // Created hidden at start-up, owned by the main window, kept for the run.
    explicit hyou_form(QWidget* owner);

    [[nodiscard]] QTableWidget* hyou_disp() const { return hyou_disp_; }

    // The grid as the search sees it: counts, widths and texts include the
    // header row 0 and the header column 0.
    [[nodiscard]] int col_count() const;
    [[nodiscard]] int row_count() const;
    void set_col_count(int count);
    // A new row count also puts rows moved by the user back in their order.
    void set_row_count(int count);
    [[nodiscard]] int col_width(int col) const;
    void set_col_width(int col, int width);
    [[nodiscard]] QString cell(int col, int row) const;
    void set_cell(int col, int row, const QString& text);

  private:
    QTableWidget* hyou_disp_ = nullptr;
};

} // namespace kozenica
