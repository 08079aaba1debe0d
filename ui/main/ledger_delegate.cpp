#include "ledger_delegate.h"

#include "ledger_model.h"
#include "ui/platform/cell_painting.h"
#include "ui/platform/cell_text.h"
#include "ui/platform/storable_text.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPersistentModelIndex>

namespace kozenica {

Qt::Alignment ledger_cell_alignment(int grid_row, int column) {
    Qt::Alignment horizontal = Qt::AlignRight;
    if (grid_row == 0 || column == 1)
        horizontal = Qt::AlignHCenter;
    else if (column == 2 || column == 3 || column == 7)
        horizontal = Qt::AlignLeft;
    return horizontal | Qt::AlignTop;
}

ledger_cell_editor::ledger_cell_editor(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setObjectName(QStringLiteral("ledger_cell_editor"));
    keep_storable(this);
}

void ledger_cell_editor::enter_cell(const QString& shown) {
    if (shown != text()) setText(shown);
    selectAll();
}

// The editor stands on the current cell and covers it: it draws the current
// cell's frame itself.
void ledger_cell_editor::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    paint_current_frame(painter, rect(), palette(), false);
}

void ledger_cell_editor::keyPressEvent(QKeyEvent* event) {
    // F2 edits inside the text: the selection goes, the caret stands at the end.
    if (event->modifiers() == Qt::NoModifier && hasSelectedText()) {
        // Left and Right drop the selection at its own start or end, and
        // F2 at the end of the text, ready to edit inside it.
        const int start = selectionStart(), stop = selectionEnd();
        switch (event->key()) {
        case Qt::Key_Left:
            setCursorPosition(start);
            return;
        case Qt::Key_Right:
            setCursorPosition(stop);
            return;
        case Qt::Key_F2:
            end(false);
            return;
        default:
            break;
        }
    }
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) return;
    QLineEdit::keyPressEvent(event);
}

namespace {
// How long after a move a commit of the composition left behind counts as
// that composition's, not as typed into the cell moved to.
constexpr qint64 late_commit_ms = 1000;
// How recent a commit must be to have been made by the move itself.
constexpr qint64 move_commit_ms = 200;
} // namespace

QString ledger_cell_editor::composition_left_behind() const {
    if (composing_) return preedit_;
    if (committed_at_.isValid() && committed_at_.elapsed() < move_commit_ms) return committed_composition_;
    return {};
}

void ledger_cell_editor::refuse_late_commit(const QString& text) {
    late_commit_ = text;
    late_commit_since_.start();
}

void ledger_cell_editor::inputMethodEvent(QInputMethodEvent* event) {
    if (!late_commit_.isEmpty()) {
        const bool late = !composing_ && event->preeditString().isEmpty() &&
                          event->commitString() == late_commit_ &&
                          late_commit_since_.elapsed() < late_commit_ms;
        if (late || !event->preeditString().isEmpty()) late_commit_.clear();
        if (late) {
            event->accept();
            return;
        }
    }
    const bool was_composing = composing_;
    if (!was_composing && !event->preeditString().isEmpty())
        before_composition_ = {text(), selectionStart(), int(selectedText().size()), cursorPosition()};

    // The committed text loses what the files cannot hold before the line
    // edit sees it, so that the composition's end never replaces the text.
    const QString commit = storable_text(event->commitString());
    QInputMethodEvent kept(event->preeditString(), event->attributes());
    kept.setCommitString(commit, event->replacementStart(), event->replacementLength());

    composing_ = !event->preeditString().isEmpty();
    preedit_ = event->preeditString();
    if (was_composing && !commit.isEmpty()) {
        committed_composition_ = event->commitString();
        committed_at_.start();
    }
    QLineEdit::inputMethodEvent(&kept);
    event->setAccepted(kept.isAccepted());

    // Cancelled (Escape, or the composition deleted): the text and selection
    // that were there come back. The cell itself never lost them.
    if (was_composing && !composing_ && commit.isEmpty() && event->replacementLength() == 0) {
        const shown_state& s = before_composition_;
        setText(s.text);
        if (s.selection_start >= 0)
            setSelection(s.selection_start, s.selection_length);
        else
            setCursorPosition(s.cursor);
    }
}

void ledger_cell_editor::show_cell_text(const QString& shown) {
    if (shown == text()) return;
    const qsizetype from_end = text().size() - cursorPosition();
    setText(shown);
    setCursorPosition(int(std::clamp<qsizetype>(shown.size() - from_end, 0, shown.size())));
}

ledger_delegate::ledger_delegate(ledger_model& model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

void ledger_delegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    // Drawing a line's cell is where its text counts as committed.
    model_.commit_drawn(index);

    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QRect text_rect = cell_text_rect(option.rect);
    const bool selected = opt.state & QStyle::State_Selected;
    painter->save();
    painter->setClipRect(text_rect);
    painter->setFont(opt.font);
    painter->setPen(
        opt.palette.color(QPalette::Normal, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(text_rect,
                      int(ledger_cell_alignment(index.row() + 1, index.column())) | Qt::TextSingleLine, text);
    painter->restore();
}

QWidget* ledger_delegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                       const QModelIndex& index) const {
    auto* editor = new ledger_cell_editor(parent);
    editor->setAlignment(ledger_cell_alignment(index.row() + 1, index.column()) & Qt::AlignHorizontal_Mask);
    const QPersistentModelIndex cell(index);
    // Every change reaches the cell at once; the editor then shows the
    // cell's normal form.
    connect(editor, &QLineEdit::textEdited, editor, [this, editor, cell](const QString& text) {
        // While an input method composes, the cell keeps its text.
        if (!cell.isValid() || editor->composing()) return;
        model_.setData(cell, text, Qt::EditRole);
        editor->show_cell_text(model_.data(cell, Qt::EditRole).toString());
    });
    return editor;
}

void ledger_delegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* e = qobject_cast<ledger_cell_editor*>(editor))
        e->show_cell_text(index.data(Qt::EditRole).toString());
}

void ledger_delegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                   const QModelIndex& index) const {
    if (auto* e = qobject_cast<ledger_cell_editor*>(editor)) model->setData(index, e->text(), Qt::EditRole);
}

bool ledger_delegate::eventFilter(QObject* editor, QEvent* event) {
    // Every change was committed as it was typed, and the editor stays open:
    // leaving it has nothing to hand over.
    if (event->type() == QEvent::FocusOut) return false;
    return QStyledItemDelegate::eventFilter(editor, event);
}

void ledger_delegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                           const QModelIndex&) const {
    editor->setGeometry(option.rect);
}

} // namespace kozenica
