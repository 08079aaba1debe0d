// The monthly summary command through the main window: the three warnings, the
// table handed to the graph window, its placing, and the sizes it keeps.
#include "core/settings.h"
#include "support/temp_program_dir.h"
#include "ui/graph_window/graph_form.h"
#include "ui/main/main_form.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"

#include <QHeaderView>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

static void PrintTo(const QString& text, std::ostream* os) {
    *os << text.toStdString();
}

namespace kozenica {
namespace {

using testing::sjis;
using testing::temp_program_dir;

struct line_spec {
    std::int32_t kind;
    std::int32_t income;
    std::int32_t expense;
};

// What the graph window held when the runner showed it.
struct window_seen {
    QString caption;
    int mode = 0;
    QStringList header;
    std::vector<QStringList> rows;
    std::vector<int> widths;
    QRect bounds;
    int legend_columns = 0;
    QStringList legend_names;
};

window_seen look_at(graph_form& form) {
    window_seen seen;
    seen.caption = form.windowTitle();
    seen.mode = form.graph_mode();
    QTableWidget* table = form.draw_Shuukei();
    for (int c = 0; c < table->columnCount(); ++c) {
        seen.header << form.table_text(c, 0);
        seen.widths.push_back(table->columnWidth(c));
    }
    for (int r = 1; r < form.table_rows_with_header(); ++r) {
        QStringList row;
        for (int c = 0; c < table->columnCount(); ++c)
            row << form.table_text(c, r);
        seen.rows.push_back(row);
    }
    seen.bounds = QRect(form.pos(), form.outer_size());
    seen.legend_columns = form.taiou_list_box()->columnCount();
    form.FormResize(); // what the first showing does
    for (int r = 0; r < form.taiou_list_box()->rowCount(); ++r)
        seen.legend_names << form.legend_text(2, r);
    return seen;
}

class summary_command : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("kindlist.dat", sjis("0\r\n繰越・その他\r\n1\r\n食費\r\n2\r\n外食\r\n3\r\n日用品\r\n"));
        form = make_main();
    }

    std::unique_ptr<main_form> make_main() {
        auto m = std::make_unique<main_form>(dir.path(), notify, runner);
        m->move(100, 50);
        m->resize(800, 600);
        return m;
    }

    void set_month(main_form& m, const std::vector<line_spec>& lines) {
        shuushi_data& data = m.table();
        data.row_count = static_cast<std::int32_t>(lines.size()) + 1;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            data.lines[i + 1] = shuushi_line{};
            data.lines[i + 1].kind = lines[i].kind;
            data.lines[i + 1].income = lines[i].income;
            data.lines[i + 1].expense = lines[i].expense;
        }
    }

    // Runs the command once; the script looks at the window, then may resize it
    // and drag a column before the user closes it.
    window_seen run(main_form& m, const std::function<void(graph_form&)>& user = {}) {
        window_seen seen;
        runner.push([&](QDialog& dialog) {
            auto* graph = dynamic_cast<graph_form*>(&dialog);
            EXPECT_NE(graph, nullptr);
            if (graph == nullptr) return int(QDialog::Rejected);
            seen = look_at(*graph);
            if (user) user(*graph);
            return int(QDialog::Rejected);
        });
        m.show_graph_window();
        return seen;
    }

    temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
};

struct failure_case {
    const char* title;
    std::vector<line_spec> lines;
    const char* message;
};

class summary_failures : public summary_command, public ::testing::WithParamInterface<failure_case> {};

TEST_P(summary_failures, warn_once_and_show_nothing) {
    const failure_case& c = GetParam();
    set_month(*form, c.lines);
    const window_settings before = form->settings();
    form->show_graph_window();
    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_EQ(notify.messages[0].kind, message_kind::warning);
    EXPECT_EQ(notify.messages[0].text, QString::fromUtf8(c.message));
    EXPECT_FALSE(notify.messages[0].question);
    EXPECT_EQ(runner.runs(), 0);
    EXPECT_EQ(form->settings(), before);
}

INSTANTIATE_TEST_SUITE_P(
    months, summary_failures,
    ::testing::Values(
        failure_case{"new_month", {{0, 0, 0}}, "支出の合計が０です"},
        failure_case{"incomes_only", {{0, 30000, 0}, {1, 500, 0}}, "支出の合計が０です"},
        failure_case{"six_kinds_for_four_entries",
                     {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {3, 0, 1}, {8, 0, 1}, {9, 0, 1}},
                     "種類の入力に間違いがあります"},
        failure_case{"unknown_kind", {{0, 0, 0}, {1, 0, 300}, {7, 0, 200}}, "リストに存在しない種類です:7"}),
    [](const ::testing::TestParamInfo<failure_case>& info) { return std::string(info.param.title); });

