// The price-change graph and the cheapest-price search end to end: month
// files written into a temporary program directory, the period dialog filled
// by a script, the messages recorded, the result windows read back.
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
#include <optional>
#include <ostream>

static void PrintTo(const QString& text, std::ostream* os) {
    *os << text.toStdString();
}

namespace kozenica {
namespace {

using testing::sjis;
using testing::temp_program_dir;

struct line_fields {
    int day;
    const char* shop;
    const char* item;
    int kind, income, expense;
    const char* memo = "";
};

shuushi_data month_of(const std::vector<line_fields>& lines) {
    shuushi_data t;
    t.lines[1] = carried_forward_line();
    int r = 2;
    for (const auto& l : lines) {
        shuushi_line& s = t.lines[std::size_t(r++)];
        s.day = std::int8_t(l.day);
        s.shop.assign(sjis(l.shop));
        s.item.assign(sjis(l.item));
        s.kind = l.kind;
        s.income = l.income;
        s.expense = l.expense;
        s.memo.assign(sjis(l.memo));
    }
    t.row_count = r;
    return t;
}

struct period_answer {
    QString name;
    QString start_year;
    int start_month;
    QString end_year;
    int end_month;
    bool csv = true;
};

// What the period dialog showed when it was run.
struct dialog_seen {
    QString caption, label, start_year, end_year;
    int start_month_index, end_month_index;
    QPoint pos;
};

// What the graph window held when it was run.
struct graph_seen {
    int mode;
    QString caption;
    QRect geometry;
    std::vector<QStringList> rows;
    std::vector<QStringList> legend;
};

class period_commands : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("kindlist.dat", "1\r\nfood\r\n");
        form = std::make_unique<main_form>(dir.path(), notify, runner);
        form->setGeometry(100, 60, 900, 600);
        notify.messages.clear();
    }

    void write_csv(std::string_view name, const std::vector<line_fields>& lines) {
        dir.write(name, encode_csv(month_of(lines)));
    }
    void write_kzn(std::string_view name, const std::vector<line_fields>& lines) {
        dir.write(name, encode_kzn(month_of(lines)));
    }

    void answer(std::optional<period_answer> a) {
        runner.push([this, a](QDialog& d) {
            auto& f = dynamic_cast<term_input_form&>(d);
            dialogs.push_back({f.windowTitle(), f.Label7()->text(), f.start_year_box()->text(),
                               f.end_year_box()->text(), f.start_month_box()->currentIndex(),
                               f.end_month_box()->currentIndex(), f.pos()});
            if (!a) return int(QDialog::Rejected);
            f.name_box()->setText(a->name);
            f.start_year_box()->setText(a->start_year);
            f.start_month_box()->setCurrentIndex(a->start_month - 1);
            f.end_year_box()->setText(a->end_year);
            f.end_month_box()->setCurrentIndex(a->end_month - 1);
            (a->csv ? f.csv_item() : f.kzn_item())->setChecked(true);
            return int(QDialog::Accepted);
        });
    }

    // The graph window's script: records it and leaves it at a new size.
    void look_at_graph(QSize resized_to = {}) {
        runner.push([this, resized_to](QDialog& d) {
            auto& g = dynamic_cast<graph_form&>(d);
            graph_seen seen{g.graph_mode(), g.windowTitle(), QRect(g.pos(), g.outer_size()), {}, {}};
            for (int r = 0; r < g.table_rows_with_header(); ++r)
                seen.rows.push_back({g.table_text(0, r), g.table_text(1, r), g.table_text(2, r)});
            for (int r = 0; r < 2; ++r)
                seen.legend.push_back({g.legend_text(0, r), g.legend_text(1, r)});
            graphs.push_back(seen);
            if (resized_to.isValid()) g.resize(resized_to);
            return int(QDialog::Accepted);
        });
    }

    hyou_form& table() { return *form->hyou_window(); }

    // A point the given fractions of the main window's outer size from its
    // outer top left.
    QPoint at(int width_div, int height_div) const {
        const QRect outer = form->frameGeometry();
        return {outer.left() + outer.width() / width_div, outer.top() + outer.height() / height_div};
    }

    std::vector<QStringList> table_rows() {
        std::vector<QStringList> out;
        for (int r = 0; r < table().row_count(); ++r) {
            QStringList row;
            for (int c = 0; c < table().col_count(); ++c)
                row << table().cell(c, r);
            out.push_back(row);
        }
        return out;
    }

    temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
    std::vector<dialog_seen> dialogs;
    std::vector<graph_seen> graphs;
};

const QStringList table_header{QString(),
                               QStringLiteral("日付"),
                               QStringLiteral("店名"),
                               QStringLiteral("品名"),
                               QStringLiteral("種類"),
                               QStringLiteral("収入"),
                               QStringLiteral("支出"),
                               QStringLiteral("メモ")};

QStringList row(const char* date, const char* shop, const char* item, const char* kind, const char* income,
                const char* expense, const char* memo) {
    return {QString(),
            QString::fromUtf8(date),
            QString::fromUtf8(shop),
            QString::fromUtf8(item),
            QString::fromUtf8(kind),
            QString::fromUtf8(income),
            QString::fromUtf8(expense),
            QString::fromUtf8(memo)};
}

TEST_F(period_commands, cheapestPricesFillTheResultTable) {
    write_csv("1999_11.csv", {{3, "生協", "牛乳", 1, 0, 198, "特売"}, {4, "A", "卵", 1, 0, 150}});
    write_csv("1999_12.csv", {{10, "B", "牛乳", 0, 0, 1234567}});
    write_csv("2000_1.csv", {{0, "C", "牛乳", 2, 500, 0, "返品"}, {7, "D", "牛乳 ", 1, 0, 1}});
    write_csv("2000_2.csv", {{28, "E", "牛乳", 1, 0, 198}});
    answer(period_answer{QStringLiteral("牛乳"), QStringLiteral("1999"), 11, QStringLiteral("2000"), 2});
    const QPoint dialog_at = at(3, 3), table_at = at(3, 10);
    form->search_bottom_price();

    EXPECT_TRUE(notify.messages.empty()) << notify.texts().join(u'|').toStdString();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].caption, QStringLiteral("最安値探索"));
    EXPECT_EQ(dialogs[0].label, QStringLiteral("の最安値を調べる"));
    EXPECT_EQ(dialogs[0].pos, dialog_at);
    EXPECT_EQ(dialog_at, QPoint(100 + 900 / 3, 60 + 600 / 3));

    EXPECT_TRUE(table().isVisible());
    EXPECT_EQ(table().windowTitle(), QStringLiteral("最安値探索結果"));
    EXPECT_EQ(table().pos(), table_at);
    EXPECT_EQ(table().size(), QSize(387, 316));
    EXPECT_EQ(table().col_count(), 8);
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(table().col_width(c), form->settings()[c]) << c;
    const std::vector<QStringList> expected{
        table_header,
        row("2000/1/0", "C", "牛乳", "2", "500", "", "返品"),
        row("2000/2/28", "E", "牛乳", "1", "", "198", ""),
        row("1999/11/3", "生協", "牛乳", "1", "", "198", "特売"),
        row("1999/12/10", "B", "牛乳", "", "", "1,234,567", ""),
    };
    EXPECT_EQ(table_rows(), expected);
}

TEST_F(period_commands, aSecondSearchRefreshesTheTableInPlace) {
    std::vector<line_fields> eight;
    for (int i = 1; i <= 8; ++i)
        eight.push_back({i, "S", "egg", 1, 0, 100 * i});
    write_kzn("2000_1.kzn", eight);
    write_kzn("2000_2.kzn",
              {{1, "T", "tea", 3, 0, 30}, {2, "T", "tea", 3, 0, 20}, {3, "T", "tea", 3, 0, 10}});
    answer(period_answer{QStringLiteral("egg"), QStringLiteral("2000"), 1, QStringLiteral("2000"), 2, false});
    form->search_bottom_price();
    EXPECT_EQ(table().row_count(), 9);

    table().close();
    table().resize(500, 280);
    form->move(40, 30);
    answer(period_answer{QStringLiteral("tea"), QStringLiteral("2000"), 1, QStringLiteral("2000"), 2, false});
    const QPoint table_at = at(3, 10);
    form->search_bottom_price();
    EXPECT_TRUE(table().isVisible());
    EXPECT_EQ(table().pos(), table_at);
    EXPECT_EQ(table().size(), QSize(500, 280));
    const std::vector<QStringList> expected{
        table_header,
        row("2000/2/3", "T", "tea", "3", "", "10", ""),
        row("2000/2/2", "T", "tea", "3", "", "20", ""),
        row("2000/2/1", "T", "tea", "3", "", "30", ""),
    };
    EXPECT_EQ(table_rows(), expected);
}

