// The period commands end to end: cheapest prices, the price-change graph and the price book over
// month files in a temporary program directory, the dialogs and boxes answered by scripts; missing
// months that stop a command, and the month in hand that none of them touches.
#include "ui/book_window/book_form.h"
#include "ui/book_window/book_model.h"
#include "ui/graph_window/graph_form.h"
#include "ui/hyou_windows/hyou_form.h"
#include "window_testing.h"

#include <QClipboard>
#include <QDate>
#include <QHeaderView>
#include <QMenuBar>
#include <QTableView>
#include <QTableWidget>
#include <algorithm>
#include <unistd.h>

namespace kozenica::testing {
namespace {

class period_commands : public program_window_test {
  protected:
    void SetUp() override {
        dir.write("kindlist.dat", "1\r\n" + sjis("食費") + "\r\n");
        start();
        form->setGeometry(100, 60, 900, 600);
    }
    // The result table, the header row first, cells joined by "|".
    QStringList table_rows() {
        QStringList out;
        for (int r = 0; r < table().row_count(); ++r) {
            QStringList row;
            for (int c = 0; c < table().col_count(); ++c)
                row << table().cell(c, r);
            out << row.join(u'|');
        }
        return out;
    }
    // An unsaved month in hand, from 1999_12.csv and since given a milk line.
    void hold_unsaved_month() {
        month_state& s = form->state();
        s.open_path.assign(dir.file("1999_12.csv")), s.open_name.assign("1999_12.csv");
        std::tie(s.open_year, s.open_month, s.changed_flag) = std::tuple(1999, 12, true);
        form->table().lines[std::size_t(form->table().row_count++)].item.assign(sjis("牛乳"));
        held = form->table();
    }
    void expect_month_in_hand_untouched() const {
        const month_state& s = form->state();
        EXPECT_TRUE(form->table().lines == held.lines && form->table().row_count == held.row_count);
        EXPECT_EQ(std::tuple(s.open_path.str(), s.open_name.str(), s.open_year, s.open_month, s.changed_flag),
                  std::tuple(dir.file("1999_12.csv"), "1999_12.csv", 1999, 12, true));
    }
    hyou_form& table() { return *form->hyou_window(); }
    book_form* book() const { return form->findChild<book_form*>(); }
    // Cheapest prices, the price graph or the price book, as the menu runs them.
    void run_command(int command) {
        if (command == 0) form->search_bottom_price();
        if (command == 1) form->term_graph();
        if (command == 2) form->menuBar()->findChild<QAction*>(u"price_book_menu"_s)->trigger();
    }
    // The main window's outer top left plus the given fractions of its outer size.
    QPoint at(int w_div, int h_div) const {
        const QRect o = form->frameGeometry();
        return {o.left() + o.width() / w_div, o.top() + o.height() / h_div};
    }
    shuushi_data held;
};

// The result table opens with the ledger's column widths from the settings, whatever they are.
TEST_F(period_commands, cheapestPricesFillTheResultTableAndASecondSearchRefreshesIt) {
    write_month("1999_11.csv", "3|生協|牛乳|1|0|198|特売\n4|A|卵|1|0|150");
    write_month("1999_12.csv", "10|B|牛乳|0|0|1234567");
    write_month("2000_2.csv", "0|C|牛乳|2|500|0|返品\n7|D|牛乳 |1|0|1\n28|E|牛乳|1|0|198");
    const int widths[8] = {12, 81, 112, 123, 34, 85, 86, 127};
    for (int c = 0; c < 8; ++c)
        form->settings()[setting::ledger_column0 + c] = widths[c];
    hold_unsaved_month();
    answer_period("牛乳", "1999/11", "2000/2");
    const QPoint table_at = at(3, 10); // from the main window as the command starts
    form->search_bottom_price();
    EXPECT_EQ(notify.texts(), QStringList{missing("2000_1.csv")});
    // The dialog opens on the month in hand.
    EXPECT_EQ(seen, QStringList{u"最安値探索|の最安値を調べる|1999|12|1999|12"_s});
    EXPECT_EQ(std::pair(table().isVisible(), table().windowTitle()), std::pair(true, u"最安値探索結果"_s));
    EXPECT_EQ(table().frameGeometry(), QRect(table_at, QSize(387, 316))) << "outer size";
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(table().col_width(c), widths[c]) << "column " << c;
    EXPECT_EQ(table_rows(), texts("|日付|店名|品名|種類|収入|支出|メモ\n|2000/2/0|C|牛乳|2|500||返品\n"
                                  "|2000/2/28|E|牛乳|1||198|\n|1999/11/3|生協|牛乳|1||198|特売\n"
                                  "|1999/12/10|B|牛乳|||1,234,567|"));
    // Closed, resized and searched again from a moved main window: fewer rows.
    write_month("2000_2.kzn", "1|T|tea|3|0|30\n2|T|tea|3|0|20\n3|T|tea|3|0|10");
    table().close(), table().resize(420, 280), form->move(40, 30);
    answer_period("tea", "2000/1", "2000/2", false), form->search_bottom_price();
    EXPECT_EQ(QRect(table().pos(), table().size()), QRect(at(3, 10), QSize(420, 280)));
    EXPECT_EQ(table_rows(), texts("|日付|店名|品名|種類|収入|支出|メモ\n|2000/2/3|T|tea|3||10|\n"
                                  "|2000/2/2|T|tea|3||20|\n|2000/2/1|T|tea|3||30|"));
    expect_month_in_hand_untouched();
}

TEST_F(period_commands, priceGraphGetsItsGridsPlaceAndSize) {
    write_month("1999_11.csv", "5|生協|牛乳|1|0|300\n6|A|卵|1|0|999");
    write_month("1999_12.csv", "0|B|牛乳|1|50|0");
    write_month("2000_1.csv", "9|C|牛乳|1|0|250\n12|D|牛乳|1|0|300");
    form->settings()[setting::graph_width] = 430, form->settings()[setting::graph_height] = 410;
    hold_unsaved_month();
    answer_period("牛乳", "1999/11", "2000/1");
    QStringList graph;
    runner.push([&](QDialog& d) {
        auto& g = dynamic_cast<graph_form&>(d);
        graph << g.windowTitle() << QString::number(g.graph_mode());
        EXPECT_EQ(QRect(g.pos(), g.outer_size()), QRect(at(5, 10), QSize(430, 410)));
        for (int r = 0; r < g.table_rows_with_header(); ++r)
            graph << g.table_text(0, r) + u'|' + g.table_text(1, r) + u'|' + g.table_text(2, r);
        for (int r = 0; r < 2; ++r)
            graph << g.legend_text(0, r) + u'|' + g.legend_text(1, r);
        g.resize(520, 460);
        return int(QDialog::Accepted);
    });
    form->term_graph();
    EXPECT_TRUE(notify.messages.empty()) << notify.texts().join(u'|').toStdString();
    EXPECT_EQ(seen.value(0), u"期間変動|の変動を調べる|1999|12|1999|12"_s);
    EXPECT_EQ(graph, texts("期間変動グラフ\n2\n日付|店名|値段\n1999/11/5|生協|300\n1999/12/0|B|0\n"
                           "2000/1/9|C|250\n2000/1/12|D|300\n最高値|300\n最安値|0"));
    // Its size after closing is what both graph windows open with next.
    EXPECT_EQ(std::pair(form->settings()[setting::graph_width], form->settings()[setting::graph_height]),
              std::pair(520, 460));
    expect_month_in_hand_untouched();
}

// Each command in turn: a wrong range, an item found nowhere, the dialog cancelled, 中止 at a missing
// month after a month with the item, a month file that opens but fails to read (the process's own
// memory, whose first page is never mapped), and No to the question before 21,313 months without a
// file, counted in the program's folder. None shows a result window or touches the month in hand.
TEST_F(period_commands, everyCommandEndsWithoutAResultOnAWrongRangeNothingFoundCancelStopOrIoError) {
    write_month("2000_1.csv", "1|S|tea|1|0|40");
    ASSERT_EQ(::symlink("/proc/self/mem", dir.file("2000_3.csv").c_str()), 0);
    const QString eio = general_io_error_text(EIO),
                  many_missing = u"範囲の中に、ファイルのない月が21313か月あります\n"
                                 u"続けると、月ごとにメッセージが出ます\n続けますか?"_s;
    using enum message_kind;
    // item, start, end, the stop answers of missing-month boxes; what is told, of which kind
    // clang-format off
    const std::tuple<const char*, const char*, const char*, std::deque<bool>, QStringList, message_kind> cases[] = {
        {"tea", "2000/3", "2000/2", {}, {u"範囲指定が間違っています"_s}, warning},
        {"コーヒー", "2000/1", "2000/1", {}, {u"コーヒーを発見できませんでした"_s}, warning},
        {nullptr, "", "", {}, {}, warning}, {"tea", "2000/1", "2000/2", {true}, {missing("2000_2.csv")}, error},
        {"tea", "2000/1", "2000/3", {false}, {missing("2000_2.csv"), eio}, error},
        {"tea", "224/1", "2000/2", {}, {many_missing}, warning}}; // 224 for 2024: No to the one question
    // clang-format on
    for (int command = 0; command < 3; ++command)
        for (const auto& [item, start, end, stops, told, kind] : cases) {
            notify.messages.clear(), notify.stops = stops;
            answer_period(item, start, end);
            run_command(command);
            EXPECT_EQ(notify.texts(), told) << command << " " << start << "-" << end;
            EXPECT_TRUE(told.empty() || notify.messages[0].kind == kind) << command << " " << start;
            if (seen.size() == 1) hold_unsaved_month(); // the first dialog opened on today's month
        }
    EXPECT_EQ(std::tuple(table().isHidden(), book(), runner.runs()),
              std::tuple(true, nullptr, 18)); // 18 dialogs, no graph window
    expect_month_in_hand_untouched();
    const QDate today = QDate::currentDate();
    EXPECT_EQ(seen[0].section(u'|', 2, 5), u"%1|%2|%1|%2"_s.arg(today.year()).arg(today.month()));
}

// The price book from its menu item, and its result window sorted, filtered, copied and asked for
// a price graph. 牛乳: 198 at 生協 (11/3), 180 at コンビニ twice, latest 200 at 駅前 (12/20).
class price_book_command : public period_commands {
  protected:
    void SetUp() override {
        period_commands::SetUp();
        write_month("1999_11.csv", "3|生協|牛乳|1|0|198\n4|A|卵|2|0|150\n5|A|卵|2|0|0\n9|B|bread|0|0|120");
        write_month("1999_12.csv", "20|駅前|牛乳|1|0|200\n2|コンビニ|牛乳|1|0|180\n1|コンビニ|牛乳|1|0|180");
        write_month("2000_2.csv", "7|コンビニ|卵|2|0|165\n8|Z|income|0|500|0");
    }
    // The rows as shown, cells joined by "|".
    QStringList rows() const {
        QStringList out;
        const book_model& m = *book()->model();
        for (int r = 0; r < m.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < m.columnCount(); ++c)
                cells << m.data(m.index(r, c), Qt::DisplayRole).toString();
            out << cells.join(u'|');
        }
        return out;
    }
    void click_header(int column) {
        QHeaderView* h = book()->book_disp()->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(column) + 5, h->height() / 2));
    }
    void open_book() {
        answer_period("", "1999/11", "2000/2"), run_command(2);
        ASSERT_NE(book(), nullptr);
        book()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(book()));
    }
    // In item order by Shift-JIS bytes: bread, 牛乳 (0x8B 0x8D), 卵 (0x97 0x91).
    const QStringList all = texts("bread||1|120|B|1999/11/9|120|B|1999/11/9|0.0\n"
                                  "牛乳|食費|4|180|コンビニ|1999/12/2|200|駅前|1999/12/20|11.1\n"
                                  "卵|2|2|150|A|1999/11/4|165|コンビニ|2000/2/7|10.0");
};

