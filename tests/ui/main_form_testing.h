#pragma once
// A shown main window with kind and correspondence lists, typed into as a user would.

#include "core/ledger_editor.h"
#include "file_window_testing.h"
#include "ui/main/ledger_delegate.h"
#include "ui/main/ledger_model.h"
#include "ui/main/ledger_view.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QPushButton>
#include <vector>

namespace kozenica::testing {

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
