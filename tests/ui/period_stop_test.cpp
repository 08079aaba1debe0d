// A period command over a range with missing months: each missing-month box
// can stop the whole command, and a range with very many missing months asks
// once before the first box. A stopped command shows nothing more.
#include "core/month_file.h"
#include "ui/hyou_windows/hyou_form.h"
#include "ui/term_window/term_input_form.h"
#include "window_testing.h"

#include <QRadioButton>

namespace kozenica {
namespace {

using namespace testing;

class period_stop : public program_window_test {
  protected:
    // The next period dialog answers milk over the range, CSV files.
    void ask_period(int from_year, int from_month, int to_year, int to_month) {
        runner.push([=](QDialog& d) {
            auto& f = dynamic_cast<term_input_form&>(d);
            f.name_box()->setText(u"milk"_s);
            f.start_year_box()->setText(QString::number(from_year));
            f.end_year_box()->setText(QString::number(to_year));
            f.start_month_box()->setCurrentIndex(from_month - 1);
            f.end_month_box()->setCurrentIndex(to_month - 1);
            f.csv_item()->setChecked(true);
            return int(QDialog::Accepted);
        });
    }
    void write_month(const char* name, int price) {
        dir.write(name, "1,,milk,0,0," + std::to_string(price) + ",\r\n");
    }
    QString missing(const char* name) const {
        return u"ファイル(%1)がありません"_s.arg(QString::fromStdString(dir.file(name)));
    }
    // The month in hand, unsaved, that no period command may touch.
    void hold_month() {
        form->table().lines[1].shop.assign("held");
        form->state().changed_flag = true;
        held = form->table();
    }
    void expect_month_untouched() {
        EXPECT_TRUE(form->table().lines == held.lines && form->table().row_count == held.row_count);
        EXPECT_TRUE(form->state().changed_flag);
        EXPECT_TRUE(form->state().open_path.empty());
    }
    shuushi_data held;
};

TEST_F(period_stop, stop_at_a_missing_month_ends_either_command_without_a_result) {
    write_month("2000_1.csv", 100);
    write_month("2000_4.csv", 90);
    hold_month();
    for (const bool graph : {false, true}) {
        notify.messages.clear();
        notify.stops = {false, true}; // OK at 2000/2, stop at 2000/3
        ask_period(2000, 1, 2000, 4);
        const int runs = runner.runs();
        graph ? form->term_graph() : form->search_bottom_price();
        EXPECT_EQ(notify.texts(), QStringList({missing("2000_2.csv"), missing("2000_3.csv")})) << graph;
        EXPECT_TRUE(std::ranges::all_of(notify.messages, [](auto& m) {
            return m.kind == message_kind::error && m.buttons == box_buttons::ok_stop;
        }));
        EXPECT_TRUE(form->hyou_window()->isHidden());
        EXPECT_EQ(runner.runs(), runs + 1) << "no graph window after the period dialog";
        expect_month_untouched();
    }
    // OK at every box: the walk goes on and shows its result.
    notify.messages.clear();
    ask_period(2000, 1, 2000, 4);
    form->search_bottom_price();
    EXPECT_EQ(notify.texts(), QStringList({missing("2000_2.csv"), missing("2000_3.csv")}));
    EXPECT_TRUE(form->hyou_window()->isVisible());
}

// A year typed as 224 for 2024: 21,602 months without a file.
TEST_F(period_stop, a_range_of_thousands_of_missing_months_asks_once_first) {
    write_month("2024_2.csv", 100);
    hold_month();
    const QString ask = u"範囲の中に、ファイルのない月が21602か月あります\n"
                        u"続けると、月ごとにメッセージが出ます\n続けますか?"_s;
    notify.answers = {false};
    ask_period(224, 1, 2024, 3);
    form->search_bottom_price();
    ASSERT_EQ(notify.texts(), QStringList{ask});
    EXPECT_EQ(std::pair(notify.messages[0].kind, notify.messages[0].buttons),
              std::pair(message_kind::warning, box_buttons::yes_no_default_no));
    EXPECT_TRUE(form->hyou_window()->isHidden());
    expect_month_untouched();
    // Yes: the boxes come, and the first one's stop ends it.
    notify.messages.clear();
    notify.answers = {true};
    notify.stops = {true};
    ask_period(224, 1, 2024, 3);
    form->term_graph();
    EXPECT_EQ(notify.texts(), QStringList({ask, missing("224_1.csv")}));
    EXPECT_EQ(runner.unscripted_runs(), 0);
    expect_month_untouched();
}

// The walk reads the first 1999 lines of a longer file without a word.
TEST_F(period_stop, the_walk_reads_a_file_longer_than_a_month_without_a_message) {
    std::string lines;
    for (int i = 1; i <= 2500; ++i)
        lines += "1,s,milk,0,0," + std::to_string(i) + ",\r\n";
    dir.write("2024_2.csv", lines);
    ask_period(2024, 2, 2024, 2);
    form->search_bottom_price();
    EXPECT_TRUE(notify.messages.empty());
    EXPECT_EQ(form->hyou_window()->cell(6, 10), u"10"_s);
}

} // namespace
} // namespace kozenica
