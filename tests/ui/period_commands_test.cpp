// The period dialog, the result table's cells, and the price-change graph and cheapest-price
// search end to end: month files in a temporary program directory, the dialogs answered by scripts.
#include "core/month_file.h"
#include "support/temp_program_dir.h"
#include "ui/graph_window/graph_form.h"
#include "ui/hyou_windows/hyou_form.h"
#include "ui/main/main_form.h"
#include "ui/platform/message_box.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"
#include "ui/platform/sjis.h"
#include "ui/term_window/term_input_form.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

namespace kozenica {
namespace {

QStringList texts(const char* utf8_lines) {
    return QString::fromUtf8(utf8_lines).split(u'\n');
}

TEST(HyouForm, cellAlignmentDependsOnTheColumnAndTheHeaderRow) {
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignTop, centre = Qt::AlignHCenter | Qt::AlignTop,
                        right = Qt::AlignRight | Qt::AlignTop;
    // clang-format off
    for (const auto& [col, row, expected] : {std::tuple(0, 0, centre), {5, 0, centre}, {0, 1, left}, {1, 1, centre},
                                             {3, 5, left}, {4, 1, right}, {6, 9, right}, {7, 1, left}})
        // clang-format on
        EXPECT_EQ(hyou_cell_alignment(col, row), expected) << col << "," << row;
}

TEST(TermInputForm, controlsStandWhereTheLayoutPutsThemAndYearBoxesTakeDigitsOnly) {
    QWidget owner;
    term_input_form form(&owner);
    form.set_command_texts(QStringLiteral("期間変動"), QStringLiteral("の変動を調べる"));
    EXPECT_EQ(form.name_box()->geometry(), QRect(7, 10, 123, 20));
    EXPECT_EQ(form.end_month_box()->geometry(), QRect(126, 114, 65, 20));
    EXPECT_EQ(form.outer_size(), QSize(123 + form.Label7()->width() + 21, 276));
    EXPECT_TRUE(form.csv_item()->isChecked());
    // "や～めた" with the wave dash that Shift-JIS 0x81 0x60 stands for.
    EXPECT_EQ(to_sjis(form.cancel_button()->text()), "\x82\xe2\x81\x60\x82\xdf\x82\xbd");
    // The text, then what stays of it typed (as an input method delivers it) and pasted.
    const char* const cases[][3] = {
        {"2000", "2000", "2000"}, {"-19 9", "199", ""}, {"../x", "", ""}, {"２０", "", ""}};
    for (QLineEdit* box : {form.start_year_box(), form.end_year_box()}) {
        for (const auto& c : cases) {
            box->clear();
            for (const QChar ch : QString::fromUtf8(c[0])) {
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
                QApplication::sendEvent(box, &press);
            }
            EXPECT_EQ(box->text(), QString::fromUtf8(c[1])) << c[0];
            box->clear(), QApplication::clipboard()->setText(QString::fromUtf8(c[0])), box->paste();
            EXPECT_EQ(box->text(), QString::fromUtf8(c[2])) << c[0];
        }
    }
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), form.start_month_box()); // first in tab order
}

