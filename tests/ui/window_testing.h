#pragma once
// A main window over a temporary program directory with a scripted notifier and modal runner,
// and the same window shown with kind and correspondence lists, typed into as a user would.

#include "core/ledger_editor.h"
#include "core/month_file.h"
#include "ui/f_name_window/file_name_form.h"
#include "ui/main/ledger_delegate.h"
#include "ui/main/ledger_model.h"
#include "ui/main/ledger_view.h"
#include "ui/main/main_form.h"
#include "ui/platform/message_box.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"
#include "ui/platform/sjis.h"
#include "ui/term_window/term_input_form.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

// Failing comparisons show the texts themselves.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace kozenica::testing {

using namespace Qt::StringLiterals;

// A temporary program directory for one test, removed at the end; path() ends in '/'.
class temp_program_dir {
  public:
    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] std::string file(std::string_view name) const { return path_ + std::string(name); }
    void write(std::string_view name, std::string_view bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
    }
    [[nodiscard]] std::string read(std::string_view name) const {
        std::ifstream in(file(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    [[nodiscard]] bool exists(std::string_view name) const { return std::filesystem::exists(file(name)); }
    // Makes the folders of a relative path (UTF-8, as the file system names them) and takes the deepest.
    void enter(std::string_view relative) {
        std::filesystem::create_directories(path_ += std::string(relative) + '/');
    }

  private:
    QTemporaryDir dir_;
    std::string path_ = QFile::encodeName(dir_.path()).toStdString() + '/';
};

// Shift-JIS bytes of a UTF-8 text, for readable expectations.
inline std::string sjis(std::string_view utf8) {
    return to_sjis(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

// Lines of UTF-8 text, split at '\n'.
inline QStringList texts(const char* utf8_lines) {
    return QString::fromUtf8(utf8_lines).split(u'\n');
}

struct choice {
    const char* year;
    int month, format_item; // 1 to 12; 0 KZN, 1 CSV
};

// How text arrives in a widget: typed a character at a time, pasted with Ctrl+V, committed by an
// input method after a composition, or committed late with no composition shown in the widget.
enum class arrival { typed, pasted, committed, stray };
// An input method's event: the composition shown so far and the text it commits.
inline void input_method(QWidget* to, const QString& preedit, const QString& commit = {}) {
    QInputMethodEvent event(preedit, {});
    event.setCommitString(commit);
    QApplication::sendEvent(to, &event);
}
inline void offer(QWidget* to, const QString& text, arrival how) {
    if (how == arrival::typed) {
        for (qsizetype i = 0, n = 1; i < text.size(); i += n) {
            n = text.at(i).isHighSurrogate() ? 2 : 1;
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, text.mid(i, n));
            QApplication::sendEvent(to, &key);
        }
    } else if (how == arrival::pasted) {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(to, Qt::Key_V, Qt::ControlModifier);
    } else {
        if (how == arrival::committed) input_method(to, u"ぎゅう"_s);
        input_method(to, {}, text);
    }
}

class program_window_test : public ::testing::Test {
  protected:
    void SetUp() override { start(); }
    void start() {
        form = std::make_unique<main_form>(dir.path(), notify, runner);
        notify.messages.clear();
    }
    // The next year/month dialog is noted in seen as "caption year/month format",
    // filled in with the choice if any, then closed with OK or Cancel.
    void answer(std::optional<choice> c, bool ok = true) {
        runner.push([this, c, ok](QDialog& d) {
            auto& f = dynamic_cast<file_name_form&>(d);
            seen << u"%1 %2/%3 %4"_s.arg(f.windowTitle(), f.year()->text(), f.month()->currentText(),
                                         f.format_item() ? u"CSV"_s : u"KZN"_s);
            if (c) {
                f.year()->setText(QString::fromUtf8(c->year));
                f.month()->setCurrentIndex(c->month - 1);
                f.select_format_item(c->format_item);
            }
            return ok ? QDialog::Accepted : QDialog::Rejected;
        });
    }
    // The next period dialog is noted in seen as "caption|label|start year|month|end year|month",
    // answered with the item and "year/month" texts, or cancelled when there is no item.
    void answer_period(const char* item, const char* start = "", const char* end = "", bool csv = true) {
        const QString from = QString::fromUtf8(start), to = QString::fromUtf8(end);
        runner.push([=, this](QDialog& d) {
            auto& f = dynamic_cast<term_input_form&>(d);
            seen << QStringList({f.windowTitle(), f.Label7()->text(), f.start_year_box()->text(),
                                 f.start_month_box()->currentText(), f.end_year_box()->text(),
                                 f.end_month_box()->currentText()})
                        .join(u'|');
            if (!item) return int(QDialog::Rejected);
            f.name_box()->setText(QString::fromUtf8(item));
            f.start_year_box()->setText(from.section(u'/', 0, 0));
            f.end_year_box()->setText(to.section(u'/', 0, 0));
            f.start_month_box()->setCurrentIndex(from.section(u'/', 1).toInt() - 1);
            f.end_month_box()->setCurrentIndex(to.section(u'/', 1).toInt() - 1);
            (csv ? f.csv_item() : f.kzn_item())->setChecked(true);
            return int(QDialog::Accepted);
        });
    }
    // Writes a month file, CSV or KZN by its name, of lines "day|shop|item|kind|income|expense|memo".
    void write_month(std::string_view name, const char* lines) const {
        shuushi_data t;
        t.lines[1] = carried_forward_line();
        for (const QString& line : texts(lines)) {
            const QStringList f = line.split(u'|');
            shuushi_line& s = t.lines[std::size_t(t.row_count++)];
            std::tie(s.day, s.kind, s.income, s.expense) =
                std::tuple(std::int8_t(f[0].toInt()), f[3].toInt(), f[4].toInt(), f[5].toInt());
            s.shop.assign(to_sjis(f[1])), s.item.assign(to_sjis(f[2])), s.memo.assign(to_sjis(f.value(6)));
        }
        dir.write(name, name.ends_with(".csv") ? encode_csv(t) : encode_kzn(t));
    }
    // The box that tells of a missing month file of the program's folder.
    QString missing(const char* name) const {
        return u"ファイル(%1)がありません"_s.arg(QString::fromStdString(dir.file(name)));
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
    void commit_input(const QString& text) { offer(focus(), text, arrival::committed); }
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