TEST_F(summary_command, fills_the_table_and_places_the_window) {
    set_month(*form, {{0, 50000, 0}, {1, 0, 1200}, {2, 0, 2400}, {1, 0, 1800}, {3, 0, 900}, {3, 40, 0}});
    const window_seen seen = run(*form);
    EXPECT_TRUE(notify.messages.empty());
    EXPECT_EQ(runner.runs(), 1);
    EXPECT_EQ(seen.caption, QStringLiteral("月内集計グラフ"));
    EXPECT_EQ(seen.mode, 1);
    EXPECT_EQ(seen.header, (QStringList{QStringLiteral("No."), QStringLiteral("種類"), QStringLiteral("合計"),
                                        QStringLiteral("比率")}));
    // Total 6300: food 3000, eating out 2400, daily goods 900, carried forward 0.
    const std::vector<QStringList> rows = {
        {QStringLiteral("1"), QStringLiteral("食費"), QStringLiteral("3000"), QStringLiteral("47.62")},
        {QStringLiteral("2"), QStringLiteral("外食"), QStringLiteral("2400"), QStringLiteral("38.10")},
        {QStringLiteral("3"), QStringLiteral("日用品"), QStringLiteral("900"), QStringLiteral("14.29")},
        {QStringLiteral("0"), QStringLiteral("繰越・その他"), QStringLiteral("0"), QStringLiteral("0.00")},
    };
    EXPECT_EQ(seen.rows, rows);
    EXPECT_EQ(seen.widths, (std::vector<int>{40, 70, 50, 50}));
    // top = 50 + 600 / 10, left = 100 + 800 / 4; size from the settings.
    EXPECT_EQ(seen.bounds, QRect(300, 110, 400, 400));
    EXPECT_EQ(seen.legend_columns, 3);
    EXPECT_EQ(seen.legend_names,
              (QStringList{QStringLiteral("食費"), QStringLiteral("外食"), QStringLiteral("日用品")}));
}

TEST_F(summary_command, sizes_chosen_by_the_user_come_back) {
    set_month(*form, {{1, 0, 500}, {2, 0, 250}});
    run(*form, [](graph_form& g) {
        g.resize(520, 470);
        g.draw_Shuukei()->horizontalHeader()->resizeSection(1, 120);
        g.draw_Shuukei()->horizontalHeader()->resizeSection(3, 65);
    });
    const window_settings& s = form->settings();
    EXPECT_EQ(s[setting::summary_column0 + 0], 40);
    EXPECT_EQ(s[setting::summary_column0 + 1], 120);
    EXPECT_EQ(s[setting::summary_column0 + 2], 50);
    EXPECT_EQ(s[setting::summary_column0 + 3], 65);
    EXPECT_EQ(s[setting::graph_width], 520);
    EXPECT_EQ(s[setting::graph_height], 470);

    // Next showing, same run of the program.
    const window_seen again = run(*form);
    EXPECT_EQ(again.widths, (std::vector<int>{40, 120, 50, 65}));
    EXPECT_EQ(again.bounds.size(), QSize(520, 470));

    // After a restart: the settings file as the shut-down writes it, read back
    // by a new main window.
    ASSERT_EQ(write_settings_file(dir.file("kozenic.int"), form->settings()), save_result::saved);
    form.reset();
    auto restarted = make_main();
    set_month(*restarted, {{1, 0, 500}, {2, 0, 250}});
    const window_seen after_restart = run(*restarted);
    EXPECT_EQ(after_restart.widths, (std::vector<int>{40, 120, 50, 65}));
    EXPECT_EQ(after_restart.bounds.size(), QSize(520, 470));
}

TEST_F(summary_command, damaged_sizes_in_the_settings_give_a_usable_window) {
    set_month(*form, {{1, 0, 500}});
    form->settings()[setting::graph_width] = -5;
    form->settings()[setting::graph_height] = 1 << 30;
    const window_seen seen = run(*form);
    EXPECT_EQ(seen.bounds.size(), QSize(50, 4096));
    EXPECT_EQ(form->settings()[setting::graph_width], 50);
}

} // namespace
} // namespace kozenica
