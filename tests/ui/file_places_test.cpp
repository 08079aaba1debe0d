// Where a household keeps its months: a folder with a Japanese name, a folder
// nested deep, months and lists the user made read-only.
#include "core/atomic_file.h"
#include "core/month_file.h"
#include "ui/help_window/manual_form.h"
#include "ui/hyou_windows/hyou_form.h"
#include "window_testing.h"

#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <utime.h>

namespace kozenica {
namespace {

using namespace testing;
namespace fs = std::filesystem;

shuushi_data month_of(int day, const char* shop_utf8) {
    shuushi_data t;
    t.lines[1] = carried_forward_line();
    t.lines[2] = {std::int8_t(day), line_text(sjis(shop_utf8)), line_text("tea"), 1, 0, 100 + day, {}};
    t.row_count = 3;
    return t;
}

class places : public program_window_test {
  protected:
    // The program in a folder below the temporary one; then start-up, its messages kept.
    void start_in(std::string_view folder_utf8) {
        dir.enter(folder_utf8);
        dir.write("kindlist.dat", "1\r\n" + sjis("食費") + "\r\n");
        form = std::make_unique<main_form>(dir.path(), notify, runner);
    }
    // The path of a file of the program's folder as a user reads it.
    QString shown(std::string_view name) const { return QString::fromUtf8(dir.file(name)); }
};

// The program in nested folders with Japanese names, 400 bytes and more: each message that names a file
// shows the folders as they are named, and every file of the program keeps its whole path.
TEST_F(places, a_japanese_folder_400_bytes_deep_is_named_so_and_keeps_every_file_apart) {
    std::string deep = "山田/家計簿";
    while (deep.size() < 400)
        deep += "/家計簿の保管場所"; // 25 bytes a folder
    start_in(deep);
    ASSERT_TRUE(dir.path().size() > 400 && shown("").contains(u"/山田/家計簿/家計簿の保管場所/"_s));
    EXPECT_EQ(std::pair(notify.texts(), form->kinds().size()), std::pair(QStringList(), std::size_t(1)));
    dir.write("2024_5.kzn", "kozenic filX" + std::string("\x02\0\0\0", 4) + std::string(80, '\0')); // damaged
    dir.write("2024_7.kzn", encode_kzn(month_of(7, "生協")));
    const QString damaged_head = u"Kozenicaのデータではないか、もしくはファイルが壊れています\n"_s;
    // clang-format off
    const std::pair<std::function<void()>, QStringList> cases[] = {
        {[&] { answer(choice{"2024", 5, 0}), form->file_loadClick(); }, {damaged_head + shown("2024_5.kzn")}},
        {[&] { answer(choice{"2024", 6, 1}), form->file_loadClick(); }, {u"ファイル(2024_6.csv)がありません"_s}},
        {[&] { answer_period("tea", "2024/5", "2024/7", false), form->search_bottom_price(); },
         {damaged_head + shown("2024_5.kzn"), missing("2024_6.kzn")}},
        {[&] { form->manual_menuClick(); }, {u"ﾌｧｲﾙ %1 は開けません"_s.arg(shown("manual.txt"))}}};
    // clang-format on
    for (const auto& [command, expected] : cases) {
        notify.messages.clear(), command();
        EXPECT_EQ(notify.texts(), expected);
    }
    EXPECT_EQ(form->hyou_window()->cell(2, 1), u"生協"_s); // the walk read July there
    for (const int month : {1, 12}) {
        form->table() = month_of(month, "店"), form->state().changed_flag = true;
        answer(choice{"2024", month, 0}), form->file_saveClick();
    }
    for (const int month : {1, 12})
        EXPECT_EQ(dir.read("2024_" + std::to_string(month) + ".kzn"), encode_kzn(month_of(month, "店")));
    answer(choice{"2024", 1, 0}), form->file_loadClick();
    EXPECT_EQ(form->table().lines[2].day, 1);
    form->resize(700, 480);
    form->state().changed_flag = false;
    ASSERT_TRUE(form->close());
    EXPECT_EQ(fs::directory_entry(dir.file("kozenic.int")).file_size(), 88u);
    start();
    EXPECT_EQ(form->settings()[setting::main_width], 700);
}

// A month, the settings, the lists and the manual the user made read-only are
// read; saving over the month or the settings is an I/O error that keeps them.
TEST_F(places, read_only_files_open_and_are_never_replaced) {
    const std::string month = encode_kzn(month_of(3, "生協"));
    dir.write("2030_1.kzn", month);
    dir.write("manual.txt", sjis("使い方"));
    dir.write("kindlist.dat", "1\r\n" + sjis("食費") + "\r\n");
    dir.write("corresp.dat", "1\r\n" + sjis("牛乳") + "\r\n");
    window_settings wide;
    set_initial_data(wide);
    wide[setting::main_width] = 777;
    dir.write("kozenic.int", encode_settings(wide));
    // A save killed two days ago left its temporary file; one from now may be a save in progress.
    dir.write(".kozenica-save-old00000.tmp", "x"), dir.write(".kozenica-save-new00000.tmp", "x");
    const std::time_t two_days_ago = std::time(nullptr) - 2 * 24 * 60 * 60;
    const utimbuf old_times{two_days_ago, two_days_ago};
    ::utime(dir.file(".kozenica-save-old00000.tmp").c_str(), &old_times);
    for (const char* name : {"2030_1.kzn", "manual.txt", "kindlist.dat", "corresp.dat", "kozenic.int"})
        fs::permissions(dir.file(name), fs::perms(0444));
    fs::permissions(dir.path(), fs::perms(0555));
    start();
    fs::permissions(dir.path(), fs::perms(0755));
    EXPECT_EQ(std::pair(dir.exists(".kozenica-save-old00000.tmp"), dir.exists(".kozenica-save-new00000.tmp")),
              std::pair(false, true));
    EXPECT_EQ(std::tuple(form->kinds().size(), form->corresp().size(), form->settings()[setting::main_width]),
              std::tuple(1u, 1u, 777));
    form->manual_menuClick();
    EXPECT_EQ(form->findChildren<manual_form*>().size(), 1);

    answer(choice{"2030", 1, 0}), form->file_loadClick();
    EXPECT_EQ(form->table().lines[2].shop, sjis("生協"));
    form->table().lines[2].expense = 999;
    form->state().changed_flag = true;
    form->file_overwriteClick();
    EXPECT_EQ(std::pair(dir.read("2030_1.kzn"), form->state().changed_flag), std::pair(month, true));
    form->state().changed_flag = false;
    ASSERT_TRUE(form->close()); // the window still closes
    EXPECT_EQ(std::pair(dir.read("kozenic.int"), notify.texts()),
              std::pair(encode_settings(wide), QStringList(2, general_io_error_text(EACCES))));
}

} // namespace
} // namespace kozenica
