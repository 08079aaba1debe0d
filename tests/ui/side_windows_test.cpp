// The windows beside the main one: the kind list refilled at each showing, and the manual over
// manual.txt, one window per use, and the manual that ships. (Their places and outer sizes: the
// journeys under a real window manager.)
#include "ui/help_window/manual_form.h"
#include "ui/list_window/list_form.h"
#include "window_testing.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTableWidget>

namespace kozenica::testing {
namespace {

using side_windows = program_window_test;

QString rows_of(const QTableWidget& grid) {
    QString shown = grid.horizontalHeaderItem(0)->text() + u'|' + grid.horizontalHeaderItem(1)->text();
    for (int r = 0; r < grid.rowCount(); ++r)
        shown += u' ' + grid.item(r, 0)->text() + u'|' + grid.item(r, 1)->text();
    return shown;
}

// In number order, refilled at each showing; a list saved by a modern editor (UTF-8 with the mark,
// LF) shows as its Shift-JIS twin, and a character Shift-JIS cannot hold is told once at start.
TEST_F(side_windows, each_showing_refills_the_kind_list_and_a_lost_character_is_told_at_start) {
    const QString lost =
        u"ファイル(kindlist.dat)にShift-JISで表せない文字があります。その文字は?で表示されます"_s;
    // clang-format off
    const std::tuple<std::string, QString, QStringList> cases[] = {
        {sjis("10\r\n雑費\r\n2\r\n日用品\r\n$1\r\n食費\r\n"), u"No.|種類 1|食費 2|日用品 10|雑費"_s, {}},
        {std::string(), u"No.|種類"_s, {}},
        {"\xEF\xBB\xBF" "10\n雑費\n2\n日用品\n1\n食費☕\n", u"No.|種類 1|食費? 2|日用品 10|雑費"_s, {lost}}};
    // clang-format on
    for (const auto& [file, expected, told] : cases) {
        dir.write("kindlist.dat", file);
        form = std::make_unique<main_form>(dir.path(), notify, runner);
        EXPECT_EQ(notify.texts(), told);
        notify.messages.clear();
        form->show_list_form();
        form->list_window()->draw_klist()->setRowCount(0);
        form->show_list_form();
        EXPECT_TRUE(form->list_window()->isVisible());
        EXPECT_EQ(rows_of(*form->list_window()->draw_klist()), expected);
    }
}

TEST_F(side_windows, each_use_opens_one_more_manual_window_and_a_missing_file_none) {
    for (const bool present : {false, true}) {
        if (present) dir.write("manual.txt", sjis("使い方\r\n一行目\n\r二\r") + "\x81\x60");
        start();
        form->manual_menuClick();
        form->manual_menuClick();
        const QList<manual_form*> windows = form->findChildren<manual_form*>();
        ASSERT_EQ(windows.size(), present ? 2 : 0);
        for (manual_form* m : windows)
            EXPECT_EQ(m->disp_manual()->toPlainText(), u"使い方\n一行目\n\n二\n\uff5e"_s); // code page 932
        const QString missing = u"ﾌｧｲﾙ %1 は開けません"_s.arg(QString::fromStdString(dir.file("manual.txt")));
        EXPECT_EQ(notify.texts(), present ? QStringList() : QStringList({missing, missing}));
    }
}

// The manual that ships: Shift-JIS with CR LF line ends, decoded without loss.
TEST(shipped_manual, is_shift_jis_with_cr_lf) {
    QFile file(QString::fromUtf8(__FILE__).section(u'/', 0, -4) + u"/data/manual.txt"_s);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.count("\r\n") == bytes.count('\r') && bytes.count('\r') == bytes.count('\n'));
    EXPECT_EQ(to_sjis(manual_text(bytes)).size(), std::size_t(bytes.size() - bytes.count('\r')));
}

} // namespace
} // namespace kozenica::testing
