// The main window's frame: menus, tool buttons, layout, font and version.
#include "main_form_testing.h"

#include <QFontDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace kozenica::testing {
namespace {

using frame = main_form_test;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

TEST_F(frame, menus_carry_every_command_with_its_access_letter) {
    const std::vector<std::pair<const char*, std::vector<const char*>>> expected = {
        {"ファイル(&F)",
         {"新規作成(&N)", "開く(&O)", "上書き保存する(&S)", "名前をつけて保存する(&A)", "-", "終了(&X)"}},
        {"編集(&E)",
         {"先頭へ移動(&T)", "最終行へ移動(&B)", "種類リストの表示(&K)", "フォントの変更(&F)", "-",
          "行の挿入(&I)", "行の削除(&D)", "１行上をコピー(&C)", "-", "残高算出(&Q)", "日付順に並び替え(&S)"}},
        {"グラフ(&G)", {"月内集計グラフの表示(&R)", "期間変動グラフの表示(&T)"}},
        {"検索(&S)", {"最安値探索(&B)"}},
        {"ヘルプ(&H)", {"マニュアル(&M)", "バージョン(&A)"}},
    };
    const QList<QAction*> menus = form->menuBar()->actions();
    ASSERT_EQ(std::size_t(menus.size()), expected.size());
    for (std::size_t m = 0; m < expected.size(); ++m) {
        EXPECT_EQ(menus[qsizetype(m)]->text(), u(expected[m].first));
        const QList<QAction*> items = menus[qsizetype(m)]->menu()->actions();
        ASSERT_EQ(std::size_t(items.size()), expected[m].second.size()) << expected[m].first;
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QString want = u(expected[m].second[std::size_t(i)]);
            EXPECT_EQ(items[i]->isSeparator() ? QStringLiteral("-") : items[i]->text(), want);
        }
    }
}

TEST_F(frame, tool_buttons_stand_in_a_row_with_hints_and_icons) {
    struct button_case {
        const char* name;
        const char* hint;
        int left; // -1: at the right edge
        int width;
    };
    const button_case cases[] = {
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
        {"inser_line_button", "行の挿入", -1, 23},
        {"del_line_button", "行の削除", -1, 23},
    };
    show();
    const int cw = form->centralWidget()->width();
    for (const auto& c : cases) {
        auto* b = form->findChild<QPushButton*>(QLatin1String(c.name));
        ASSERT_NE(b, nullptr) << c.name;
        EXPECT_EQ(b->toolTip(), u(c.hint)) << c.name;
        EXPECT_EQ(b->size(), QSize(c.width, 23)) << c.name;
        EXPECT_EQ(b->y(), 2) << c.name;
        if (c.left >= 0) {
            EXPECT_EQ(b->x(), c.left) << c.name;
        }
        EXPECT_TRUE(b->text().isEmpty()) << c.name;
        const QImage icon = b->icon().pixmap(b->iconSize()).toImage();
        EXPECT_GE(icon.width(), 15) << c.name;
        EXPECT_LE(icon.width(), 19) << c.name;
        EXPECT_EQ(icon.width(), icon.height()) << c.name;
        QSet<QRgb> colours;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                if (qAlpha(icon.pixel(x, y)) > 0) colours.insert(icon.pixel(x, y));
        EXPECT_LE(colours.size(), 16) << c.name;
        EXPECT_GE(colours.size(), 2) << c.name;
    }
    EXPECT_EQ(form->findChild<QPushButton*>(QStringLiteral("inser_line_button"))->x(), cw - 23 - 23 - 5);
    EXPECT_EQ(form->findChild<QPushButton*>(QStringLiteral("del_line_button"))->x(), cw - 23 - 1);
}

TEST_F(frame, layout_follows_the_client_size) {
    struct size_case {
        int width, height;
    };
    // The narrow window puts the right-edge buttons over the left-hand ones.
    const size_case cases[] = {{635, 450}, {900, 700}, {200, 300}};
    show();
    for (const auto& c : cases) {
        form->resize(c.width, c.height);
        QApplication::processEvents();
        const int cw = form->centralWidget()->width();
        const int ch = form->centralWidget()->height();
        EXPECT_EQ(grid().geometry(), QRect(0, 27, cw, ch - 50)) << c.width;
        auto* button = form->findChild<QPushButton*>(QStringLiteral("zandaka_button"));
        EXPECT_EQ(button->geometry(), QRect(cw - 96 - 125 - 4, ch - 21, 96, 21)) << c.width;
        EXPECT_EQ(form->zandaka_box()->geometry(), QRect(cw - 125, ch - 21, 125, 21)) << c.width;
        EXPECT_EQ(form->findChild<QPushButton*>(QStringLiteral("del_line_button"))->x(), cw - 24) << c.width;
    }
}

