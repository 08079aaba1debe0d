#pragma once
// A main window over a temporary program directory for the ledger editor's
// tests: list files written by the test, a scripted notifier and modal
// runner, and helpers that type into the grid as a user would.

#include "core/ledger_editor.h"
#include "support/temp_program_dir.h"
#include "ui/main/ledger_delegate.h"
#include "ui/main/ledger_model.h"
#include "ui/main/ledger_view.h"
#include "ui/main/main_form.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"
#include "ui/platform/sjis.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <vector>

QT_BEGIN_NAMESPACE
// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace kozenica::testing {

// A list file's content: number line and name line per entry, CR LF.
inline std::string list_file(const std::vector<std::pair<int, std::string>>& entries) {
    std::string out;
    for (const auto& [number, utf8_name] : entries)
        out += std::to_string(number) + "\r\n" + sjis(utf8_name) + "\r\n";
    return out;
}

struct line_values {
    int day;
    std::string shop; // UTF-8
    std::string item; // UTF-8
    int kind;
    int income;
    int expense;
};

class main_form_test : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("kindlist.dat", list_file({{1, "食費"}, {12, "乳製品"}}));
        dir.write("corresp.dat", list_file({{12, "牛乳"}, {3, "パン"}}));
        form = std::make_unique<main_form>(dir.path(), notify, runner);
    }

    void show() {
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::processEvents();
    }

    ledger_view& grid() { return *form->ledger_grid(); }
    ledger_cell_editor* editor() { return grid().cell_editor(); }
    shuushi_line& line(int row) { return form->table().lines[std::size_t(row)]; }

    // The text a grid cell shows (row 1 is line 1).
    QString cell(int row, int column) {
        return form->model()->data(form->model()->index(row - 1, column), Qt::DisplayRole).toString();
    }
    cell_pos current() {
        const QModelIndex i = grid().currentIndex();
        return {i.column(), i.row() + 1};
    }
    void go_to(int row, int column) { grid().set_current_cell(row, column); }

    // Keys go where the application sends them: to the focused widget.
    QWidget* focus() {
        QWidget* w = QApplication::focusWidget();
        return w ? w : editor();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(focus(), k, mods); }
    void type_ascii(const char* text) { QTest::keyClicks(focus(), QLatin1String(text)); }
    // One key event per character, with its text, as a keyboard layout that
    // produces full-width characters would send them.
    void type_text(const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(focus(), &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(focus(), &release);
        }
    }
    // Text committed by an input method (Japanese through an IME).
    void commit_input(const QString& text) {
        QInputMethodEvent preedit(text, {});
        QApplication::sendEvent(focus(), &preedit);
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(focus(), &commit);
    }
    void enter() { key(Qt::Key_Return); }

    // Replaces the month with the given lines and shows it.
    void load_lines(const std::vector<line_values>& lines) {
        shuushi_data& t = form->table();
        t.row_count = int(lines.size()) + 1;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            shuushi_line& l = t.lines[i + 1];
            l = shuushi_line{};
            l.day = std::int8_t(lines[i].day);
            l.shop.assign(sjis(lines[i].shop));
            l.item.assign(sjis(lines[i].item));
            l.kind = lines[i].kind;
            l.income = lines[i].income;
            l.expense = lines[i].expense;
        }
        form->disp_data();
    }

    temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
};

} // namespace kozenica::testing
