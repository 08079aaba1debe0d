#pragma once
// Draws the ledger grid's cells and makes the cell editor that hands every
// change of its text to the model at once, so that 1234 becomes 1,234 as it is
// typed.

#include <QLineEdit>
#include <QStyledItemDelegate>

namespace kozenica {

class ledger_model;

// Where a cell's text stands: the header centred; in the lines the day
// centred, the shop, item and memo left, the margin, kind and amounts right.
// Always on one line at the top of the cell.
[[nodiscard]] Qt::Alignment ledger_cell_alignment(int grid_row, int column);

class ledger_cell_editor : public QLineEdit {
    Q_OBJECT
  public:
    explicit ledger_cell_editor(QWidget* parent);
    // Shows the cell's text; when it differs from what is being typed, the
    // caret keeps its distance from the end, so it stays behind the digit or
    // letter just typed even when commas come or go before it.
    void show_cell_text(const QString& text);
};

class ledger_delegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit ledger_delegate(ledger_model& model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

  protected:
    bool eventFilter(QObject* editor, QEvent* event) override;

  private:
    ledger_model& model_;
};

} // namespace kozenica
