// Menus, tool buttons and the font command.
#include "window_testing.h"

#include <QFontDialog>
#include <QMenu>
#include <QMenuBar>

namespace kozenica::testing {
namespace {

using frame = main_form_test;

TEST_F(frame, menus_carry_every_command_with_its_access_letter) {
    const std::vector<std::string> expected = {
        "ファイル(&F): 新規作成(&N) 開く(&O) 上書き保存する(&S) 名前をつけて保存する(&A) - 終了(&X)",
        "編集(&E): 先頭へ移動(&T) 最終行へ移動(&B) 種類リストの表示(&K) フォントの変更(&F) - 行の挿入(&I) "
        "行の削除(&D) １行上をコピー(&C) - 残高算出(&Q) 日付順に並び替え(&S)",
        "グラフ(&G): 月内集計グラフの表示(&R) 期間変動グラフの表示(&T)",
        "検索(&S): 最安値探索(&B) 底値表(&P)", "ヘルプ(&H): マニュアル(&M) バージョン(&A)"};
    std::vector<std::string> menus;
    for (const QAction* menu : form->menuBar()->actions()) {
        menus.push_back(menu->text().toStdString() + ":");
        for (const QAction* item : menu->menu()->actions())
            menus.back() += " " + (item->isSeparator() ? "-" : item->text().toStdString());
    }
    EXPECT_EQ(menus, expected);
}

TEST_F(frame, tool_buttons_stand_in_a_row_with_their_hints) {
    const int right = form->centralWidget()->width();
    const std::tuple<const char*, const char*, int, int> cases[] = {
        {"file_load_button", "開く", 1, 23},
        {"file_overwrite_button", "上書き保存する", 28, 23},
        {"go_top_line_button", "先頭へ移動", 55, 23},
        {"go_bottom_line_button", "最終行へ移動", 82, 23},
        {"show_list_form_button", "種類リストの表示", 109, 23},
        {"show_graph_window_button", "月内集計グラフの表示", 136, 23},
        {"term_graph_button", "期間変動グラフの表示", 163, 22},
        {"date_sort_button", "日付順に並び替え", 189, 23},
        {"search_bottom_price_button", "最安値探索", 216, 23},
        {"copy_befor_line_button", "１行上をコピー", 243, 23},
        {"inser_line_button", "行の挿入", right - 51, 23},
        {"del_line_button", "行の削除", right - 24, 23},
    };
    for (const auto& [name, hint, left, width] : cases) {
        const auto* b = form->findChild<QPushButton*>(QLatin1String(name));
        EXPECT_EQ(b ? b->toolTip() : u"<none>"_s, QString::fromUtf8(hint)) << name;
        EXPECT_EQ(b ? b->geometry() : QRect(), QRect(left, 2, width, 23)) << name;
    }
}

TEST_F(frame, font_command_changes_the_window_font_but_not_row_height) {
    runner.push([](QDialog& d) {
        return static_cast<QFontDialog&>(d).setCurrentFont(QFont(d.font().family(), 18)),
               int(QDialog::Accepted);
    });
    run("font_menu");
    load_lines({{1, "a", 0, 0}, {2, "b", 0, 0}});
    EXPECT_EQ(grid().font().pointSize(), 18);
    EXPECT_EQ(editor()->font().pointSize(), 18);
    EXPECT_EQ(grid().rowHeight(1), 20);
}

} // namespace
} // namespace kozenica::testing
