// Saves that would lose a household's months ask first: another month's file,
// a file longer than a month, texts a CSV line cannot carry, a file changed on
// disk by another program.
#include "core/month_file.h"
#include "window_testing.h"

#include <QTableView>
#include <fcntl.h>
#include <sys/stat.h>

namespace kozenica {
namespace {

using namespace testing;
using save_safety = program_window_test;

const std::string new_month_csv = sjis("1,,繰越,0,0,0,\r\n");

QString replace_other(const char* name) {
    return u"ファイル(%1)はすでにあります\n今のデータで上書きしますか?"_s.arg(QLatin1String(name));
}

// Every message: a warning that asks with No as its default by its text alone, any other marked so.
QStringList careful_questions(const scripted_notifier& n) {
    QStringList out;
    for (const auto& m : n.messages)
        out << (m.buttons == box_buttons::yes_no_default_no && m.kind == message_kind::warning
                    ? u""_s
                    : u"other: "_s) +
                   m.text;
    return out;
}

TEST_F(save_safety, save_as_over_another_months_file_asks_and_no_writes_nothing) {
    // the answer, then what the file holds and the caption after the save
    for (const auto& [yes, bytes, caption] : {std::tuple(false, std::string("old"), u"Kozenica"_s),
                                              {true, new_month_csv, u"Kozenica [2024_5.csv]"_s}}) {
        start();
        dir.write("2024_5.csv", "old");
        form->state().changed_flag = true;
        notify.answers = {yes};
        answer(choice{"2024", 5, 1}), form->file_saveClick();
        EXPECT_EQ(careful_questions(notify), QStringList{replace_other("2024_5.csv")});
        EXPECT_EQ(std::tuple(dir.read("2024_5.csv"), form->windowTitle(), form->state().open_path.empty()),
                  std::tuple(bytes, caption, !yes));
        EXPECT_TRUE(form->state().changed_flag);
    }
    // The month's own file, and a new file, are written without a question.
    notify.messages.clear(), answer(choice{"2024", 5, 1}), form->file_saveClick();
    answer(choice{"2024", 9, 0}), form->file_saveClick(), form->file_overwriteClick();
    EXPECT_TRUE(notify.messages.empty()) << notify.texts().join(u'|').toStdString();
    EXPECT_EQ(dir.read("2024_9.kzn").size(), 96u);
}

// Closing twice with Enter: Yes to the save question, OK on the proposed
// month, and the default No keeps that month's file and the window.
TEST_F(save_safety, closing_into_another_months_file_keeps_it_and_the_window) {
    dir.write("2024_5.csv", "29 lines of a real month");
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    notify.answers = {true, false};
    answer(choice{"2024", 5, 1});
    EXPECT_FALSE(form->close());
    EXPECT_EQ(careful_questions(notify),
              QStringList({u"other: 現在のデータを保存しますか?"_s, replace_other("2024_5.csv")}));
    EXPECT_EQ(dir.read("2024_5.csv"), "29 lines of a real month");
    EXPECT_FALSE(dir.exists("kozenic.int"));
    notify.answers = {true, true};
    answer(choice{"2024", 5, 1});
    EXPECT_TRUE(form->close());
    EXPECT_EQ(dir.read("2024_5.csv"), new_month_csv);
}

TEST_F(save_safety, a_file_longer_than_a_month_is_told_at_open_and_asked_at_overwrite) {
    std::string lines;
    std::size_t at_1999 = 0;
    for (int i = 1; i <= 2500; ++i) {
        lines += std::to_string(i % 28 + 1) + ",s,i" + std::to_string(i) + ",0,0,5,\r\n";
        at_1999 = i == 1999 ? lines.size() : at_1999;
    }
    dir.write("2024_5.csv", lines);
    answer(choice{"2024", 5, 1}), form->file_loadClick();
    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_EQ(std::pair(notify.messages[0].kind, notify.messages[0].text),
              std::pair(message_kind::warning,
                        u"ファイル(2024_5.csv)には、1か月に入る1999行より多くの行があります\n"
                        u"1999行目までを読みこみました。上書きすると、残りの行はなくなります"_s));
    EXPECT_EQ(form->table().row_count, 2000);
    const QString ask = u"ファイル(2024_5.csv)には1999行目より後にも行があります\n"
                        u"上書きすると、その行はなくなります。上書きしますか?"_s;
    for (const bool yes : {false, true}) {
        notify.messages.clear(), notify.answers = {yes};
        form->file_overwriteClick();
        EXPECT_EQ(careful_questions(notify), QStringList{ask});
        EXPECT_EQ(dir.read("2024_5.csv"), yes ? lines.substr(0, at_1999) : lines);
    }
    notify.messages.clear(), form->file_overwriteClick(); // the file now holds the month
    EXPECT_TRUE(notify.messages.empty());
}

TEST_F(save_safety, texts_a_csv_cannot_carry_are_asked_about_once_and_written_as_shown) {
    const auto hold = [this] {
        form->table().lines[2] = {5, line_text("ABC,Inc"), line_text("x"), 0, 0, 300, line_text("a\rb\x1A")};
        form->table().lines[3] = {
            6, line_text("s"), line_text("i,j"), 0, 0, 1, line_text("1,2,3,4,5,6,7,8,9,10")};
        form->table().row_count = 4;
        form->disp_data();
        form->state().changed_flag = true;
    };
    const QString ask =
        u"2行目の店名など4か所に、CSVファイルに書けない文字(カンマ、改行など)があります\n"
        u"カンマを全角の「，」(20バイトをこえる欄では半角の「､」)に、ほかを空白にかえて保存しますか?"_s;
    hold();
    notify.answers = {false};
    answer(choice{"2024", 7, 1}), form->file_saveClick();
    EXPECT_EQ(std::pair(notify.texts(), notify.messages[0].kind),
              std::pair(QStringList{ask}, message_kind::warning));
    EXPECT_EQ(std::tuple(dir.exists("2024_7.csv"), form->state().changed_flag, form->windowTitle()),
              std::tuple(false, true, u"Kozenica"_s));
    // KZN holds any byte: no question, the texts as they are.
    notify.messages.clear(), answer(choice{"2024", 7, 0}), form->file_saveClick();
    EXPECT_TRUE(notify.messages.empty());
    EXPECT_EQ(form->table().lines[2].shop.view(), "ABC,Inc");
    // Yes: the file, and the month in hand, hold the full-width comma and spaces, or the
    // half-width comma where a text would grow past 20 bytes.
    notify.answers = {true};
    answer(choice{"2024", 7, 1}), form->file_saveClick();
    EXPECT_EQ(notify.texts(), QStringList{ask});
    const std::string expected =
        sjis("1,,繰越,0,0,0,\r\n5,ABC，Inc,x,0,0,300,a b \r\n6,s,i，j,0,0,1,1､2､3､4､5､6､7､8､9､10\r\n");
    EXPECT_EQ(std::tuple(dir.read("2024_7.csv"), encode_csv(form->table()),
                         form->model()->data(form->model()->index(1, 2), Qt::DisplayRole).toString()),
              std::tuple(expected, expected, u"ABC，Inc"_s));
    notify.messages.clear(), form->file_overwriteClick();
    EXPECT_TRUE(notify.messages.empty());
}

// Another copy of the program, or a sync tool, changed the month's file; a file only touched or written
// again with the same bytes asks nothing.
TEST_F(save_safety, a_file_changed_on_disk_since_it_was_read_is_replaced_only_after_asking) {
    const QString ask = u"ファイル(2024_5.kzn)は、読みこむか保存した後に、ほかで変更されています\n"
                        u"上書きすると、その変更はなくなります。上書きしますか?"_s;
    shuushi_data month;
    init_data(month, form->state());
    const std::string ours = encode_kzn(month);
    std::string same_size = ours;
    same_size[20] = 'X'; // a byte of the carried-forward line
    month.lines[2] = {3, line_text("other"), {}, 0, 0, 5, {}};
    month.row_count = 3;
    const std::string theirs = encode_kzn(month);
    const std::string path = dir.file("2024_5.kzn");
    const auto set_mtime = [&](timespec mtime) {
        const timespec times[2] = {{1, 0}, mtime};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    };
    // How the other program changes the file, and whether the save asks.
    const std::pair<std::function<void()>, bool> changes[] = {
        {[&] { dir.write("2024_5.kzn", theirs); }, true}, // longer
        {[&] {                                            // replaced by rename: a new inode, the same bytes
             dir.write("2024_5.new", ours);
             ASSERT_EQ(std::rename(dir.file("2024_5.new").c_str(), path.c_str()), 0);
         },
         false},
        {[&] {
             set_mtime({1'000'000'000, 5});
         },
         false}, // touched
        {[&] {   // rewritten in place, its time put back
             struct stat before {};
             ASSERT_EQ(::stat(path.c_str(), &before), 0);
             dir.write("2024_5.kzn", same_size);
             set_mtime(before.st_mtim);
         },
         true}};
    for (std::size_t c = 0; c < std::size(changes); ++c) {
        SCOPED_TRACE(c);
        const bool asks = changes[c].second;
        start();
        dir.write("2024_5.kzn", ours);
        answer(choice{"2024", 5, 0}), form->file_loadClick();
        form->state().changed_flag = true;
        changes[c].first();
        const std::string on_disk = dir.read("2024_5.kzn");
        for (const bool yes : {false, true}) {
            notify.messages.clear(), notify.answers = {yes};
            // Save as onto the month's own file asks the same.
            if (c == 1) answer(choice{"2024", 5, 0});
            c == 1 ? form->file_saveClick() : form->file_overwriteClick();
            EXPECT_EQ(careful_questions(notify), asks ? QStringList{ask} : QStringList());
            EXPECT_EQ(std::pair(dir.read("2024_5.kzn"), form->state().changed_flag),
                      std::pair(yes || !asks ? ours : on_disk, asks && !yes));
        }
        notify.messages.clear(), form->file_overwriteClick(); // what this program wrote last is on disk
        EXPECT_TRUE(notify.messages.empty());
    }
    // A month opened as missing, then created by another program.
    answer(choice{"2024", 8, 0}), form->file_loadClick();
    dir.write("2024_8.kzn", theirs);
    notify.messages.clear(), form->file_overwriteClick();
    EXPECT_EQ(std::pair(dir.read("2024_8.kzn"), careful_questions(notify).size()),
              std::pair(theirs, qsizetype(1)));
}

} // namespace
} // namespace kozenica