class period_commands : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("kindlist.dat", "1\r\nfood\r\n");
        form = std::make_unique<main_form>(dir.path(), notify, runner);
        form->setGeometry(100, 60, 900, 600);
        notify.messages.clear();
    }

    // Writes a month file of lines given as "day|shop|item|kind|income|expense|memo".
    void write(std::string_view name, const char* lines) {
        shuushi_data t;
        t.lines[1] = carried_forward_line();
        for (const QString& line : texts(lines)) {
            const QStringList f = line.split(u'|');
            shuushi_line& s = t.lines[std::size_t(t.row_count++)];
            std::tie(s.day, s.kind, s.income, s.expense) =
                std::tuple(std::int8_t(f[0].toInt()), f[3].toInt(), f[4].toInt(), f[5].toInt());
            s.shop.assign(to_sjis(f[1])), s.item.assign(to_sjis(f[2])), s.memo.assign(to_sjis(f.value(6)));
        }
        dir.write(name, name.ends_with(".csv") ? encode_csv(t) : encode_kzn(t));
    }

    // Records the dialog as "caption|label|start year|month|end year|month|left,top" and
    // answers with the item and "year/month" texts; no item cancels.
    void answer(const char* item, const char* start = "", const char* end = "", bool csv = true) {
        const QString from = QString::fromUtf8(start), to = QString::fromUtf8(end);
        runner.push([=, this](QDialog& d) {
            auto& f = dynamic_cast<term_input_form&>(d);
            dialogs << QStringLiteral("%1|%2|%3|%4|%5|%6|%7,%8")
                           .arg(f.windowTitle(), f.Label7()->text(), f.start_year_box()->text(),
                                f.start_month_box()->currentText(), f.end_year_box()->text(),
                                f.end_month_box()->currentText())
                           .arg(f.x())
                           .arg(f.y());
            if (!item) return int(QDialog::Rejected);
            f.name_box()->setText(QString::fromUtf8(item));
            f.start_year_box()->setText(from.section(u'/', 0, 0));
            f.end_year_box()->setText(to.section(u'/', 0, 0));
            f.start_month_box()->setCurrentIndex(from.section(u'/', 1).toInt() - 1);
            f.end_month_box()->setCurrentIndex(to.section(u'/', 1).toInt() - 1);
            (csv ? f.csv_item() : f.kzn_item())->setChecked(true);
            return int(QDialog::Accepted);
        });
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
        form->table().lines[std::size_t(form->table().row_count++)].item.assign(
            to_sjis(QString::fromUtf8("牛乳")));
        held = form->table();
    }
    void expect_month_in_hand_untouched() const {
        const month_state& s = form->state();
        EXPECT_TRUE(form->table().lines == held.lines && form->table().row_count == held.row_count);
        EXPECT_EQ(std::tuple(s.open_path.str(), s.open_name.str(), s.open_year, s.open_month, s.changed_flag),
                  std::tuple(dir.file("1999_12.csv"), "1999_12.csv", 1999, 12, true));
    }

    hyou_form& table() { return *form->hyou_window(); }
    // The main window's outer top left plus the given fractions of its outer size.
    QPoint at(int w_div, int h_div) const {
        const QRect o = form->frameGeometry();
        return {o.left() + o.width() / w_div, o.top() + o.height() / h_div};
    }

    testing::temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
    QStringList dialogs;
    shuushi_data held;
};

TEST_F(period_commands, cheapestPricesFillTheResultTableAndASecondSearchRefreshesIt) {
    write("1999_11.csv", "3|生協|牛乳|1|0|198|特売\n4|A|卵|1|0|150");
    write("1999_12.csv", "10|B|牛乳|0|0|1234567");
    write("2000_2.csv", "0|C|牛乳|2|500|0|返品\n7|D|牛乳 |1|0|1\n28|E|牛乳|1|0|198");
    hold_unsaved_month();
    answer("牛乳", "1999/11", "2000/2");
    const QPoint table_at = at(3, 10); // from the main window as the command starts
    form->search_bottom_price();
    const QString missing = QString::fromStdString(dir.file("2000_1.csv"));
    EXPECT_EQ(notify.texts(), QStringList{QStringLiteral("ファイル(%1)がありません").arg(missing)});
    // The dialog opens on the month in hand at a third of the main window.
    EXPECT_EQ(dialogs, QStringList{QStringLiteral("最安値探索|の最安値を調べる|1999|12|1999|12|400,260")});
    EXPECT_EQ(std::pair(table().isVisible(), table().windowTitle()),
              std::pair(true, QStringLiteral("最安値探索結果")));
    EXPECT_EQ(table().frameGeometry(), QRect(table_at, QSize(387, 316))) << "outer size";
    EXPECT_EQ(table_rows(), texts("|日付|店名|品名|種類|収入|支出|メモ\n|2000/2/0|C|牛乳|2|500||返品\n"
                                  "|2000/2/28|E|牛乳|1||198|\n|1999/11/3|生協|牛乳|1||198|特売\n"
                                  "|1999/12/10|B|牛乳|||1,234,567|"));
    // Closed, resized and searched again from a moved main window: fewer rows.
    write("2000_2.kzn", "1|T|tea|3|0|30\n2|T|tea|3|0|20\n3|T|tea|3|0|10");
    table().close(), table().resize(420, 280), form->move(40, 30);
    answer("tea", "2000/1", "2000/2", false);
    form->search_bottom_price();
    EXPECT_TRUE(table().isVisible());
    EXPECT_EQ(QRect(table().pos(), table().size()), QRect(at(3, 10), QSize(420, 280)));
    EXPECT_EQ(table_rows(), texts("|日付|店名|品名|種類|収入|支出|メモ\n|2000/2/3|T|tea|3||10|\n"
                                  "|2000/2/2|T|tea|3||20|\n|2000/2/1|T|tea|3||30|"));
    expect_month_in_hand_untouched();
}