TEST_F(frame, start_up_shows_the_empty_month_with_the_grid_focused) {
    show();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kozenica"));
    EXPECT_EQ(form->model()->rowCount(), 1);
    EXPECT_EQ(cell(1, 1), QStringLiteral("1"));
    EXPECT_EQ(cell(1, 3), QStringLiteral("繰越"));
    EXPECT_EQ(current(), (cell_pos{1, 1}));
    EXPECT_EQ(QApplication::focusWidget(), editor());
    const int widths[] = {10, 80, 110, 120, 30, 80, 80, 120};
    for (int c = 0; c < ledger_columns; ++c)
        EXPECT_EQ(grid().columnWidth(c), widths[c]) << c;
    EXPECT_EQ(grid().rowHeight(0), 20);
    EXPECT_FALSE(grid().verticalHeader()->isVisible());
    auto* button = form->findChild<QPushButton*>(QStringLiteral("zandaka_button"));
    EXPECT_EQ(button->text(), QStringLiteral("残高"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("残高算出"));
    EXPECT_TRUE(form->zandaka_box()->isReadOnly());
    EXPECT_TRUE(form->zandaka_box()->text().isEmpty());
    QString headers;
    for (int c = 0; c < ledger_columns; ++c)
        headers += form->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() + u'|';
    EXPECT_EQ(headers, QStringLiteral("|日付|店名|品名|種類|収入|支出|メモ|"));
}

TEST_F(frame, row_heights_are_dragged_in_the_margin_column) {
    show();
    load_lines({{1, "a", "", 0, 0, 0}, {2, "b", "", 0, 0, 0}});
    QWidget* vp = grid().viewport();
    const QPoint border(5, grid().rowViewportPosition(0) + 19);
    QTest::mousePress(vp, Qt::LeftButton, {}, border);
    QMouseEvent move(QEvent::MouseMove, QPointF(border + QPoint(0, 15)),
                     vp->mapToGlobal(QPointF(border + QPoint(0, 15))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, border + QPoint(0, 15));
    EXPECT_EQ(grid().rowHeight(0), 35);
    EXPECT_EQ(grid().rowHeight(1), 20);
}

TEST_F(frame, font_command_changes_the_window_font_but_not_rows_or_menus) {
    show();
    const QFont menu_font = form->menuBar()->font();
    QFont big = form->font();
    big.setPointSize(18);
    runner.push([&](QDialog& d) {
        static_cast<QFontDialog&>(d).setCurrentFont(big);
        return int(QDialog::Accepted);
    });
    form->findChild<QAction*>(QStringLiteral("font_menu"))->trigger();
    QWidget* const followers[] = {form.get(), &grid(), editor(), form->zandaka_box(),
                                  form->findChild<QPushButton*>(QStringLiteral("zandaka_button"))};
    for (QWidget* w : followers)
        EXPECT_EQ(w->font().pointSize(), 18) << w->objectName().toStdString();
    EXPECT_EQ(form->menuBar()->font(), menu_font);
    EXPECT_EQ(grid().rowHeight(0), 20);
    load_lines({{1, "a", "", 0, 0, 0}, {2, "b", "", 0, 0, 0}});
    EXPECT_EQ(grid().rowHeight(1), 20);
    EXPECT_EQ(editor()->font().pointSize(), 18) << "a new editor takes the font too";

    // The dialog starts from the last choice; cancelling changes nothing.
    QFont offered;
    runner.push([&](QDialog& d) {
        offered = static_cast<QFontDialog&>(d).currentFont();
        QFont other = offered;
        other.setPointSize(7);
        static_cast<QFontDialog&>(d).setCurrentFont(other);
        return int(QDialog::Rejected);
    });
    form->font_menuClick();
    EXPECT_EQ(offered.pointSize(), 18);
    for (QWidget* w : {static_cast<QWidget*>(form.get()), static_cast<QWidget*>(&grid())})
        EXPECT_EQ(w->font().pointSize(), 18);
}

TEST_F(frame, version_is_a_plain_message) {
    form->findChild<QAction*>(QStringLiteral("version"))->trigger();
    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_EQ(notify.messages[0].kind, message_kind::plain);
    EXPECT_EQ(notify.messages[0].text, QStringLiteral("Kozenica Ver 0.31"));
}

TEST_F(frame, exit_closes_the_window) {
    show();
    form->findChild<QAction*>(QStringLiteral("Exit"))->trigger();
    EXPECT_FALSE(form->isVisible());
}

} // namespace
} // namespace kozenica::testing