TEST_F(period_commands, priceGraphGetsItsGridsPlaceAndSize) {
    write_csv("1999_11.csv", {{5, "生協", "牛乳", 1, 0, 300}, {6, "A", "卵", 1, 0, 999}});
    write_csv("1999_12.csv", {{0, "B", "牛乳", 1, 50, 0}});
    write_csv("2000_1.csv", {{9, "C", "牛乳", 1, 0, 250}, {12, "D", "牛乳", 1, 0, 300}});
    form->settings()[setting::graph_width] = 430;
    form->settings()[setting::graph_height] = 410;
    answer(period_answer{QStringLiteral("牛乳"), QStringLiteral("1999"), 11, QStringLiteral("2000"), 1});
    look_at_graph(QSize(520, 460));
    const QPoint graph_at = at(5, 10);
    form->term_graph();

    EXPECT_TRUE(notify.messages.empty()) << notify.texts().join(u'|').toStdString();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].caption, QStringLiteral("期間変動"));
    EXPECT_EQ(dialogs[0].label, QStringLiteral("の変動を調べる"));
    ASSERT_EQ(graphs.size(), 1u);
    const graph_seen& g = graphs[0];
    EXPECT_EQ(g.mode, 2);
    EXPECT_EQ(g.caption, QStringLiteral("期間変動グラフ"));
    EXPECT_EQ(g.geometry, QRect(graph_at, QSize(430, 410)));
    const std::vector<QStringList> rows{
        {QStringLiteral("日付"), QStringLiteral("店名"), QStringLiteral("値段")},
        {QStringLiteral("1999/11/5"), QStringLiteral("生協"), QStringLiteral("300")},
        {QStringLiteral("1999/12/0"), QStringLiteral("B"), QStringLiteral("0")},
        {QStringLiteral("2000/1/9"), QStringLiteral("C"), QStringLiteral("250")},
        {QStringLiteral("2000/1/12"), QStringLiteral("D"), QStringLiteral("300")},
    };
    EXPECT_EQ(g.rows, rows);
    const std::vector<QStringList> legend{{QStringLiteral("最高値"), QStringLiteral("300")},
                                          {QStringLiteral("最安値"), QStringLiteral("0")}};
    EXPECT_EQ(g.legend, legend);
    // The graph's size after closing is what both graph windows open with next.
    EXPECT_EQ(form->settings()[setting::graph_width], 520);
    EXPECT_EQ(form->settings()[setting::graph_height], 460);
}

struct failing_case {
    const char* name;
    period_answer answer;
    QStringList messages;
};

TEST_F(period_commands, missingAndDamagedMonthsAreToldAndSkipped) {
    write_kzn("2000_1.kzn", {{1, "S", "tea", 1, 0, 40}});
    dir.write("2000_3.kzn", "KZN but short");
    write_kzn("2000_5.kzn", {{2, "S", "tea", 1, 0, 30}});
    answer(period_answer{QStringLiteral("tea"), QStringLiteral("2000"), 1, QStringLiteral("2000"), 5, false});
    form->search_bottom_price();
    const QStringList texts = notify.texts();
    ASSERT_EQ(texts.size(), 3) << texts.join(u'|').toStdString();
    EXPECT_EQ(texts[0], QStringLiteral("ファイル(") + to_qstring(dir.file("2000_2.kzn")) +
                            QStringLiteral(")がありません"));
    EXPECT_EQ(notify.messages[0].kind, message_kind::error);
    EXPECT_TRUE(texts[1].contains(QStringLiteral("壊れています"))) << texts[1].toStdString();
    EXPECT_EQ(texts[2], QStringLiteral("ファイル(") + to_qstring(dir.file("2000_4.kzn")) +
                            QStringLiteral(")がありません"));
    ASSERT_EQ(table().row_count(), 3);
    EXPECT_EQ(table().cell(1, 1), QStringLiteral("2000/5/2"));
    EXPECT_EQ(table().cell(1, 2), QStringLiteral("2000/1/1"));
}

