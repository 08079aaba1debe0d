// Edit menu commands: the Enter walk, row operations, balance, font, version.
#include "core/editor_texts.h"
#include "core/ledger_editor.h"
#include "core/notifier.h"
#include "ledger_model.h"
#include "ledger_view.h"
#include "main_form.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/sjis.h"

#include <QApplication>
#include <QFontDialog>
#include <QLineEdit>
#include <QMenuBar>

namespace kozenica {

void main_form::take_cursor() {
    const QModelIndex current = draw_shuushi_->currentIndex();
    if (current.isValid()) editor_->set_current({current.column(), current.row() + 1});
}

void main_form::show_edit() {
    model_->sync();
    const cell_pos at = editor_->current();
    draw_shuushi_->set_current_cell(at.row, at.column);
    draw_shuushi_->refresh_editor();
}

void main_form::show_table_texts() {
    take_cursor();
    show_edit();
}

void main_form::edit_lines(void (ledger_editor::*command)()) {
    take_cursor();
    ((*editor_).*command)();
    show_edit();
}

void main_form::draw_shuushiKeyPress() {
    edit_lines(&ledger_editor::enter);
}

void main_form::go_top_line() {
    edit_lines(&ledger_editor::go_top_line);
    draw_shuushi_->setFocus();
}

void main_form::go_bottom_line() {
    edit_lines(&ledger_editor::go_bottom_line);
    draw_shuushi_->setFocus();
}

void main_form::insert_lineClick() {
    edit_lines(&ledger_editor::insert_line);
}

void main_form::delete_lineClick() {
    edit_lines(&ledger_editor::delete_line);
}

void main_form::copy_befor_line() {
    edit_lines(&ledger_editor::copy_line_above);
}

void main_form::date_sort() {
    take_cursor();
    editor_->date_sort();
    disp_data();
}

void main_form::zandaka_calc_and_disp() {
    zandaka_box_->setText(ascii(editor_->balance_text()));
}

void main_form::font_menuClick() {
    // One dialog for the run, so that it starts from the last choice.
    if (!FontDialog_) {
        FontDialog_ = new QFontDialog(font(), this);
        FontDialog_->setObjectName(QStringLiteral("FontDialog"));
    }
    // Offer the face the window really shows: the dialog lists no face under
    // the substituted name and would otherwise start from an unrelated one.
    QFont shown = font();
    shown.setFamily(QFontInfo(shown).family());
    FontDialog_->setCurrentFont(shown);
    if (runner_.run(*FontDialog_) != QDialog::Accepted) return;
    const QFont chosen = FontDialog_->currentFont();
    // The menu bar holds a font of its own and keeps it; the grid keeps its
    // row heights, which were set explicitly.
    setFont(chosen);
}

void main_form::versionClick() {
    notify_.tell(message_kind::plain, texts::version);
}

} // namespace kozenica
