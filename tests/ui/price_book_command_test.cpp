// The price book command through its menu item: the period dialog and the
// boxes answered by scripts, month files in a temporary program directory,
// and the result window sorted, filtered, copied and asked for a price graph.
#include "core/month_file.h"
#include "support/temp_program_dir.h"
#include "ui/book_window/book_form.h"
#include "ui/book_window/book_model.h"
#include "ui/graph_window/graph_form.h"
#include "ui/main/main_form.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"
#include "ui/platform/sjis.h"
#include "ui/term_window/term_input_form.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

// Failing comparisons show the texts themselves.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace kozenica {
namespace {

QStringList texts(const char* utf8_lines) {
    return QString::fromUtf8(utf8_lines).split(u'\n');
}

class price_book_command : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("kindlist.dat", "1\r\n" + to_sjis(QStringLiteral("食費")) + "\r\n");
        form = std::make_unique<main_form>(dir.path(), notify, runner);
        form->setGeometry(100, 60, 900, 600);
        notify.messages.clear();
        // 牛乳: 198 at 生協 (11/3), 180 at コンビニ twice, latest 200 at 駅前 (12/20).
        write("1999_11.csv", "3|生協|牛乳|1|0|198\n4|A|卵|2|0|150\n5|A|卵|2|0|0\n9|B|bread|0|0|120");
        write("1999_12.csv", "20|駅前|牛乳|1|0|200\n2|コンビニ|牛乳|1|0|180\n1|コンビニ|牛乳|1|0|180");
        write("2000_2.csv", "7|コンビニ|卵|2|0|165\n8|Z|income|0|500|0");
    }

    // Writes a month file of lines given as "day|shop|item|kind|income|expense".
    void write(std::string_view name, const char* lines) {
        shuushi_data t;
        t.lines[1] = carried_forward_line();
        for (const QString& line : texts(lines)) {
            const QStringList f = line.split(u'|');
            shuushi_line& s = t.lines[std::size_t(t.row_count++)];
            std::tie(s.day, s.kind, s.income, s.expense) =
                std::tuple(std::int8_t(f[0].toInt()), f[3].toInt(), f[4].toInt(), f[5].toInt());
            s.shop.assign(to_sjis(f[1])), s.item.assign(to_sjis(f[2]));
        }
        dir.write(name, encode_csv(t));
    }

    // Notes the dialog as "caption|label" and answers with the item and range.
    void answer(const char* item, const char* start, const char* end) {
        runner.push([=, this](QDialog& d) {
            auto& f = dynamic_cast<term_input_form&>(d);
            dialogs << f.windowTitle() + u'|' + f.Label7()->text();
            if (!item) return int(QDialog::Rejected);
            f.name_box()->setText(QString::fromUtf8(item));
            f.start_year_box()->setText(QString::fromUtf8(start).section(u'/', 0, 0));
            f.end_year_box()->setText(QString::fromUtf8(end).section(u'/', 0, 0));
            f.start_month_box()->setCurrentIndex(QString::fromUtf8(start).section(u'/', 1).toInt() - 1);
            f.end_month_box()->setCurrentIndex(QString::fromUtf8(end).section(u'/', 1).toInt() - 1);
            f.csv_item()->setChecked(true);
            return int(QDialog::Accepted);
        });
    }

    void run_from_menu() {
        form->menuBar()->findChild<QAction*>(QStringLiteral("price_book_menu"))->trigger();
    }
    book_form* book() const { return form->findChild<book_form*>(); }
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
        answer("", "1999/11", "2000/2");
        run_from_menu();
        ASSERT_NE(book(), nullptr);
        book()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(book()));
    }

    testing::temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
    QStringList dialogs;
};

// In item order by Shift-JIS bytes: bread, 牛乳 (0x8B 0x8D), 卵 (0x97 0x91).
const char* const all_rows = "bread||1|120|B|1999/11/9|120|B|1999/11/9|0.0\n"
                             "牛乳|食費|4|180|コンビニ|1999/12/2|200|駅前|1999/12/20|11.1\n"
                             "卵|2|2|150|A|1999/11/4|165|コンビニ|2000/2/7|10.0";