TEST_F(price_book_command, booksEveryItemOfTheRangeInsetOverTheMainWindow) {
    held = form->table();
    answer_period("", "1999/11", "2000/2");
    const QPoint book_at = at(3, 10);
    run_command(2);
    EXPECT_EQ(seen.value(0).section(u'|', 0, 1), u"底値表|の底値を調べる"_s);
    EXPECT_EQ(notify.texts(), QStringList{missing("2000_1.csv")});
    ASSERT_NE(book(), nullptr);
    EXPECT_EQ(std::tuple(book()->isVisible(), book()->windowTitle(), book()->pos()),
              std::tuple(true, u"底値表結果"_s, book_at));
    EXPECT_EQ(rows(), all);
    EXPECT_TRUE(form->table().lines == held.lines && !form->state().changed_flag);
    // A named item narrows the book to it; the same window shows it.
    answer_period("卵", "1999/11", "1999/12"), run_command(2);
    EXPECT_EQ(rows(), texts("卵|2|1|150|A|1999/11/4|150|A|1999/11/4|0.0"));
    EXPECT_EQ(form->findChildren<book_form*>().size(), 1);
    // Every item, and not one purchase in the range: the message says what was looked for.
    notify.messages.clear(), answer_period("", "1999/10", "1999/10"), run_command(2);
    EXPECT_EQ(notify.texts(),
              QStringList({missing("1999_10.csv"), u"範囲の中に支出のある行がありませんでした"_s}));
}

