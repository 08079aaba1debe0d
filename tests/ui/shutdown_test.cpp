// Closing the main window: the save question, and the settings file that
// brings window sizes and column widths back at the next start.
#include "support/temp_program_dir.h"
#include "ui/f_name_window/file_name_form.h"
#include "ui/list_window/list_form.h"
#include "ui/main/main_form.h"
#include "ui/platform/message_box.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

static void PrintTo(const QString& text, std::ostream* os) {
    *os << text.toStdString();
}

namespace kozenica {
namespace {

using testing::temp_program_dir;

const QString save_question = QStringLiteral("現在のデータを保存しますか?");

std::int32_t entry(const std::string& file, int i) {
    const auto* b = reinterpret_cast<const unsigned char*>(file.data() + 4 * i);
    return std::int32_t(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
                        std::uint32_t(b[3]) << 24);
}

class shutdown : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("kindlist.dat", "1\r\nfood\r\n2\r\nrent\r\n");
        start();
    }

    void start() {
        form = std::make_unique<main_form>(dir.path(), notify, runner);
        notify.messages.clear();
    }

    // Closes the window as its close box does; true when it closed.
    bool close_window() { return form->close(); }

    void answer_save_dialog(const QString& year, int month, int format_item, bool ok) {
        runner.push([=](QDialog& d) {
            auto& f = dynamic_cast<file_name_form&>(d);
            f.year()->setText(year);
            f.month()->setCurrentIndex(month - 1);
            f.select_format_item(format_item);
            return ok ? QDialog::Accepted : QDialog::Rejected;
        });
    }

    int questions() const {
        return int(
            std::count_if(notify.messages.begin(), notify.messages.end(),
                          [](const recorded_message& m) { return m.question && m.text == save_question; }));
    }

    temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
};

TEST_F(shutdown, asks_right_after_start_up_because_the_shown_line_counts_as_changed) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QApplication::processEvents();
    EXPECT_TRUE(close_window());
    ASSERT_EQ(questions(), 1);
    EXPECT_EQ(notify.messages[0].kind, message_kind::plain);
    EXPECT_EQ(dir.read("kozenic.int").size(), 88u);
}

TEST_F(shutdown, unchanged_month_closes_without_a_question) {
    form->state().changed_flag = false;
    EXPECT_TRUE(close_window());
    EXPECT_EQ(questions(), 0);
    EXPECT_EQ(runner.runs(), 0);
    EXPECT_TRUE(dir.exists("kozenic.int"));
}

