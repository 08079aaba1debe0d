// Where a household keeps its months: a folder with a Japanese name, months and lists the user
// made read-only.
#include "core/atomic_file.h"
#include "core/month_file.h"
#include "ui/help_window/manual_form.h"
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
    // The path of a file of the program's folder as a user reads it.
    QString shown(std::string_view name) const { return QString::fromUtf8(dir.file(name)); }
};

// A message that names a file of a folder with a Japanese name shows the folder as it is named.
TEST_F(places, a_japanese_folder_is_named_so_in_every_message) {
    dir.enter("山田/家計簿");
    start();
    dir.write("2024_5.kzn", "kozenic filX" + std::string("\x02\0\0\0", 4) + std::string(80, '\0')); // damaged
    const QString damaged =
        u"Kozenicaのデータではないか、もしくはファイルが壊れています\n"_s + shown("2024_5.kzn");
    ASSERT_TRUE(shown("").endsWith(u"/山田/家計簿/"_s));
    answer(choice{"2024", 5, 0}), form->file_loadClick();
    answer_period("tea", "2024/5", "2024/6", false), form->search_bottom_price();
    form->manual_menuClick();
    EXPECT_EQ(notify.texts(),
              QStringList({damaged, damaged, missing("2024_6.kzn"), u"teaを発見できませんでした"_s,
                           u"ﾌｧｲﾙ %1 は開けません"_s.arg(shown("manual.txt"))}));
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