TEST_F(period_commands, wrongRangeNothingFoundAndCancelEndTheCommand) {
    write_csv("2000_1.csv", {{1, "S", "tea", 1, 0, 40}});
    const failing_case cases[] = {
        {"start after end",
         {QStringLiteral("tea"), QStringLiteral("2000"), 3, QStringLiteral("2000"), 2},
         {QStringLiteral("範囲指定が間違っています")}},
        {"empty start year",
         {QStringLiteral("tea"), QString(), 1, QStringLiteral("2000"), 1},
         {QStringLiteral("範囲指定が間違っています")}},
        {"empty end year",
         {QStringLiteral("tea"), QStringLiteral("2000"), 1, QString(), 1},
         {QStringLiteral("範囲指定が間違っています")}},
        {"year beyond 16 bits",
         {QStringLiteral("tea"), QStringLiteral("65537"), 1, QStringLiteral("65537"), 1},
         {QStringLiteral("範囲指定が間違っています")}},
        {"no such item",
         {QStringLiteral("コーヒー"), QStringLiteral("2000"), 1, QStringLiteral("2000"), 1},
         {QStringLiteral("コーヒーを発見できませんでした")}},
        {"empty name, no empty item",
         {QString(), QStringLiteral("2000"), 1, QStringLiteral("2000"), 1},
         {QStringLiteral("を発見できませんでした")}},
    };
    for (const auto& c : cases) {
        for (const bool graph : {false, true}) {
            notify.messages.clear();
            answer(c.answer);
            graph ? form->term_graph() : form->search_bottom_price();
            EXPECT_EQ(notify.texts(), c.messages) << c.name;
            for (const auto& m : notify.messages)
                EXPECT_EQ(m.kind, message_kind::warning) << c.name;
        }
    }
    EXPECT_EQ(runner.unscripted_runs(), 0); // no graph window after a failure
    EXPECT_TRUE(table().isHidden());

    notify.messages.clear();
    answer(std::nullopt);
    form->search_bottom_price();
    answer(std::nullopt);
    form->term_graph();
    EXPECT_TRUE(notify.messages.empty());
    EXPECT_TRUE(table().isHidden());
    EXPECT_EQ(runner.runs(), 14);
}

TEST_F(period_commands, dialogStartsFromTheMonthInHandOrToday) {
    answer(std::nullopt);
    form->term_graph();
    const QDate today = QDate::currentDate();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].start_year, QString::number(today.year()));
    EXPECT_EQ(dialogs[0].end_year, QString::number(today.year()));
    EXPECT_EQ(dialogs[0].start_month_index, today.month() - 1);

    form->state().open_path.assign(dir.file("1999_7.kzn"));
    form->state().open_year = 1999;
    form->state().open_month = 7;
    answer(std::nullopt);
    form->search_bottom_price();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[1].start_year, QStringLiteral("1999"));
    EXPECT_EQ(dialogs[1].end_year, QStringLiteral("1999"));
    EXPECT_EQ(dialogs[1].start_month_index, 6);
    EXPECT_EQ(dialogs[1].end_month_index, 6);
}

TEST_F(period_commands, theMonthInHandIsNeverTouched) {
    write_kzn("2000_1.kzn", {{1, "S", "tea", 1, 0, 40}, {2, "S", "tea", 1, 0, 50}});
    // An unsaved month in hand, opened as 2000/1 and edited since.
    form->state().open_path.assign(dir.file("2000_1.kzn"));
    form->state().open_name.assign("2000_1.kzn");
    form->state().open_year = 2000;
    form->state().open_month = 1;
    shuushi_data& t = form->table();
    t.lines[2].item.assign("tea");
    t.lines[2].expense = 7;
    t.lines[2].day = 9;
    t.row_count = 3;
    form->state().changed_flag = true;
    const shuushi_data table_before = t;
    const month_state state_before = form->state();

    answer(period_answer{QStringLiteral("tea"), QStringLiteral("2000"), 1, QStringLiteral("2000"), 1, false});
    form->search_bottom_price();
    answer(period_answer{QStringLiteral("tea"), QStringLiteral("2000"), 1, QStringLiteral("2000"), 1, false});
    look_at_graph();
    form->term_graph();

    EXPECT_TRUE(notify.messages.empty());
    EXPECT_EQ(table().row_count(), 3); // the file's lines, not the edited ones
    EXPECT_EQ(table().cell(6, 1), QStringLiteral("40"));
    EXPECT_TRUE(form->table().lines == table_before.lines);
    EXPECT_EQ(form->table().row_count, table_before.row_count);
    EXPECT_EQ(form->state().open_path, state_before.open_path);
    EXPECT_EQ(form->state().open_name, state_before.open_name);
    EXPECT_EQ(form->state().open_year, state_before.open_year);
    EXPECT_EQ(form->state().open_month, state_before.open_month);
    EXPECT_TRUE(form->state().changed_flag);
}

} // namespace
} // namespace kozenica