TEST_F(shutdown, each_answer_saves_or_not_and_still_writes_the_settings) {
    struct {
        const char* name;
        bool yes;
        bool dialog_ok;
        int dialogs;
        bool month_written;
    } cases[] = {
        {"no", false, false, 0, false},
        {"yes, then cancel", true, false, 1, false},
        {"yes, then OK", true, true, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        temp_program_dir own;
        scripted_notifier n;
        scripted_modal_runner r;
        main_form f(own.path(), n, r);
        n.answers.push_back(c.yes);
        r.push([&](QDialog& d) {
            auto& dialog = dynamic_cast<file_name_form&>(d);
            dialog.year()->setText(QStringLiteral("2024"));
            dialog.month()->setCurrentIndex(4);
            dialog.select_format_item(0);
            return c.dialog_ok ? QDialog::Accepted : QDialog::Rejected;
        });
        f.state().changed_flag = true;
        EXPECT_TRUE(f.close());
        EXPECT_EQ(r.runs(), c.dialogs);
        EXPECT_EQ(own.exists("2024_5.kzn"), c.month_written);
        EXPECT_EQ(own.read("kozenic.int").size(), 88u);
    }
}

TEST_F(shutdown, a_run_that_never_showed_the_kind_list_writes_its_initial_size) {
    form->state().changed_flag = false;
    ASSERT_TRUE(close_window());
    const std::string file = dir.read("kozenic.int");
    ASSERT_EQ(file.size(), 88u);
    const std::int32_t expected[] = {64, 64, 208, 185};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(entry(file, 12 + i), expected[i]) << "entry " << 12 + i;
}

TEST_F(shutdown, writes_the_window_and_grid_as_they_stand_and_keeps_the_graph_entries) {
    form->setGeometry(30, 20, 700, 480);
    const QPoint place = form->pos(); // where the frame stands, as start-up applies it
    for (int c = 0; c < 8; ++c)
        form->draw_shuushi()->setColumnWidth(c, 31 + 7 * c);
    form->settings()[setting::graph_width] = 333;
    form->settings()[setting::summary_column0 + 2] = 55;
    form->state().changed_flag = false;
    ASSERT_TRUE(close_window());

    const std::string file = dir.read("kozenic.int");
    ASSERT_EQ(file.size(), 88u);
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(entry(file, c), 31 + 7 * c) << "column " << c;
    EXPECT_EQ(entry(file, setting::main_top), place.y());
    EXPECT_EQ(entry(file, setting::main_left), place.x());
    EXPECT_EQ(entry(file, setting::main_width), 700);
    EXPECT_EQ(entry(file, setting::main_height), 480);
    EXPECT_EQ(entry(file, setting::summary_column0 + 2), 55);
    EXPECT_EQ(entry(file, setting::graph_width), 333);
    EXPECT_EQ(entry(file, setting::graph_height), 400);
}

TEST_F(shutdown, sizes_and_column_widths_come_back_at_the_next_start) {
    form->setGeometry(40, 60, 720, 500);
    form->draw_shuushi()->setColumnWidth(3, 150);
    form->show_list_form();
    list_form* list = form->list_window();
    list->resize(250, 320);
    list->draw_klist()->setColumnWidth(0, 33);
    list->draw_klist()->setColumnWidth(1, 140);
    const QPoint place = form->pos();
    form->state().changed_flag = false;
    ASSERT_TRUE(close_window());
    form.reset();

    start();
    EXPECT_EQ(form->pos(), place);
    EXPECT_EQ(form->size(), QSize(720, 500));
    EXPECT_EQ(form->draw_shuushi()->columnWidth(3), 150);
    EXPECT_EQ(form->draw_shuushi()->columnWidth(1), 80);
    form->show_list_form();
    list = form->list_window();
    EXPECT_EQ(list->size(), QSize(250, 320));
    EXPECT_EQ(list->draw_klist()->columnWidth(0), 33);
    EXPECT_EQ(list->draw_klist()->columnWidth(1), 140);
}

TEST_F(shutdown, a_failed_save_keeps_the_window_open_and_the_next_close_asks_again) {
    // A directory in place of the month file makes the save fail.
    ASSERT_TRUE(QDir(QString::fromStdString(dir.path())).mkdir(QStringLiteral("2024_5.kzn")));
    form->state().changed_flag = true;
    notify.answers.push_back(true);
    answer_save_dialog(QStringLiteral("2024"), 5, 0, true);
    EXPECT_FALSE(close_window());
    EXPECT_EQ(notify.messages.back().kind, message_kind::error);
    EXPECT_EQ(notify.messages.back().text, general_io_error_text(EISDIR));
    EXPECT_TRUE(form->state().changed_flag);
    EXPECT_FALSE(dir.exists("kozenic.int")) << "the settings wait for the real close";

    notify.answers.push_back(false);
    EXPECT_TRUE(close_window());
    EXPECT_EQ(questions(), 2);
    EXPECT_EQ(dir.read("kozenic.int").size(), 88u);
}

TEST_F(shutdown, a_settings_file_that_cannot_be_written_is_reported_and_the_window_still_closes) {
    ASSERT_TRUE(QDir(QString::fromStdString(dir.path())).mkdir(QStringLiteral("kozenic.int")));
    form->state().changed_flag = false;
    EXPECT_TRUE(close_window());
    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_EQ(notify.messages[0].kind, message_kind::error);
    EXPECT_EQ(notify.messages[0].text, general_io_error_text(EISDIR));
}

TEST_F(shutdown, exit_command_runs_the_same_close_query) {
    form->state().changed_flag = true;
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->ExitClick();
    EXPECT_EQ(questions(), 1);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(dir.exists("kozenic.int"));
}

} // namespace
} // namespace kozenica
