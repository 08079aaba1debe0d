// The windows beside the main one: the kind list (its content, its place beside the main window,
// its sizes) and the manual over manual.txt, one per use, and the manual that ships.
#include "ui/help_window/manual_form.h"
#include "ui/list_window/list_form.h"
#include "window_testing.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTableWidget>

namespace kozenica::testing {
namespace {

using kind_list_window = program_window_test;
using manual_window = program_window_test;

// Each show refills the list, in number order, at an eleventh of the main window, with the stored sizes.
TEST_F(kind_list_window, each_show_refills_it_beside_the_main_window_and_an_empty_list_shows_the_header) {
    for (const auto& [file, expected] : {std::pair{sjis("10\r\n雑費\r\n2\r\n日用品\r\n$1\r\n食費\r\n"),
                                                   u"No.|種類 1|食費 2|日用品 10|雑費"_s},
                                         std::pair{std::string(), u"No.|種類"_s}}) {
        dir.write("kindlist.dat", file);
        start();
        form->show_list_form();
        QTableWidget& grid = *form->list_window()->draw_klist();
        form->list_window()->setGeometry(300, 300, 400, 100);
        grid.setColumnWidth(1, 200);
        grid.setRowCount(0);
        set_outer_geometry(*form, {100, 50, 635, 450});
        form->show_list_form();
        EXPECT_TRUE(form->list_window()->isVisible());
        EXPECT_EQ(form->list_window()->frameGeometry(), QRect(157, 90, 160, 300)) << "outer size";
        EXPECT_EQ(QSize(grid.columnWidth(0), grid.columnWidth(1)), QSize(40, 80));
        QString shown = grid.horizontalHeaderItem(0)->text() + u'|' + grid.horizontalHeaderItem(1)->text();
        for (int r = 0; r < grid.rowCount(); ++r)
            shown += u' ' + grid.item(r, 0)->text() + u'|' + grid.item(r, 1)->text();
        EXPECT_EQ(shown, expected);
    }
}

// A list saved by a modern editor (UTF-8, LF) shows as the same list in Shift-JIS; a character Shift-JIS
// cannot hold is told once at start, naming the file, and shows as '?'.
TEST_F(kind_list_window, a_utf8_list_shows_as_its_shift_jis_twin_and_a_lost_character_is_told_at_start) {
    dir.write("kindlist.dat", "\xEF\xBB\xBF"
                              "10\n雑費\n2\n日用品\n1\n食費☕\n");
    dir.write("corresp.dat", "2\n洗剤\n");
    form = std::make_unique<main_form>(dir.path(), notify, runner);
    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_EQ(notify.messages[0].kind, message_kind::warning);
    EXPECT_EQ(notify.messages[0].text,
              u"ファイル(kindlist.dat)にShift-JISで表せない文字があります。その文字は?で表示されます"_s);
    form->show_list_form();
    QTableWidget& grid = *form->list_window()->draw_klist();
    QString shown;
    for (int r = 0; r < grid.rowCount(); ++r)
        shown += grid.item(r, 0)->text() + u'|' + grid.item(r, 1)->text() + u' ';
    EXPECT_EQ(shown, u"1|食費? 2|日用品 10|雑費 "_s);
}

TEST_F(manual_window, each_use_opens_one_more_window_at_a_tenth_of_the_main_window_and_a_missing_file_none) {
    for (const bool present : {false, true}) {
        if (present) dir.write("manual.txt", sjis("使い方\r\n一行目\n\r二\r") + "\x81\x60");
        start();
        form->show(); // so that its frame is known
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        set_outer_geometry(*form, {0, 0, 635, 450});
        form->manual_menuClick();
        form->manual_menuClick();
        const QList<manual_form*> windows = form->findChildren<manual_form*>();
        ASSERT_EQ(windows.size(), present ? 2 : 0);
        for (manual_form* m : windows) {
            EXPECT_TRUE(m->isVisible());
            EXPECT_EQ(m->frameGeometry(), QRect(63, 45, 504, 360)) << "outer size";
            EXPECT_EQ(m->disp_manual()->toPlainText(), u"使い方\n一行目\n\n二\n\uff5e"_s); // code page 932
        }
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
