// The file menu: new, open, save as, overwrite, and their year/month dialog; closing: the save
// question, and the settings that bring sizes back at the next start.
#include "core/month_file.h"
#include "ui/list_window/list_form.h"
#include "window_testing.h"

#include <QTableWidget>
#include <cstring>
#include <sys/stat.h>

namespace kozenica {
namespace {

using namespace testing;
using file_commands = program_window_test;
using shutdown = program_window_test;

TEST_F(file_commands, open_reads_either_format_and_names_the_month) {
    shuushi_data month;
    month.lines[1] = carried_forward_line(), month.row_count = 3;
    month.lines[2] = {3, line_text(sjis("スーパー")), line_text(sjis("牛乳")), 2, 0, 198, line_text("memo")};
    for (const auto& [format, name, bytes] :
         {std::tuple{0, "2024_5.kzn", encode_kzn(month)}, std::tuple{1, "2024_5.csv", encode_csv(month)}}) {
        dir.write(name, bytes);
        form->state().changed_flag = true;
        answer(choice{"2024", 5, format}), form->file_loadClick();
        EXPECT_TRUE(notify.messages.empty());
        EXPECT_EQ(std::tuple(form->table().row_count, form->table().lines[2], form->state().open_path.str(),
                             form->state().changed_flag, form->windowTitle()),
                  std::tuple(3, month.lines[2], dir.file(name), false,
                             u"Kozenica [%1]"_s.arg(QLatin1String(name))));
    }
}

TEST_F(file_commands, damaged_or_missing_month_opens_empty_and_only_the_missing_one_keeps_its_name) {
    dir.write("2024_5.kzn", "kozenic filX" + std::string("\x02\0\0\0", 4) + std::string(80, '\0'));
    ASSERT_EQ(::mkfifo(dir.file("2024_6.kzn").c_str(), 0600), 0); // no month, and opening it never waits
    const QString damaged = u"Kozenicaのデータではないか、もしくはファイルが壊れています\n"_s;
    const std::tuple<int, int, QString, QString> cases[] = {
        {5, 0, damaged + QString::fromStdString(dir.file("2024_5.kzn")), u"Kozenica"_s},
        {6, 0, damaged + QString::fromStdString(dir.file("2024_6.kzn")), u"Kozenica"_s},
        {5, 1, u"ファイル(2024_5.csv)がありません"_s, u"Kozenica [2024_5.csv]"_s}};
    for (const auto& [month, format, error, caption] : cases) {
        notify.messages.clear(), answer(choice{"2024", month, format}), form->file_loadClick();
        EXPECT_EQ(std::tuple(notify.texts(), form->table().row_count, form->windowTitle()),
                  std::tuple(QStringList{error}, 2, caption));
    }
    form->file_overwriteClick();
    EXPECT_EQ(runner.runs(), 3) << "a named month is overwritten without a dialog";
    EXPECT_EQ(dir.read("2024_5.csv"), sjis("1,,繰越,0,0,0,\r\n"));
}

TEST_F(file_commands, save_as_and_overwrite_without_a_name_write_the_chosen_format) {
    // overwrite, OK, choice, file, its size (0: none); only a KZN save clears the changed flag
    const std::tuple<bool, bool, choice, const char*, std::size_t> cases[] = {
        {false, false, {"2024", 5, 0}, "2024_5.kzn", 0},
        {false, true, {"2024", 6, 1}, "2024_6.csv", 16},
        {true, true, {"2025", 1, 0}, "2025_1.kzn", 96}};
    for (const auto& [overwrite, ok, chosen, name, bytes] : cases) {
        start();
        form->state().changed_flag = true;
        answer(chosen, ok);
        overwrite ? form->file_overwriteClick() : form->file_saveClick();
        EXPECT_TRUE(seen.back().startsWith(u" 保　存 "_s)) << name;
        EXPECT_EQ(
            std::tuple(dir.read(name).size(), form->state().open_path.str(), form->state().changed_flag),
            std::tuple(bytes, ok ? dir.file(name) : "", bytes != 96))
            << name;
    }
    EXPECT_TRUE(notify.messages.empty());
}

TEST_F(file_commands, dialog_proposes_today_and_csv_first_then_the_last_choice_and_an_empty_year_keeps_it) {
    set_outer_geometry(*form, {0, 0, 635, 450});
    answer(std::nullopt, false), form->file_loadClick();
    answer(choice{"2023", 12, 0}), form->file_saveClick();
    answer(choice{"", 3, 1}), form->file_saveClick();
    ASSERT_EQ(seen.size(), 3);
    EXPECT_EQ(seen[0], QDate::currentDate().toString(u"読み込み yyyy/M CSV 57,40"_s));
    EXPECT_TRUE(seen[2].startsWith(u" 保　存 2023/12 KZN"_s));
    EXPECT_EQ(
        std::pair(form->state().open_path.str(), form->state().open_year * 100 + form->state().open_month),
        std::pair(dir.file("_3.csv"), 2023'03));
}

// The line shown at start-up counts as changed.
TEST_F(shutdown,
       asks_right_after_start_up_stays_after_a_failed_save_and_a_cancelled_one_writes_the_settings) {
    ASSERT_TRUE(block("2024_5.kzn"));
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    notify.answers = {true, true};
    answer(choice{"2024", 5, 0});
    EXPECT_TRUE(!form->close() && form->state().changed_flag);
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
    EXPECT_EQ(std::pair(form->draw_shuushi()->columnWidth(3), form->settings()[setting::graph_width]),
              std::pair(150, 333));
    EXPECT_EQ(
        std::tuple(form->list_window()->frameGeometry().size(), kinds.columnWidth(0), kinds.columnWidth(1)),
        std::tuple(list_outer, 40, 140));
}

} // namespace
} // namespace kozenica