// The price book's dialog starts at the format of the month in hand's file; the described commands' at CSV.
TEST_F(price_book_command, theDialogStartsAtTheFormatOfTheMonthsFile) {
    answer(choice{"1999", 12, 0}), form->file_loadClick(); // 1999_12.kzn: no such file, but named
    for (const auto& [command, kzn] : {std::pair(2, true), {1, false}, {0, false}}) {
        runner.push([kzn = kzn](QDialog& d) {
            EXPECT_EQ(dynamic_cast<term_input_form&>(d).kzn_item()->isChecked(), kzn);
            return int(QDialog::Rejected);
        });
        run_command(command);
    }
    EXPECT_EQ(runner.runs(), 4);
}

TEST_F(price_book_command, headerClicksSortAndTheFilterTakesInputMethodText) {
    open_book();
    click_header(int(book_column::rise)); // upwards first: 0.0, 10.0, 11.1
    EXPECT_EQ(rows(), QStringList({all[0], all[2], all[1]}));
    click_header(int(book_column::rise)); // again: descending
    EXPECT_EQ(rows(), QStringList({all[1], all[2], all[0]}));
    book()->filter_box()->setFocus();
    offer(book()->filter_box(), u"コンビニ"_s, arrival::committed);
    EXPECT_EQ(rows(), QStringList({all[1], all[2]})); // either shop counts
    book()->filter_box()->setText(u"食費"_s);         // the kind's name
    EXPECT_EQ(rows(), QStringList{all[1]});
    book()->filter_box()->setText(u"BREAD"_s);
    EXPECT_EQ(rows(), QStringList{all[0]});
}

