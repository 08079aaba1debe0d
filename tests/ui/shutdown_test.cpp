// Closing: the save question, and the settings that bring sizes back at the next start.
#include "ui/list_window/list_form.h"
#include "window_testing.h"

#include <QTableWidget>
#include <cstring>

namespace kozenica {
namespace {

using namespace testing;
using shutdown = program_window_test;

// The line shown at start-up counts as changed.
TEST_F(shutdown,
       asks_right_after_start_up_stays_after_a_failed_save_and_a_cancelled_one_writes_the_settings) {
    ASSERT_TRUE(block("2024_5.kzn"));
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    notify.answers = {true, true};
    answer(choice{"2024", 5, 0});
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->state().changed_flag);
    answer(std::nullopt, false);
    EXPECT_TRUE(form->close());
    const QString question = u"現在のデータを保存しますか?"_s;
    EXPECT_EQ(notify.texts(), QStringList({question, general_io_error_text(EISDIR), question}));
    EXPECT_EQ(dir.read("kozenic.int").size(), 88u);
}

TEST_F(shutdown, a_run_that_changed_nothing_writes_back_what_it_started_with) {
    form->state().changed_flag = false;
    ASSERT_TRUE(form->close());
    EXPECT_TRUE(notify.messages.empty());
    std::int32_t written[22] = {};
    const std::string file = dir.read("kozenic.int");
    std::memcpy(written, file.data(), std::min(file.size(), sizeof written));
    // Ledger columns, main window, and the kind list never shown: its first size.
    const std::int32_t expected[16] = {10, 80, 110, 120, 30, 80, 80, 120, 0, 0, 635, 450, 64, 64, 208, 185};
    for (int i = 0; i < 22; ++i)
        EXPECT_EQ(written[i], i < 16 ? expected[i] : form->settings()[i]) << "entry " << i;
}

TEST_F(shutdown, sizes_and_column_widths_come_back_at_the_next_start) {
    form->setGeometry(40, 60, 720, 500);
    form->draw_shuushi()->setColumnWidth(3, 150);
    form->settings()[setting::graph_width] = 333; // as a graph window leaves it
    form->show_list_form();
    form->list_window()->resize(250, 320);
    form->list_window()->draw_klist()->setColumnWidth(1, 140);
    const QSize list_outer = form->list_window()->frameGeometry().size();
    const QPoint place = form->pos();
    form->state().changed_flag = false;
    ASSERT_TRUE(form->close());
    start();
    form->show_list_form();
    const QTableWidget& kinds = *form->list_window()->draw_klist();
    EXPECT_EQ(QRect(form->pos(), form->size()), QRect(place, QSize(720, 500)));
    EXPECT_EQ(form->draw_shuushi()->columnWidth(3), 150);
    EXPECT_EQ(form->settings()[setting::graph_width], 333);
    EXPECT_EQ(form->list_window()->frameGeometry().size(), list_outer);
    EXPECT_EQ(QSize(kinds.columnWidth(0), kinds.columnWidth(1)), QSize(40, 140));
}

} // namespace
} // namespace kozenica
