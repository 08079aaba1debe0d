// The period commands: price-change graph and cheapest-price search. Both ask
// for an item and a range with the period dialog, walk the month files of the
// range into a scratch table of their own, and never touch the month in hand.
#include "period_commands.h"

#include "core/bottom_price.h"
#include "core/month_file.h"
#include "core/month_walk.h"
#include "core/term_points.h"
#include "ledger_model.h"
#include "main_form.h"
#include "ui/graph_window/graph_form.h"
#include "ui/hyou_windows/hyou_form.h"
#include "ui/platform/message_box.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/outer_frame.h"
#include "ui/platform/placement.h"
#include "ui/platform/sjis.h"
#include "ui/term_window/term_input_form.h"

#include <QDate>
#include <QRadioButton>
#include <QTableWidget>
#include <optional>
#include <system_error>

namespace kozenica {

namespace {

// The month the dialog starts from: the month in hand once it has a file,
// otherwise today's.
std::pair<int, int> initial_month(const month_state& state) {
    if (!state.open_path.empty()) return {state.open_year, state.open_month};
    const QDate today = QDate::currentDate();
    return {today.year(), today.month()};
}

// Shows the period dialog; the query when the user pressed OK and the range
// is right, nothing otherwise (a wrong range has been told). With
// month_format, the dialog starts at the format of the month in hand's file,
// where it has one.
std::optional<period_query> ask_period(main_form& form, const QString& caption, const QString& label,
                                       bool month_format = false) {
    term_input_form dialog(&form);
    dialog.place_over(form);
    dialog.set_command_texts(caption, label);
    const auto [year, month] = initial_month(form.state());
    dialog.set_initial_month(year, month);
    const file_path& own = form.state().open_path;
    if (month_format && !own.empty())
        (format_of_path(own.view()) == month_format::kzn ? dialog.kzn_item() : dialog.csv_item())
            ->setChecked(true);
    if (form.runner().run(dialog) != QDialog::Accepted) return std::nullopt;
    const period_query query = dialog.query();
    if (!check_range(query, form.notify())) return std::nullopt;
    return query;
}

void fill_point_table(graph_form& graph, const term_point_list& points) {
    graph.set_table_size(3, points.size() + 1);
    graph.set_table_text(0, 0, QStringLiteral("日付"));
    graph.set_table_text(1, 0, QStringLiteral("店名"));
    graph.set_table_text(2, 0, QStringLiteral("値段"));
    for (int i = 0; i < points.size(); ++i) {
        graph.set_table_text(0, i + 1, to_qstring(points[i].date.view()));
        graph.set_table_text(1, i + 1, to_qstring(points[i].shop.view()));
        graph.set_table_text(2, i + 1, QString::number(points[i].price));
    }
}

void fill_legend(graph_form& graph, const term_point_list& points) {
    graph.taiou_list_box()->setColumnCount(2);
    graph.set_legend_text(0, 0, QStringLiteral("最高値"));
    graph.set_legend_text(1, 0, QString::number(points.highest()));
    graph.set_legend_text(0, 1, QStringLiteral("最安値"));
    graph.set_legend_text(1, 1, QString::number(points.lowest()));
}

void show_term_graph(main_form& form, const term_point_list& points) {
    window_settings& settings = form.settings();
    graph_form graph(2, &form);
    fill_point_table(graph, points);
    fill_legend(graph, points);
    const QPoint at = opening_point(form.frameGeometry(), 5, 10);
    graph.set_bounds(at.x(), at.y(), settings[setting::graph_width], settings[setting::graph_height]);
    graph.setWindowTitle(QStringLiteral("期間変動グラフ"));
    form.runner().run(graph);
    // The period graph and the monthly summary share one saved size.
    const QSize size = graph.outer_size();
    settings[setting::graph_width] = size.width();
    settings[setting::graph_height] = size.height();
}

void show_bottom_prices(main_form& form, const bottom_price_list& list) {
    hyou_form& table = *form.hyou_window();
    table.setWindowTitle(QStringLiteral("最安値探索結果"));
    outer_frame::of(table).place_at(opening_point(form.frameGeometry(), 3, 10));
    table.show();
    table.raise();
    table.activateWindow();

    table.set_col_count(bottom_price_columns);
    table.set_row_count(list.size() + 1);
    // The ledger grid's widths as start-up read them.
    for (int c = 0; c < bottom_price_columns; ++c)
        table.set_col_width(c, form.settings()[setting::ledger_column0 + c]);
    // The ledger grid's headings too.
    for (int c = 1; c < bottom_price_columns; ++c)
        table.set_cell(c, 0, form.model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    for (int r = 1; r <= list.size(); ++r) {
        const auto cells = bottom_price_row(list[r - 1]);
        for (int c = 1; c < bottom_price_columns; ++c)
            table.set_cell(c, r, to_qstring(cells[std::size_t(c)]));
    }
}

// Walks the month files of an asked period, handing each line to `take` to
// gather into `Found`; shows what was gathered, or tells that the item was not
// found.
template <typename Found, typename Take, typename Show>
void walk_period(main_form& form, const period_query& query, Take take, Show show) {
    try {
        Found found;
        const walk_outcome outcome =
            month_walk(query, form.program_dir(), form.notify(),
                       [&](const shuushi_line& line, std::uint16_t, std::uint16_t, std::string_view date) {
                           return take(found, line, date);
                       });
        // The user stopped the command: nothing more to show.
        if (outcome == walk_outcome::stopped_by_user) return;
        if (found.empty()) {
            form.notify().tell(message_kind::warning, not_found_text(query.item_name.view()));
            return;
        }
        show(form, found);
    } catch (const std::system_error& failure) {
        tell_io_error(form.notify(), failure);
    }
}

// Asks for the period, then walks it as walk_period does.
template <typename Found, typename Take, typename Show>
void run_period_command(main_form& form, const QString& caption, const QString& label, Take take, Show show) {
    const auto query = ask_period(form, caption, label);
    if (!query) return;
    walk_period<Found>(form, *query, take, show);
}

} // namespace

std::optional<period_query> ask_period_query(main_form& form, const QString& caption, const QString& label) {
    return ask_period(form, caption, label, true);
}

void show_period_graph(main_form& form, const period_query& query) {
    walk_period<term_point_list>(
        form, query,
        [&form](term_point_list& points, const shuushi_line& line, std::string_view date) {
            return points.add(line, date, form.notify());
        },
        show_term_graph);
}

void main_form::term_graph() {
    run_period_command<term_point_list>(
        *this, QStringLiteral("期間変動"), QStringLiteral("の変動を調べる"),
        [this](term_point_list& points, const shuushi_line& line, std::string_view date) {
            return points.add(line, date, notify_);
        },
        show_term_graph);
}

void main_form::search_bottom_price() {
    run_period_command<bottom_price_list>(
        *this, QStringLiteral("最安値探索"), QStringLiteral("の最安値を調べる"),
        [](bottom_price_list& list, const shuushi_line& line, std::string_view date) {
            list.add(line, date);
            return walk_answer::go_on;
        },
        show_bottom_prices);
}

} // namespace kozenica
