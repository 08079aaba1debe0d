// The file menu: open, save as, overwrite, and their year/month dialog; closing: the save question.
// (The settings that bring sizes back at the next start: the journeys.)
#include "core/month_file.h"
#include "window_testing.h"

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
    answer(std::nullopt, false), form->file_loadClick();
    answer(choice{"2023", 12, 0}), form->file_saveClick();
    answer(choice{"", 3, 1}), form->file_saveClick();
    ASSERT_EQ(seen.size(), 3);
    EXPECT_EQ(seen[0], QDate::currentDate().toString(u"読み込み yyyy/M CSV"_s));
    EXPECT_EQ(seen[2], u" 保　存 2023/12 KZN"_s);
    EXPECT_EQ(
        std::pair(form->state().open_path.str(), form->state().open_year * 100 + form->state().open_month),
        std::pair(dir.file("_3.csv"), 2023'03));
}

// The line shown at start-up counts as changed.
TEST_F(shutdown,
       asks_right_after_start_up_stays_after_a_failed_save_and_a_cancelled_one_writes_the_settings) {
    ASSERT_TRUE(std::filesystem::create_directory(dir.file("2024_5.kzn"))); // so that the save fails
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

} // namespace
} // namespace kozenica