TEST_F(price_book_command, enterAndDoubleClickDrawTheItemsPriceGraphOverTheSameRange) {
    open_book();
    QStringList graphs;
    const auto record_graph = [&](QDialog& d) {
        auto& g = dynamic_cast<graph_form&>(d);
        QStringList cells{g.windowTitle()};
        for (int r = 1; r < g.draw_Shuukei()->rowCount(); ++r)
            cells << g.table_text(0, r) + u' ' + g.table_text(2, r);
        graphs << cells.join(u'|');
        return int(QDialog::Accepted);
    };
    QTableView* table = book()->book_disp();
    runner.push(record_graph);
    table->setFocus();
    table->setCurrentIndex(book()->model()->index(1, 3));
    QTest::keyClick(table, Qt::Key_Return);
    runner.push(record_graph);
    const QRect row1 = table->visualRect(book()->model()->index(2, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row1.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, row1.center());
    EXPECT_EQ(graphs, texts("期間変動グラフ|1999/11/3 198|1999/12/20 200|1999/12/2 180|1999/12/1 180\n"
                            "期間変動グラフ|1999/11/4 150|1999/11/5 0|2000/2/7 165"));
    // The missing month is told for each walk, the book's and the graphs'.
    EXPECT_EQ(notify.texts().size(), 3);
}

TEST_F(price_book_command, ctrlCCopiesTheSelectedRowsWithTheHeaderLine) {
    open_book();
    QTableView* table = book()->book_disp();
    table->setFocus();
    table->selectRow(2);
    table->selectionModel()->select(book()->model()->index(0, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QApplication::clipboard()->clear();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              u"品名\t種類\t回数\t最安値\t店名\t日付\t最近\t店名\t日付\t差\n"_s +
                  QString(all[0]).replace(u'|', u'\t') + u'\n' + QString(all[2]).replace(u'|', u'\t') +
                  u'\n');
}

TEST(BookModel, aTabOrLineEndInsideACellBecomesASpaceInTheCopy) {
    price_book book;
    book.add({1, line_text("a\tb"), line_text("x\ny"), 0, 0, 100, {}}, 2000, 1);
    book_model model;
    model.set_book(book.entries().to_vector(), {});
    EXPECT_EQ(model.rows_as_tsv({0}).section(u'\n', 1, 1),
              u"x y\t\t1\t100\ta b\t2000/1/1\t100\ta b\t2000/1/1\t0.0"_s);
}

} // namespace
} // namespace kozenica::testing
