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

namespace kozenica {
namespace {

using testing::temp_program_dir;

std::int32_t entry(const std::string& file, int i) {
    const auto* b = reinterpret_cast<const unsigned char*>(file.data() + 4 * i);
    return std::int32_t(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
                        std::uint32_t(b[3]) << 24);
}

// The save dialog answered with 2024/5 KZN, by OK or cancel.
void answer_save_dialog(scripted_modal_runner& runner, bool ok) {
    runner.push([ok](QDialog& d) {
        auto& f = dynamic_cast<file_name_form&>(d);
        f.year()->setText(QStringLiteral("2024"));
        f.month()->setCurrentIndex(4);
        f.select_format_item(0);
        return ok ? QDialog::Accepted : QDialog::Rejected;
    });
}

class shutdown : public ::testing::Test {
  protected:
    void SetUp() override { start(); }
    void start() {
        form = std::make_unique<main_form>(dir.path(), notify, runner);
        notify.messages.clear();
    }
    int questions() const {
        return int(
            std::count_if(notify.messages.begin(), notify.messages.end(), [](const recorded_message& m) {
                return m.question && m.kind == message_kind::plain &&
                       m.text == QStringLiteral("現在のデータを保存しますか?");
            }));
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
    EXPECT_TRUE(form->close());
    EXPECT_EQ(questions(), 1);
}

TEST_F(shutdown, every_answer_ends_the_program_and_writes_the_settings) {
    struct {
        const char* name;
        bool changed, yes, dialog_ok;
        int dialogs;
        bool month_written;
    } cases[] = {{"unchanged", false, false, false, 0, false},
                 {"no", true, false, false, 0, false},
                 {"yes, then cancel", true, true, false, 1, false},
                 {"yes, then OK", true, true, true, 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        temp_program_dir own;
        scripted_notifier n;
        scripted_modal_runner r;
        main_form f(own.path(), n, r);
        n.messages.clear();
        n.answers.push_back(c.yes);
        answer_save_dialog(r, c.dialog_ok);
        f.state().changed_flag = c.changed;
        EXPECT_TRUE(f.close());
        EXPECT_EQ(n.messages.size(), c.changed ? 1u : 0u);
        EXPECT_EQ(r.runs(), c.dialogs);
        EXPECT_EQ(own.exists("2024_5.kzn"), c.month_written);
        EXPECT_EQ(own.read("kozenic.int").size(), 88u);
    }
}

TEST_F(shutdown, a_run_that_changed_nothing_writes_back_what_it_started_with) {
    form->state().changed_flag = false;
    ASSERT_TRUE(form->close());
    const std::string file = dir.read("kozenic.int");
    ASSERT_EQ(file.size(), 88u);
    // Ledger columns, main window, and the kind list never shown: its initial size.
    const std::int32_t expected[16] = {10, 80, 110, 120, 30, 80, 80, 120, 0, 0, 635, 450, 64, 64, 208, 185};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(entry(file, i), expected[i]) << "entry " << i;
    for (int i = 16; i < 22; ++i)
        EXPECT_EQ(entry(file, i), form->settings()[i]) << "entry " << i;
}

TEST_F(shutdown, sizes_and_column_widths_come_back_at_the_next_start) {
    form->setGeometry(40, 60, 720, 500);
    form->draw_shuushi()->setColumnWidth(3, 150);
    form->settings()[setting::graph_width] = 333; // as a graph window leaves it
    form->show_list_form();
    form->list_window()->resize(250, 320);
    form->list_window()->draw_klist()->setColumnWidth(1, 140);
    const QPoint place = form->pos(); // where the frame stands, as start-up applies it
    form->state().changed_flag = false;
    ASSERT_TRUE(form->close());
    form.reset();

    start();
    EXPECT_EQ(form->pos(), place);
    EXPECT_EQ(form->size(), QSize(720, 500));
    EXPECT_EQ(form->draw_shuushi()->columnWidth(3), 150);
    EXPECT_EQ(form->settings()[setting::graph_width], 333);
    form->show_list_form();
    EXPECT_EQ(form->list_window()->size(), QSize(250, 320));
    EXPECT_EQ(form->list_window()->draw_klist()->columnWidth(0), 40) << "entry 12 as read from the file";
    EXPECT_EQ(form->list_window()->draw_klist()->columnWidth(1), 140);
}

TEST_F(shutdown, a_failed_save_keeps_the_window_open_and_the_next_close_asks_again) {
    // A directory in place of the month file makes the save fail.
    ASSERT_TRUE(QDir(QString::fromStdString(dir.path())).mkdir(QStringLiteral("2024_5.kzn")));
    form->state().changed_flag = true;
    notify.answers = {true, false};
    answer_save_dialog(runner, true);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(notify.messages.back().text, general_io_error_text(EISDIR));
    EXPECT_TRUE(form->state().changed_flag);
    EXPECT_FALSE(dir.exists("kozenic.int")) << "the settings wait for the real close";

    EXPECT_TRUE(form->close());
    EXPECT_EQ(questions(), 2);
    EXPECT_EQ(dir.read("kozenic.int").size(), 88u);
}

TEST_F(shutdown, a_settings_file_that_cannot_be_written_is_reported_and_the_window_still_closes) {
    ASSERT_TRUE(QDir(QString::fromStdString(dir.path())).mkdir(QStringLiteral("kozenic.int")));
    form->state().changed_flag = false;
    EXPECT_TRUE(form->close());
    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_EQ(notify.messages[0].kind, message_kind::error);
    EXPECT_EQ(notify.messages[0].text, general_io_error_text(EISDIR));
}

} // namespace
} // namespace kozenica
