#pragma once
// A main window over a temporary program directory with a scripted notifier and modal runner,
// and the same window shown with kind and correspondence lists, typed into as a user would.

#include "core/ledger_editor.h"
#include "support/temp_program_dir.h"
#include "ui/f_name_window/file_name_form.h"
#include "ui/main/ledger_delegate.h"
#include "ui/main/ledger_model.h"
#include "ui/main/ledger_view.h"
#include "ui/main/main_form.h"
#include "ui/platform/message_box.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace kozenica::testing {

using namespace Qt::StringLiterals;

// Puts a window's outer frame exactly at the rectangle, whatever frame the platform draws.
inline void set_outer_geometry(QWidget& w, const QRect& outer) {
    w.setGeometry(outer);
    const QRect in = w.geometry(), frame = w.frameGeometry();
    w.setGeometry(outer.adjusted(in.left() - frame.left(), in.top() - frame.top(), in.right() - frame.right(),
                                 in.bottom() - frame.bottom()));
}

struct choice {
    const char* year;
    int month, format_item; // 1 to 12; 0 KZN, 1 CSV
};

class program_window_test : public ::testing::Test {
  protected:
    void SetUp() override { start(); }
    void start() {
        form = std::make_unique<main_form>(dir.path(), notify, runner);
        notify.messages.clear();
    }
    // The next year/month dialog is noted in seen as "caption year/month format x,y",
    // filled in with the choice if any, then closed with OK or Cancel.
    void answer(std::optional<choice> c, bool ok = true) {
        runner.push([this, c, ok](QDialog& d) {
            auto& f = dynamic_cast<file_name_form&>(d);
            seen << u"%1 %2/%3 %4 %5,%6"_s
                        .arg(f.windowTitle(), f.year()->text(), f.month()->currentText(),
                             f.format_item() ? u"CSV"_s : u"KZN"_s)
                        .arg(f.x())
                        .arg(f.y());
            if (c) {
                f.year()->setText(QString::fromUtf8(c->year));
                f.month()->setCurrentIndex(c->month - 1);
                f.select_format_item(c->format_item);
            }
            return ok ? QDialog::Accepted : QDialog::Rejected;
        });
    }
    // A directory where the file should be, so that writing it fails.
    bool block(const char* name) const {
        return QDir(QString::fromStdString(dir.path())).mkdir(QLatin1String(name));
    }

    temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
    QStringList seen;
};

using line_values = std::tuple<int, const char*, int, int>; // day, shop (UTF-8), income, expense

class main_form_test : public program_window_test {
  protected:
    void SetUp() override {
        dir.write("kindlist.dat", "1\r\n" + sjis("食費") + "\r\n12\r\n" + sjis("乳製品") + "\r\n");
        dir.write("corresp.dat", "12\r\n" + sjis("牛乳") + "\r\n3\r\n" + sjis("パン") + "\r\n");
        start();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    ledger_view& grid() { return *form->ledger_grid(); }
    ledger_cell_editor* editor() { return grid().cell_editor(); }
    shuushi_line& line(int row) { return form->table().lines[std::size_t(row)]; }
    QString cell(int row, int column) { // row 1 is line 1
        return form->model()->data(form->model()->index(row - 1, column), Qt::DisplayRole).toString();
    }
    cell_pos current() { return {grid().currentIndex().column(), grid().currentIndex().row() + 1}; }
    // Keys go to the focused widget; Japanese or full-width text comes committed by an input method.
    QWidget* focus() { return QApplication::focusWidget() ? QApplication::focusWidget() : editor(); }
    void commit_input(const QString& text) {
        QInputMethodEvent preedit(text, {}), commit;
        QApplication::sendEvent(focus(), &preedit);
        commit.setCommitString(text);
        QApplication::sendEvent(focus(), &commit);
    }
    // A command clicks the tool button or triggers the menu item of that name.
    void run(const char* command) {
        auto* b = form->findChild<QPushButton*>(QLatin1String(command));
        b ? b->click() : form->findChild<QAction*>(QLatin1String(command))->trigger();
    }
    void load_lines(const std::vector<line_values>& lines) {
        form->table().row_count = int(lines.size()) + 1;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto& [day, shop, income, expense] = lines[i];
            line(int(i) + 1) = {std::int8_t(day), line_text(sjis(shop)), {}, 0, income, expense, {}};
        }
        form->disp_data();
    }
};

} // namespace kozenica::testing
