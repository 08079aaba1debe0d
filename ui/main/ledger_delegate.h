#pragma once
// Draws the ledger grid's cells and makes the cell editor that hands every
// change of its text to the model at once, so that 1234 becomes 1,234 as it is
// typed.

#include <QElapsedTimer>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace kozenica {

class ledger_model;

// Where a cell's text stands: the header centred; in the lines the day
// centred, the shop, item and memo left, the margin, kind and amounts right.
// Always on one line at the top of the cell.
[[nodiscard]] Qt::Alignment ledger_cell_alignment(int grid_row, int column);

// The editor takes only characters the month files can hold, however they
// arrive. An input method's composition is not the cell's text: the cell keeps
// what it held until the composition is committed, and a cancelled composition
// gives the editor back the text (and selection) it had.
class ledger_cell_editor : public QLineEdit {
    Q_OBJECT
  public:
    explicit ledger_cell_editor(QWidget* parent);
    // Shows the cell's text; when it differs from what is being typed, the
    // caret keeps its distance from the end, so it stays behind the digit or
    // letter just typed even when commas come or go before it.
    void show_cell_text(const QString& text);
    // Shows the text of a cell just moved into, all of it selected, so that
    // the first key typed replaces it.
    void enter_cell(const QString& text);
    // Whether an input method's composition is open.
    [[nodiscard]] bool composing() const { return composing_; }
    // The composition this editor leaves behind when the cursor moves away:
    // the one still open, or the one committed a moment ago by the move
    // itself.
    [[nodiscard]] QString composition_left_behind() const;
    // An input method may commit the composition left behind in the cell
    // moved from once more, late, into this one; that commit is dropped.
    void refuse_late_commit(const QString& text);

  protected:
    void inputMethodEvent(QInputMethodEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    struct shown_state {
        QString text;
        int selection_start = -1;
        int selection_length = 0;
        int cursor = 0;
    };

    bool composing_ = false;
    QString preedit_;
    shown_state before_composition_;
    QString committed_composition_; // the last composition ended by a commit
    QElapsedTimer committed_at_;
    QString late_commit_; // the commit to drop, shortly after entering
    QElapsedTimer late_commit_since_;
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
