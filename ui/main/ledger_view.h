#pragma once
// The ledger grid draw_shuushi: a table view whose cell editor is always open
// on the current cell. Its key hook gives Enter the program's meaning (the
// walk through a line); every other key keeps its usual one. Row heights are
// dragged at the row borders in the narrow margin column, as there is no
// row header.

#include <QPersistentModelIndex>
#include <QTableView>

namespace kozenica {

class ledger_model;
class ledger_delegate;
class ledger_cell_editor;

class ledger_view : public QTableView {
    Q_OBJECT

  public:
    static constexpr int row_height = 20;

    explicit ledger_view(ledger_model& model, QWidget* parent = nullptr);

    // The editor open on the current cell (null while the month has no line).
    [[nodiscard]] ledger_cell_editor* cell_editor() const;
    // Puts the cursor on a grid cell (row 1 is line 1) and the editor on it.
    void set_current_cell(int grid_row, int column);
    // Shows the current cell's text in its editor again after a command
    // changed lines behind it.
    void refresh_editor();

  signals:
    // draw_shuushiKeyPress: Enter (Return or the keypad's Enter) was pressed
    // in the grid or its editor; the key itself goes no further.
    void enter_pressed();

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    void follow_current(const QModelIndex& current);
    [[nodiscard]] bool editor_passes_to_grid(const ledger_cell_editor& editor, const QKeyEvent& key) const;

    ledger_delegate* delegate_;
    QPersistentModelIndex editor_index_;
};

} // namespace kozenica
