// The versions window over the month in hand's file, answered by script.
#include "ui/versions_window/versions_form.h"
#include "window_testing.h"

namespace kozenica {
namespace {

using namespace testing;
using versions_command = program_window_test;

TEST_F(versions_command, lists_the_kept_versions_and_restores_one_without_writing) {
    // Notes "message|versions|lines shown|restorable", selects the row and presses the restore button.
    const auto look = [&](int row) {
        runner.push([&, row](QDialog& d) {
            auto& w = dynamic_cast<versions_form&>(d);
            if (row > 0) w.versions_list()->setCurrentIndex(w.versions_list()->model()->index(row, 0));
            seen << u"%1|%2|%3|%4"_s.arg(w.message_line()->text())
                        .arg(w.versions_list()->model()->rowCount())
                        .arg(w.lines_disp()->model()->rowCount())
                        .arg(w.restore_button()->isEnabled());
            return w.restore_button()->isEnabled() ? (w.restore_button()->click(), w.result()) : 0;
        });
    };
    look(0), form->versions_menuClick(); // a month without a file
    write_month("2024_5.kzn", "1|a|x|0|0|100\n2|b|y|0|0|200\n3|c|z|0|0|300");
    answer(choice{"2024", 5, 0}), form->file_loadClick(), seen.removeLast(); // the dialog noted
    const std::string first = dir.read("2024_5.kzn");
    form->table().row_count = 2, form->state().changed_flag = true;
    form->file_overwriteClick(); // keeps the file of four lines as a version
    dir.write("versions/2024_5.kzn/20200101-000000.kzn", "not a month");
    const std::string second = dir.read("2024_5.kzn");
    form->table().row_count = 3;    // a line the file does not hold
    notify.answers = {false, true}; // keep the unsaved month once, then take the version
    for (int row : {1, 0, 0})
        look(row), form->versions_menuClick();
    const QString intro = u"保存で置きかえられる前の内容です。選ぶと、その版の行を右に表示します"_s;
    EXPECT_EQ(seen, (QStringList{u"この月はまだファイルに保存されていないので、以前の版はありません|0|0|0"_s,
                                 intro + u"|2|0|0"_s, // the damaged file: unreadable, never loaded
                                 intro + u"|2|4|1"_s, intro + u"|2|4|1"_s}));
    EXPECT_EQ(std::tuple(encode_kzn(form->table()), form->state().changed_flag, dir.read("2024_5.kzn")),
              std::tuple(first, true, second));
    EXPECT_EQ(notify.texts(), QStringList(2, u"今のデータは保存されていません\nこの版に置きかえますか?"_s));
}

} // namespace
} // namespace kozenica