TEST_F(price_book_command, booksEveryItemOfTheRangeInsetOverTheMainWindow) {
    const QRect main_outer = form->frameGeometry();
    const shuushi_data held = form->table();
    answer("", "1999/11", "2000/2");
    run_from_menu();
    EXPECT_EQ(dialogs, QStringList{QStringLiteral("底値表|の底値を調べる")});
    EXPECT_EQ(
        notify.texts(),
        QStringList{
            QStringLiteral("ファイル(%1)がありません").arg(QString::fromStdString(dir.file("2000_1.csv")))});
    ASSERT_NE(book(), nullptr);
    EXPECT_EQ(std::tuple(book()->isVisible(), book()->windowTitle(), book()->pos()),
              std::tuple(true, QStringLiteral("底値表結果"),
                         QPoint(main_outer.x() + main_outer.width() / 3,
                                main_outer.y() + main_outer.height() / 10)));
    EXPECT_EQ(rows(), texts(all_rows));
    EXPECT_TRUE(form->table().lines == held.lines && !form->state().changed_flag);

    // A named item narrows the book to it; the same window shows it.
    answer("卵", "1999/11", "1999/12");
    run_from_menu();
    EXPECT_EQ(rows(), texts("卵|2|1|150|A|1999/11/4|150|A|1999/11/4|0.0"));
    EXPECT_EQ(form->findChildren<book_form*>().size(), 1);
}

TEST_F(price_book_command, nothingFoundCancelledOrAWrongRangeShowsNoBook) {
    struct {
        const char* item;
        const char* start;
        const char* end;
        const char* told; // UTF-8, empty for none
    } cases[] = {{"", "2000/2", "2000/2", ""},
                 {"income", "2000/2", "2000/2", "incomeを発見できませんでした"},
                 {nullptr, "", "", ""},
                 {"", "2000/3", "2000/2", "範囲指定が間違っています"}};
    for (const auto& c : cases) {
        notify.messages.clear();
        answer(c.item, c.start, c.end);
        run_from_menu();
        EXPECT_EQ(notify.texts().join(u'/'), QString::fromUtf8(c.told)) << c.start;
    }
    // 中止 at the missing month 2000/1 ends the command: no book, no further box.
    notify.messages.clear();
    notify.stops = {true};
    answer("", "1999/11", "2000/2");
    run_from_menu();
    EXPECT_EQ(notify.texts().size(), 1);
    // Only the first case (卵 at コンビニ in 2000/2) found a purchase.
    ASSERT_NE(book(), nullptr);
    EXPECT_EQ(rows(), texts("卵|2|1|165|コンビニ|2000/2/7|165|コンビニ|2000/2/7|0.0"));
}

TEST_F(price_book_command, headerClicksSortAndTheFilterTakesInputMethodText) {
    open_book();
    click_header(int(book_column::rise));
    // Upwards first: 0.0, 10.0, 11.1.
    EXPECT_EQ(rows(), QStringList({texts(all_rows)[0], texts(all_rows)[2], texts(all_rows)[1]}));
    click_header(int(book_column::rise)); // again: descending
    EXPECT_EQ(rows(), QStringList({texts(all_rows)[1], texts(all_rows)[2], texts(all_rows)[0]}));

    book()->filter_box()->setFocus();
    QInputMethodEvent preedit(QStringLiteral("コンビニ"), {}), commit;
    QApplication::sendEvent(book()->filter_box(), &preedit);
    commit.setCommitString(QStringLiteral("コンビニ"));
    QApplication::sendEvent(book()->filter_box(), &commit);
    EXPECT_EQ(rows(), QStringList({texts(all_rows)[1], texts(all_rows)[2]})); // either shop counts
    book()->filter_box()->setText(QStringLiteral("食費"));                    // the kind's name
    EXPECT_EQ(rows(), QStringList{texts(all_rows)[1]});
    book()->filter_box()->setText(QStringLiteral("BREAD"));
    EXPECT_EQ(rows(), QStringList{texts(all_rows)[0]});
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
    EXPECT_EQ(graphs, (QStringList{QStringLiteral("期間変動グラフ|1999/11/3 198|1999/12/20 200|1999/12/2 180|"
                                                  "1999/12/1 180"),
                                   QStringLiteral("期間変動グラフ|1999/11/4 150|1999/11/5 0|2000/2/7 165")}));
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
    const QStringList r = texts(all_rows);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("品名\t種類\t回数\t最安値\t店名\t日付\t最近\t店名\t日付\t差\n") +
                  QString(r[0]).replace(u'|', u'\t') + u'\n' + QString(r[2]).replace(u'|', u'\t') + u'\n');
}

TEST(BookModel, aTabOrLineEndInsideACellBecomesASpaceInTheCopy) {
    price_book book;
    book.add({1, line_text("a\tb"), line_text("x\ny"), 0, 0, 100, {}}, 2000, 1);
    book_model model;
    model.set_book(book.entries().to_vector(), {});
    EXPECT_EQ(model.rows_as_tsv({0}).section(u'\n', 1, 1),
              QStringLiteral("x y\t\t1\t100\ta b\t2000/1/1\t100\ta b\t2000/1/1\t0.0"));
}

} // namespace
} // namespace kozenica
