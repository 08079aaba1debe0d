// The manual window over manual.txt, one per use, and the manual that ships.
#include "ui/help_window/manual_form.h"
#include "ui/platform/sjis.h"
#include "window_testing.h"

#include <QFile>
#include <QPlainTextEdit>

namespace kozenica {
namespace {

using namespace testing;
using manual_window = program_window_test;

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

// Shift-JIS with CR LF line ends, decoded without loss, explaining every command and file.
TEST(shipped_manual, is_shift_jis_with_cr_lf_and_covers_every_command) {
    QFile file(QString::fromUtf8(__FILE__).section(u'/', 0, -4) + u"/data/manual.txt"_s);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.count("\r\n") == bytes.count('\r') && bytes.count('\r') == bytes.count('\n'));
    const QString text = manual_text(bytes);
    EXPECT_EQ(to_sjis(text).size(), std::size_t(bytes.size() - bytes.count('\r')));
    for (const QString& topic :
         u"新規作成 開く 上書き保存する 名前をつけて保存する 終了 先頭へ移動 最終行へ移動 種類リストの表示 "
         u"フォントの変更 行の挿入 行の削除 １行上をコピー 残高算出 日付順に並び替え 月内集計グラフの表示 "
         u"期間変動グラフの表示 最安値探索 マニュアル バージョン kindlist.dat corresp.dat kozenic.int "
         u"2024_5.kzn 2024_5.csv 日付,店名,品名,種類,収入,支出,メモ"_s.split(u' '))
        EXPECT_TRUE(text.contains(topic)) << topic.toStdString();
}

} // namespace
} // namespace kozenica
