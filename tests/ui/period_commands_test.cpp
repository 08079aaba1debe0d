// The price-change graph and the cheapest-price search end to end: month
// files in a temporary program directory, the period dialog and the graph
// window answered by scripts, the messages recorded, the results read back.
#include "core/month_file.h"
#include "support/temp_program_dir.h"
#include "ui/graph_window/graph_form.h"
#include "ui/hyou_windows/hyou_form.h"
#include "ui/main/main_form.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"
#include "ui/platform/sjis.h"
#include "ui/term_window/term_input_form.h"

#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace kozenica {
namespace {

// The dialog's answer: item name, start and end as "year/month"; no name cancels.
struct period_answer {
    const char *name = nullptr, *from = "", *to = "";
    bool csv = true;
};

using month_key = std::tuple<std::string, std::string, int, int, bool>; // path, name, year, month, changed

QStringList texts(std::initializer_list<const char*> utf8) {
    QStringList out;
    for (const char* t : utf8)
        out << QString::fromUtf8(t);
    return out;
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
    void write(std::string_view name, const QStringList& lines) {
        shuushi_data t;
        t.lines[1] = carried_forward_line();
        for (const QString& line : lines) {
            const QStringList f = line.split(u'|');
            shuushi_line& s = t.lines[std::size_t(t.row_count++)];
            s.day = std::int8_t(f[0].toInt());
            s.shop.assign(to_sjis(f[1]));
            s.item.assign(to_sjis(f[2]));
            std::tie(s.kind, s.income, s.expense) = std::tuple(f[3].toInt(), f[4].toInt(), f[5].toInt());
            s.memo.assign(to_sjis(f.value(6)));
        }
        dir.write(name, name.ends_with(".csv") ? encode_csv(t) : encode_kzn(t));
    }

    // Records the dialog as shown: "caption|label|start year|month|end year|month|left,top".
    void answer(period_answer a) {
        runner.push([this, a](QDialog& d) {
            auto& f = dynamic_cast<term_input_form&>(d);
            dialogs << QStringLiteral("%1|%2|%3|%4|%5|%6|%7,%8")
                           .arg(f.windowTitle(), f.Label7()->text(), f.start_year_box()->text(),
                                f.start_month_box()->currentText(), f.end_year_box()->text(),
                                f.end_month_box()->currentText(), QString::number(f.x()),
                                QString::number(f.y()));
            if (!a.name) return int(QDialog::Rejected);
            const QString from = QString::fromUtf8(a.from), to = QString::fromUtf8(a.to);
            f.name_box()->setText(QString::fromUtf8(a.name));
            f.start_year_box()->setText(from.section(u'/', 0, 0));
            f.start_month_box()->setCurrentIndex(from.section(u'/', 1).toInt() - 1);
            f.end_year_box()->setText(to.section(u'/', 0, 0));
            f.end_month_box()->setCurrentIndex(to.section(u'/', 1).toInt() - 1);
            (a.csv ? f.csv_item() : f.kzn_item())->setChecked(true);
            return int(QDialog::Accepted);
        });
    }

    // The result table, a text per row with its cells joined by "|".
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

    // An unsaved month in hand, opened from the given file and edited since: a
    // cheap line of every item the tests search for.
    void hold_unsaved_month(const std::string& name, std::uint16_t year, std::uint16_t month) {
        month_state& state = form->state();
        state.open_path.assign(dir.file(name));
        state.open_name.assign(name);
        std::tie(state.open_year, state.open_month, state.changed_flag) = std::tuple(year, month, true);
        for (const char* item : {"牛乳", "tea"}) {
            shuushi_line& l = form->table().lines[std::size_t(form->table().row_count++)];
            l.item.assign(testing::sjis(item));
            l.expense = 1;
        }
        held = {form->table(), state_of()};
    }
    month_key state_of() const {
        const month_state& s = form->state();
        return {s.open_path.str(), s.open_name.str(), s.open_year, s.open_month, s.changed_flag};
    }
    void expect_month_in_hand_untouched() const {
        EXPECT_TRUE(form->table().lines == held.first.lines);
        EXPECT_EQ(form->table().row_count, held.first.row_count);
        EXPECT_EQ(state_of(), held.second);
    }

    hyou_form& table() { return *form->hyou_window(); }
    // The main window's outer top left plus the given fractions of its outer size.
    QPoint at(int width_div, int height_div) const {
        const QRect outer = form->frameGeometry();
        return {outer.left() + outer.width() / width_div, outer.top() + outer.height() / height_div};
    }

    testing::temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
    QStringList dialogs;
    std::pair<shuushi_data, month_key> held;
};

TEST_F(period_commands, cheapestPricesFillTheResultTableAndASecondSearchRefreshesIt) {
    write("1999_11.csv", texts({"3|生協|牛乳|1|0|198|特売", "4|A|卵|1|0|150"}));
    write("1999_12.csv", texts({"10|B|牛乳|0|0|1234567"}));
    write("2000_2.csv", texts({"0|C|牛乳|2|500|0|返品", "7|D|牛乳 |1|0|1", "28|E|牛乳|1|0|198"}));
    hold_unsaved_month("1999_12.csv", 1999, 12);
    answer({"牛乳", "1999/11", "2000/2"});
    const QPoint table_at = at(3, 10);
    form->search_bottom_price();

    EXPECT_EQ(
        notify.texts(),
        QStringList{
            QStringLiteral("ファイル(%1)がありません").arg(QString::fromStdString(dir.file("2000_1.csv")))});
    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_EQ(dialogs[0], QStringLiteral("最安値探索|の最安値を調べる|1999|12|1999|12|%1,%2")
                              .arg(100 + 900 / 3)
                              .arg(60 + 600 / 3));
    EXPECT_TRUE(table().isVisible());
    EXPECT_EQ(table().windowTitle(), QStringLiteral("最安値探索結果"));
    EXPECT_EQ(QRect(table().pos(), table().size()), QRect(table_at, QSize(387, 316)));
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(table().col_width(c), form->settings()[c]) << c;
    EXPECT_EQ(table_rows(), texts({"|日付|店名|品名|種類|収入|支出|メモ", "|2000/2/0|C|牛乳|2|500||返品",
                                   "|2000/2/28|E|牛乳|1||198|", "|1999/11/3|生協|牛乳|1||198|特売",
                                   "|1999/12/10|B|牛乳|||1,234,567|"}));

    QStringList eight;
    for (int i = 1; i <= 8; ++i)
        eight << QStringLiteral("%1|S|egg|1|0|%2").arg(i).arg(100 * i);
    write("2000_1.kzn", eight);
    write("2000_2.kzn", texts({"1|T|tea|3|0|30", "2|T|tea|3|0|20", "3|T|tea|3|0|10"}));
    answer({"egg", "2000/1", "2000/2", false});
    form->search_bottom_price();
    EXPECT_EQ(table().row_count(), 9);
    table().close();
    table().resize(500, 280);
    form->move(40, 30);
    answer({"tea", "2000/1", "2000/2", false});
    form->search_bottom_price();
    EXPECT_TRUE(table().isVisible());
    EXPECT_EQ(QRect(table().pos(), table().size()), QRect(at(3, 10), QSize(500, 280)));
    EXPECT_EQ(table_rows(), texts({"|日付|店名|品名|種類|収入|支出|メモ", "|2000/2/3|T|tea|3||10|",
                                   "|2000/2/2|T|tea|3||20|", "|2000/2/1|T|tea|3||30|"}));
    expect_month_in_hand_untouched();
}

TEST_F(period_commands, priceGraphGetsItsGridsPlaceAndSize) {
    write("1999_11.csv", texts({"5|生協|牛乳|1|0|300", "6|A|卵|1|0|999"}));
    write("1999_12.csv", texts({"0|B|牛乳|1|50|0"}));
    write("2000_1.csv", texts({"9|C|牛乳|1|0|250", "12|D|牛乳|1|0|300"}));
    form->settings()[setting::graph_width] = 430;
    form->settings()[setting::graph_height] = 410;
    hold_unsaved_month("1999_12.csv", 1999, 12);
    answer({"牛乳", "1999/11", "2000/1"});
    QStringList seen;
    runner.push([&](QDialog& d) {
        auto& g = dynamic_cast<graph_form&>(d);
        seen << g.windowTitle() << QString::number(g.graph_mode());
        EXPECT_EQ(QRect(g.pos(), g.outer_size()), QRect(at(5, 10), QSize(430, 410)));
        for (int r = 0; r < g.table_rows_with_header(); ++r)
            seen << g.table_text(0, r) + u'|' + g.table_text(1, r) + u'|' + g.table_text(2, r);
        for (int r = 0; r < 2; ++r)
            seen << g.legend_text(0, r) + u'|' + g.legend_text(1, r);
        g.resize(520, 460);
        return int(QDialog::Accepted);
    });
    form->term_graph();

    EXPECT_TRUE(notify.messages.empty()) << notify.texts().join(u'|').toStdString();
    EXPECT_EQ(dialogs.value(0).section(u'|', 0, 5),
              QStringLiteral("期間変動|の変動を調べる|1999|12|1999|12"));
    EXPECT_EQ(seen, texts({"期間変動グラフ", "2", "日付|店名|値段", "1999/11/5|生協|300", "1999/12/0|B|0",
                           "2000/1/9|C|250", "2000/1/12|D|300", "最高値|300", "最安値|0"}));
    // Its size after closing is what both graph windows open with next.
    EXPECT_EQ(form->settings()[setting::graph_width], 520);
    EXPECT_EQ(form->settings()[setting::graph_height], 460);
    expect_month_in_hand_untouched();
}

TEST_F(period_commands, wrongRangeNothingFoundAndCancelEndTheCommand) {
    write("2000_1.csv", texts({"1|S|tea|1|0|40"}));
    const std::pair<period_answer, const char*> cases[] = {
        {{"tea", "2000/3", "2000/2"}, "範囲指定が間違っています"},
        {{"tea", "/1", "2000/1"}, "範囲指定が間違っています"},
        {{"コーヒー", "2000/1", "2000/1"}, "コーヒーを発見できませんでした"},
        {{}, nullptr},
    };
    for (const auto& [answer_given, message] : cases) {
        for (const bool graph : {false, true}) {
            notify.messages.clear();
            answer(answer_given);
            graph ? form->term_graph() : form->search_bottom_price();
            ASSERT_EQ(notify.messages.size(), message ? 1u : 0u);
            if (!message) continue;
            EXPECT_EQ(notify.messages[0].kind, message_kind::warning);
            EXPECT_EQ(notify.messages[0].text, QString::fromUtf8(message));
        }
    }
    EXPECT_TRUE(table().isHidden());
    EXPECT_EQ(runner.runs(), 8); // dialogs only: no graph window
    const QDate today = QDate::currentDate();
    EXPECT_EQ(dialogs[0].section(u'|', 2, 5),
              QStringLiteral("%1|%2|%1|%2").arg(today.year()).arg(today.month()));
}

} // namespace
} // namespace kozenica
