// The monthly summary command: the warning, the table handed over, its placing, the sizes kept.
#include "core/settings.h"
#include "support/temp_program_dir.h"
#include "tests/core/summary_testing.h"
#include "ui/graph_window/graph_form.h"
#include "ui/main/main_form.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"

#include <QHeaderView>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <memory>

namespace kozenica {
namespace {

using testing::month_line;

// What the graph window held when shown: "caption mode legend-columns", then the
// rows (header first, cells joined by '|'); column widths; outer bounds.
struct window_seen {
    QStringList rows;
    std::vector<int> widths;
    QRect bounds;
};

class summary_command : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("kindlist.dat",
                  testing::sjis("0\r\n繰越・その他\r\n1\r\n食費\r\n2\r\n外食\r\n3\r\n日用品\r\n"));
        form = make_main();
    }

    std::unique_ptr<main_form> make_main() {
        auto m = std::make_unique<main_form>(dir.path(), notify, runner);
        m->move(100, 50), m->resize(800, 600);
        return m;
    }

    // Runs the command on a month; `user` may resize the window and its columns before closing it.
    window_seen run(main_form& m, const std::vector<month_line>& lines,
                    const std::function<void(graph_form&)>& user = {}) {
        testing::set_month(m.table(), lines);
        window_seen seen;
        runner.push([&](QDialog& dialog) {
            graph_form& g = dynamic_cast<graph_form&>(dialog);
            seen.rows << QStringLiteral("%1 %2 %3")
                             .arg(g.windowTitle())
                             .arg(g.graph_mode())
                             .arg(g.taiou_list_box()->columnCount());
            for (int r = 0; r < g.table_rows_with_header(); ++r)
                seen.rows << QStringList{g.table_text(0, r), g.table_text(1, r), g.table_text(2, r),
                                         g.table_text(3, r)}
                                 .join(u'|');
            for (int c = 0; c < 4; ++c)
                seen.widths.push_back(g.draw_Shuukei()->columnWidth(c));
            seen.bounds = QRect(g.pos(), g.outer_size());
            if (user) user(g);
            return int(QDialog::Rejected);
        });
        m.show_graph_window();
        return seen;
    }

    testing::temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
};

TEST_F(summary_command, a_failed_summary_warns_and_shows_nothing) {
    const window_settings before = form->settings();
    run(*form, {{0, 0, 0}, {1, 0, 300}, {7, 0, 200}});
    EXPECT_EQ(notify.texts(), QStringList{QStringLiteral("リストに存在しない種類です:7")});
    EXPECT_EQ(notify.messages.at(0).kind, message_kind::warning);
    EXPECT_EQ(runner.runs(), 0);
    EXPECT_EQ(form->settings(), before);
}

TEST_F(summary_command, fills_the_table_and_places_the_window) {
    const window_seen seen =
        run(*form, {{0, 50000, 0}, {1, 0, 1200}, {2, 0, 2400}, {1, 0, 1800}, {3, 0, 900}, {3, 40, 0}});
    EXPECT_TRUE(notify.messages.empty());
    EXPECT_EQ(seen.rows.join(u'\n').toStdString(),
              "月内集計グラフ 1 3\nNo.|種類|合計|比率\n1|食費|3000|47.62\n"
              "2|外食|2400|38.10\n3|日用品|900|14.29\n0|繰越・その他|0|0.00");
    EXPECT_EQ(seen.widths, (std::vector<int>{40, 70, 50, 50}));
    EXPECT_EQ(seen.bounds, QRect(300, 110, 400, 400)); // left 100 + 800 / 4, top 50 + 600 / 10
}

TEST_F(summary_command, sizes_chosen_by_the_user_come_back_also_after_a_restart) {
    run(*form, {{1, 0, 500}}, [](graph_form& g) {
        g.resize(520, 470);
        g.draw_Shuukei()->horizontalHeader()->resizeSection(1, 120);
        g.draw_Shuukei()->horizontalHeader()->resizeSection(3, 65);
    });
    const window_seen again = run(*form, {{1, 0, 500}});
    ASSERT_EQ(write_settings_file(dir.file("kozenic.int"), form->settings()), save_result::saved);
    form.reset();
    const window_seen restarted = run(*make_main(), {{1, 0, 500}});
    for (const window_seen& seen : {again, restarted}) {
        EXPECT_EQ(seen.widths, (std::vector<int>{40, 120, 50, 65}));
        EXPECT_EQ(seen.bounds.size(), QSize(520, 470));
    }
}

} // namespace
} // namespace kozenica
