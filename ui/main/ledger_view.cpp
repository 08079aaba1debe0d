#include "ledger_view.h"

#include "ledger_delegate.h"
#include "ledger_model.h"
#include "ui/platform/grid_header.h"
#include "ui/platform/row_sizing.h"

#include <QApplication>
#include <QHeaderView>
#include <QInputMethod>
#include <QKeyEvent>

namespace kozenica {

namespace {

bool is_enter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

bool whole_text_selected(const QLineEdit& editor, const QKeyEvent& key) {
    return !(key.modifiers() & Qt::ShiftModifier) && editor.hasSelectedText() &&
           editor.selectedText().size() == editor.text().size();
}

} // namespace

ledger_view::ledger_view(ledger_model& model, QWidget* parent)
    : QTableView(parent), delegate_(new ledger_delegate(model, this)) {
    setObjectName(QStringLiteral("draw_shuushi"));
    setHorizontalHeader(new grid_header(
        Qt::Horizontal, [](int column) { return ledger_cell_alignment(0, column); }, this));
    setModel(&model);
    setItemDelegate(delegate_);
    setEditTriggers(NoEditTriggers); // the persistent editor does all editing
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(row_height);
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setHighlightSections(false);
    new row_sizing(*this); // row heights dragged at the row borders in column 0
    // Rows that come or go keep the editor on the current cell.
    connect(&model, &QAbstractItemModel::modelReset, this, [this] { follow_current(currentIndex()); });
    connect(&model, &QAbstractItemModel::rowsRemoved, this, [this] { follow_current(currentIndex()); });
}

ledger_cell_editor* ledger_view::cell_editor() const {
    return editor_index_.isValid() ? qobject_cast<ledger_cell_editor*>(indexWidget(editor_index_)) : nullptr;
}

void ledger_view::set_current_cell(int grid_row, int column) {
    const QModelIndex target = model()->index(grid_row - 1, column);
    if (target.isValid()) setCurrentIndex(target);
    follow_current(currentIndex());
}

void ledger_view::refresh_editor() {
    if (auto* editor = cell_editor()) editor->enter_cell(editor_index_.data(Qt::EditRole).toString());
}

void ledger_view::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    follow_current(current);
}

void ledger_view::follow_current(const QModelIndex& current) {
    if (QModelIndex(editor_index_) == current && cell_editor()) {
        refresh_editor();
        return;
    }
    // The old editor may already be on its way out (the model was reset), so
    // ask whether the keyboard was anywhere in the grid.
    QWidget* const focused = QApplication::focusWidget();
    const bool had_focus = focused && (focused == this || isAncestorOf(focused));
    QString left_behind;
    if (auto* old = cell_editor()) {
        // A composition still open belongs to the cell it was typed in: the
        // input method commits it there (or, without one, the cell keeps
        // its text), never into the cell moved to.
        left_behind = old->composition_left_behind();
        if (old->composing() && old->hasFocus()) QGuiApplication::inputMethod()->commit();
        // A focused editor that is closed hands the focus on as Tab would,
        // which moves the cursor once more and leaves a second editor open on
        // the cell after; the editor opened below takes the focus instead.
        if (old->hasFocus()) old->clearFocus();
    }
    if (editor_index_.isValid()) closePersistentEditor(editor_index_);
    editor_index_ = current;
    if (!current.isValid()) return;
    openPersistentEditor(current);
    if (auto* editor = cell_editor()) {
        editor->installEventFilter(this);
        editor->enter_cell(current.data(Qt::EditRole).toString());
        if (!left_behind.isEmpty()) editor->refuse_late_commit(left_behind);
        if (had_focus) editor->setFocus();
    }
}

void ledger_view::keyPressEvent(QKeyEvent* event) {
    if (is_enter(*event)) {
        emit enter_pressed();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool ledger_view::editor_passes_to_grid(const ledger_cell_editor& editor, const QKeyEvent& key) const {
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        return key.modifiers() & Qt::ControlModifier;
    // Left and Right leave a cell whose whole text is selected, as on
    // entering it; once the caret is inside (Home, End, F2), they move it and
    // leave the cell at the text's edges. With Shift they keep selecting.
    case Qt::Key_Left:
        return whole_text_selected(editor, key) ||
               (!editor.hasSelectedText() && editor.cursorPosition() == 0);
    case Qt::Key_Right:
        return whole_text_selected(editor, key) ||
               (!editor.hasSelectedText() && editor.cursorPosition() == editor.text().size());
    default:
        return false;
    }
}

bool ledger_view::eventFilter(QObject* watched, QEvent* event) {
    auto* editor = qobject_cast<ledger_cell_editor*>(watched);
    if (editor && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (is_enter(*key)) {
            emit enter_pressed();
            return true;
        }
        if (editor_passes_to_grid(*editor, *key)) {
            QTableView::keyPressEvent(key);
            return true;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void ledger_view::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    // The keyboard comes into the grid (Tab, or a command that moved the
    // cursor): the cell's text is selected as on any entry into a cell; the
    // editor lost its selection when the focus passed through the grid.
    if (auto* editor = cell_editor()) {
        editor->setFocus(event->reason());
        if (!editor->composing()) editor->selectAll();
    }
}

} // namespace kozenica