TEST_F(period_commands, priceGraphGetsItsGridsPlaceAndSize) {
    write("1999_11.csv", "5|生協|牛乳|1|0|300\n6|A|卵|1|0|999");
    write("1999_12.csv", "0|B|牛乳|1|50|0");
    write("2000_1.csv", "9|C|牛乳|1|0|250\n12|D|牛乳|1|0|300");
    form->settings()[setting::graph_width] = 430, form->settings()[setting::graph_height] = 410;
    hold_unsaved_month();
    answer("牛乳", "1999/11", "2000/1");
    QStringList seen;
    runner.push([&](QDialog& d) {
        auto& g = dynamic_cast<graph_form&>(d);
        seen << g.windowTitle() << QString::number(g.graph_mode());
        EXPECT_EQ(QRect(g.pos(), g.outer_size()), QRect(at(5, 10), QSize(430, 410)));
        for (int r = 0; r < g.table_rows_with_header(); ++r)
            seen << g.table_text(0, r) + u'|' + g.table_text(1, r) + u'|' + g.table_text(2, r);
        seen << g.legend_text(0, 0) + u'|' + g.legend_text(1, 0)
             << g.legend_text(0, 1) + u'|' + g.legend_text(1, 1);
        g.resize(520, 460);
        return int(QDialog::Accepted);
    });
    form->term_graph();
    EXPECT_TRUE(notify.messages.empty()) << notify.texts().join(u'|').toStdString();
    EXPECT_EQ(dialogs.value(0).section(u'|', 0, 5),
              QStringLiteral("期間変動|の変動を調べる|1999|12|1999|12"));
    EXPECT_EQ(seen, texts("期間変動グラフ\n2\n日付|店名|値段\n1999/11/5|生協|300\n1999/12/0|B|0\n"
                          "2000/1/9|C|250\n2000/1/12|D|300\n最高値|300\n最安値|0"));
    // Its size after closing is what both graph windows open with next.
    EXPECT_EQ(std::pair(form->settings()[setting::graph_width], form->settings()[setting::graph_height]),
              std::pair(520, 460));
    expect_month_in_hand_untouched();
}

TEST_F(period_commands, wrongRangeNothingFoundAndCancelEndTheCommand) {
    write("2000_1.csv", "1|S|tea|1|0|40");
    for (const bool graph : {false, true}) {
        answer("tea", "2000/3", "2000/2"), answer("コーヒー", "2000/1", "2000/1"), answer(nullptr);
        for (int i = 0; i < 3; ++i)
            graph ? form->term_graph() : form->search_bottom_price();
    }
    EXPECT_EQ(notify.texts(), texts("範囲指定が間違っています\nコーヒーを発見できませんでした\n"
                                    "範囲指定が間違っています\nコーヒーを発見できませんでした"));
    EXPECT_TRUE(
        std::ranges::all_of(notify.messages, [](auto& m) { return m.kind == message_kind::warning; }));
    EXPECT_TRUE(table().isHidden());
    EXPECT_EQ(runner.runs(), 6); // dialogs only: no graph window
    const QDate today = QDate::currentDate();
    EXPECT_EQ(dialogs[0].section(u'|', 2, 5),
              QStringLiteral("%1|%2|%1|%2").arg(today.year()).arg(today.month()));
}

// A month file that opens but fails to read (the process's own memory, whose first page is never
// mapped) abandons either command with the system's error: no graph window, no result table.
TEST_F(period_commands, anIoErrorDuringTheWalkEndsTheCommandWithoutAResultWindow) {
    write("2000_1.csv", "1|S|tea|1|0|40");
    ASSERT_EQ(::symlink("/proc/self/mem", dir.file("2000_2.csv").c_str()), 0);
    write("2000_3.csv", "1|S|tea|1|0|30");
    for (const bool graph : {false, true}) {
        answer("tea", "2000/1", "2000/3");
        graph ? form->term_graph() : form->search_bottom_price();
    }
    EXPECT_EQ(notify.texts(), QStringList({general_io_error_text(EIO), general_io_error_text(EIO)}));
    EXPECT_TRUE(table().isHidden());
    EXPECT_EQ(runner.runs(), 2); // the two dialogs only
}

// The result table opens with the ledger's column widths from the settings, whatever they are.
TEST_F(period_commands, resultTableTakesItsColumnWidthsFromSettingsZeroToSeven) {
    write("2000_1.csv", "1|S|tea|1|0|40");
    const int widths[8] = {12, 81, 112, 123, 34, 85, 86, 127};
    for (int c = 0; c < 8; ++c)
        form->settings()[setting::ledger_column0 + c] = widths[c];
    answer("tea", "2000/1", "2000/1");
    form->search_bottom_price();
    ASSERT_TRUE(table().isVisible());
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(table().col_width(c), widths[c]) << "column " << c;
}

} // namespace
} // namespace kozenica
