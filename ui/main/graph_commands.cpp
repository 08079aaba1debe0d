// The monthly summary command: the month's expenses by kind as a table and a
// pie in the graph window.
#include "core/digits.h"
#include "core/notifier.h"
#include "core/summary.h"
#include "main_form.h"
#include "ui/graph_window/graph_form.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/placement.h"
#include "ui/platform/sjis.h"

#include <QTableWidget>

namespace kozenica {

namespace {

constexpr int summary_columns = 4;

void fill_summary_table(graph_form& form, const std::vector<shuukei_line>& rows) {
    form.set_table_size(summary_columns, static_cast<int>(rows.size()) + 1);
    const QString header[summary_columns] = {QStringLiteral("No."), QStringLiteral("種類"),
                                             QStringLiteral("合計"), QStringLiteral("比率")};
    for (int c = 0; c < summary_columns; ++c)
        form.set_table_text(c, 0, header[c]);
    int r = 1;
    for (const shuukei_line& row : rows) {
        form.set_table_text(0, r, ascii(format_decimal(row.kind)));
        form.set_table_text(1, r, to_qstring(row.name.view()));
        form.set_table_text(2, r, ascii(format_decimal(row.sum)));
        form.set_table_text(3, r, ascii(ratio_text(row.ratio)));
        ++r;
    }
}

} // namespace

void main_form::show_graph_window() {
    const summary_result summary = summarize_month(table(), kinds());
    if (!summary.ok()) {
        notify().tell(message_kind::warning, summary.message());
        return;
    }

    graph_form form(1, this);
    fill_summary_table(form, summary.rows);
    QTableWidget* grid = form.draw_Shuukei();
    for (int c = 0; c < summary_columns; ++c)
        grid->setColumnWidth(c, settings()[setting::summary_column0 + c]);
    const QPoint at = opening_point(frameGeometry(), 4, 10);
    form.set_bounds(at.x(), at.y(), settings()[setting::graph_width], settings()[setting::graph_height]);
    form.setWindowTitle(QStringLiteral("月内集計グラフ"));

    runner().run(form);

    for (int c = 0; c < summary_columns; ++c)
        settings()[setting::summary_column0 + c] = grid->columnWidth(c);
    const QSize size = form.outer_size();
    settings()[setting::graph_width] = size.width();
    settings()[setting::graph_height] = size.height();
}

} // namespace kozenica
