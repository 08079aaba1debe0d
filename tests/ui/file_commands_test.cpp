// The file menu: open, save as, overwrite, their year/month dialog; closing: the save question, the settings.
// (The settings that bring sizes back at the next start: the journeys.)
#include "core/month_file.h"
#include "window_testing.h"

#include <algorithm>
#include <sys/stat.h>

namespace kozenica {
namespace {

using namespace testing;
using file_commands = program_window_test;
using shutdown = program_window_test;
using unsaved_month = main_form_test;

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

// New and open ask before dropping the month in hand, only when it holds what its file does not: a month
// only looked at, or typed into and typed back, asks nothing, though drawing it set the changed flag.
TEST_F(unsaved_month, new_and_open_ask_before_dropping_typed_lines_and_yes_saves_first) {
    using enum yes_no_cancel;
    const QStringList question{u"現在のデータは保存されていません\n保存しますか?"_s};
    // read 2024_4.csv first, keys typed into line 1's shop ('\b' Backspace), open 2024_4.csv (or new), the
    // answer, the save dialog (0 none, 1 2024/6 CSV, -1 cancelled); then: asked, line 1's shop, the file
    // whose line 1 now has the shop "x"
    struct row {
        bool read;
        const char* keys;
        bool open;
        yes_no_cancel said;
        int save_dialog;
        bool asked;
        const char* shop;
        const char* saved;
    };
    const row rows[] = {{false, "", true, cancel, 0, false, "", nullptr},
                        {false, "x\b", false, cancel, 0, false, "", nullptr},
                        {false, "x", false, cancel, 0, true, "x", nullptr},
                        {false, "x", true, no, 0, true, "", nullptr},
                        {false, "x", false, yes, 1, true, "", "2024_6.csv"},
                        {false, "x", true, yes, -1, true, "x", nullptr},
                        {true, "", false, cancel, 0, false, "", nullptr},
                        {true, "x", true, cancel, 0, true, "x", nullptr},
                        {true, "x", false, yes, 0, true, "", "2024_4.csv"}};
    int n = 0;
    for (const row& r : rows) {
        SCOPED_TRACE(++n);
        write_month("2024_4.csv", "3|八百屋|人参|0|0|120");
        form->reset_month(), form->disp_data();
        if (r.read) answer(choice{"2024", 4, 1}), form->file_loadClick();
        grid().set_current_cell(1, 2);
        for (const char k : std::string_view(r.keys))
            k == '\b' ? QTest::keyClick(focus(), Qt::Key_Backspace)
                      : QTest::keyClicks(focus(), QString(QLatin1Char(k)));
        notify.messages.clear(), notify.choices = {r.said};
        if (r.save_dialog) answer(choice{"2024", 6, 1}, r.save_dialog > 0);
        if (r.open && (!r.asked || r.said == no || r.save_dialog > 0)) answer(choice{"2024", 4, 1});
        r.open ? form->file_loadClick() : form->file_createClick();
        EXPECT_EQ(std::pair(notify.texts(), cell(1, 2)),
                  std::pair(r.asked ? question : QStringList(), QString::fromUtf8(r.shop)));
        EXPECT_TRUE(!r.saved || dir.read(r.saved).starts_with("1,x,"));
    }
    EXPECT_EQ(runner.runs(), 7);
}

// The line shown at start-up counts as changed. Yes, then a failed or cancelled save, keeps the window
// open and the settings file unwritten; No closes.
TEST_F(shutdown, asks_right_after_start_up_and_stays_after_a_failed_or_cancelled_save) {
    ASSERT_TRUE(std::filesystem::create_directory(dir.file("2024_5.kzn"))); // so that the save fails
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    notify.answers = {true, true};
    answer(choice{"2024", 5, 0});
    EXPECT_TRUE(!form->close() && form->state().changed_flag);
    answer(std::nullopt, false);
    EXPECT_TRUE(!form->close() && !dir.exists("kozenic.int"));
    EXPECT_TRUE(form->close());
    const QString question = u"現在のデータを保存しますか?"_s;
    EXPECT_EQ(notify.texts(), QStringList({question, general_io_error_text(EISDIR), question, question}));
    EXPECT_EQ(dir.read("kozenic.int").size(), 88u);
}

// Written also when nothing changed, the kind list never shown with its first size, graph entries as read.
TEST_F(shutdown, a_run_that_changed_nothing_writes_back_what_it_started_with) {
    form->state().changed_flag = false;
    ASSERT_TRUE(form->close() && notify.messages.empty());
    window_settings expected = form->settings();
    std::ranges::copy(std::array{10, 80, 110, 120, 30, 80, 80, 120, 0, 0, 635, 450, 64, 64, 208, 185},
                      expected.values.begin());
    EXPECT_EQ(std::pair(dir.read("kozenic.int").size(), read_settings_file(dir.file("kozenic.int")).values),
              std::pair(std::size_t(88), expected.values));
}

} // namespace
} // namespace kozenica
