#include "graph_form.h"

#include "graph_cells.h"
#include "graph_painting.h"
#include "ui/platform/fonts.h"
#include "ui/platform/grid_header.h"
#include "ui/platform/outer_frame.h"
#include "ui/platform/sjis.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QTableWidget>
#include <algorithm>

namespace kozenica {

namespace {
constexpr int row_height = 20;
constexpr int legend_column_width = 30;
constexpr int legend_initial_rows = 5;
// A picture, a legend and a table big enough to make out.
constexpr QSize graph_minimum(160, 160);
} // namespace

// The legend grid: shows the slices' colours and names (or the period graph's
// prices and step). It gives up its highlight when it loses the focus, so no
// legend cell keeps the selection colour over its swatch.
class graph_legend_grid : public QTableWidget {
  public:
    using QTableWidget::QTableWidget;
    void erace_select_color_on_taiou_list() {
        clearSelection();
        selectionModel()->clearCurrentIndex();
    }

  protected:
    void focusOutEvent(QFocusEvent* event) override {
        QTableWidget::focusOutEvent(event);
        erace_select_color_on_taiou_list();
    }
};

// The drawing area. It paints the picture the window works out from the
// grids' text, so a window that was covered or restored shows the same graph.
class graph_paint_box : public QWidget {
  public:
    graph_paint_box(const graph_form& form, QWidget* parent) : QWidget(parent), form_(form) {
        setAutoFillBackground(true); // the window face colour behind the pie
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        form_.paint_PaintBox(painter);
    }

  private:
    const graph_form& form_;
};

namespace {

// The table grid: not editable, range selection, rows 20 pixels high, column
// widths dragged on its header.
void set_up_table(QTableWidget& table, int graph_mode) {
    table.setHorizontalHeader(new grid_header(
        Qt::Horizontal, [](int) { return Qt::AlignHCenter; }, &table));
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setSelectionMode(QAbstractItemView::ContiguousSelection);
    table.setWordWrap(false);
    table.verticalHeader()->hide();
    table.verticalHeader()->setMinimumSectionSize(1);
    table.verticalHeader()->setDefaultSectionSize(row_height);
    table.horizontalHeader()->setMinimumSectionSize(0);
    table.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table.horizontalHeader()->setHighlightSections(false);
    table.setItemDelegate(new graph_cell_delegate(graph_mode, graph_cell_delegate::grid::table, &table));
}

// The legend grid: no headers, no grid lines, 3 columns of 30 pixels and 5
// rows until the drawing sets them.
void set_up_legend(QTableWidget& legend, int graph_mode) {
    legend.setEditTriggers(QAbstractItemView::NoEditTriggers);
    legend.setSelectionMode(QAbstractItemView::ContiguousSelection);
    legend.setFocusPolicy(Qt::ClickFocus); // clicked, but skipped by Tab
    legend.setShowGrid(false);
    legend.setWordWrap(false);
    legend.horizontalHeader()->hide();
    legend.verticalHeader()->hide();
    legend.horizontalHeader()->setMinimumSectionSize(0);
    legend.verticalHeader()->setMinimumSectionSize(1);
    legend.horizontalHeader()->setDefaultSectionSize(legend_column_width);
    legend.verticalHeader()->setDefaultSectionSize(row_height);
    legend.setColumnCount(3);
    legend.setRowCount(legend_initial_rows);
    legend.setItemDelegate(new graph_cell_delegate(graph_mode, graph_cell_delegate::grid::legend, &legend));
}

} // namespace

pie_legend_widths pie_legend_column_widths(int legend_width) {
    const int name = legend_width > 20 ? std::max(0, legend_width - 23) : 10;
    return {15, 5, name};
}

graph_form::graph_form(int graph_mode, QWidget* owner)
    : QDialog(owner), graph_mode_(graph_mode), draw_Shuukei_(new QTableWidget(this)),
      taiou_list_box_(new graph_legend_grid(this)), PaintBox_(new graph_paint_box(*this, this)) {
    setFont(window_font());
    setWindowTitle(QStringLiteral("比率"));

    set_up_table(*draw_Shuukei_, graph_mode_);
    QAbstractItemModel* model = draw_Shuukei_->model();
    connect(model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& top_left) {
        if (top_left.row() == 0) show_header_row();
    });
    connect(model, &QAbstractItemModel::rowsInserted, this, &graph_form::show_header_row);
    connect(model, &QAbstractItemModel::columnsInserted, this, &graph_form::show_header_row);
    connect(model, &QAbstractItemModel::modelReset, this, &graph_form::show_header_row);

    set_up_legend(*taiou_list_box_, graph_mode_);

    PaintBox_->setFocusPolicy(Qt::NoFocus);
    outer_frame::of(*this).set_outer_size({360, 410});
}

// The table's model announces a reset while the table is torn down, after its
// headers are gone; the header row must not be shown again then.
graph_form::~graph_form() {
    draw_Shuukei_->model()->disconnect(this);
}

QTableWidget* graph_form::taiou_list_box() const {
    return taiou_list_box_;
}

void graph_form::set_table_size(int columns, int rows_with_header) {
    draw_Shuukei_->setColumnCount(std::max(0, columns));
    draw_Shuukei_->setRowCount(std::max(0, rows_with_header));
}

int graph_form::table_rows_with_header() const {
    return draw_Shuukei_->rowCount();
}

void graph_form::set_table_text(int column, int row, const QString& text) {
    set_cell(draw_Shuukei_, column, row, text);
}

QString graph_form::table_text(int column, int row) const {
    return cell(draw_Shuukei_, column, row);
}

// Row 0 holds the header texts; it is hidden and its texts are shown on the
// column header instead.
void graph_form::show_header_row() {
    QStringList labels;
    for (int c = 0; c < draw_Shuukei_->columnCount(); ++c)
        labels << table_text(c, 0);
    draw_Shuukei_->setHorizontalHeaderLabels(labels);
    if (draw_Shuukei_->rowCount() > 0) draw_Shuukei_->setRowHidden(0, true);
}

void graph_form::set_legend_text(int column, int row, const QString& text) {
    set_cell(taiou_list_box_, column, row, text);
}

QString graph_form::legend_text(int column, int row) const {
    return cell(taiou_list_box_, column, row);
}

QString graph_form::cell(const QTableWidget* grid, int column, int row) const {
    const QTableWidgetItem* item = grid->item(row, column);
    return item != nullptr ? item->text() : QString();
}

void graph_form::set_cell(QTableWidget* grid, int column, int row, const QString& text) {
    if (row < 0 || row >= grid->rowCount() || column < 0 || column >= grid->columnCount()) return;
    if (QTableWidgetItem* item = grid->item(row, column)) {
        item->setText(text);
    } else {
        grid->setItem(row, column, new QTableWidgetItem(text));
    }
}

void graph_form::set_bounds(int left, int top, int width, int height) {
    outer_frame::of(*this).place({left, top, width, height}, graph_minimum);
}

QSize graph_form::outer_size() const {
    return outer_size_of(*this);
}

void graph_form::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void graph_form::FormResize() {
    lay_out(width(), height());
    if (graph_mode_ == 2) {
        draw_period_legend();
    } else {
        draw_pie_legend();
    }
    PaintBox_->update();
}

void graph_form::lay_out(int cw, int ch) {
    const int h = ch / 2;
    draw_Shuukei_->setGeometry(0, h + 1, cw, ch - h - 1);
    const int w = graph_mode_ == 2 ? (cw / 4) * 3 : (cw / 3) * 2;
    PaintBox_->setGeometry(0, 0, w, h);
    const int legend_width = cw - w - 1;
    taiou_list_box_->setGeometry(w + 1, 0, legend_width, h);
    if (graph_mode_ == 2) {
        const int half = std::max(0, legend_width / 2 - 1);
        taiou_list_box_->setColumnWidth(0, half);
        taiou_list_box_->setColumnWidth(1, half);
        const int third = std::max(0, cw / 3 - 10);
        for (int c = 0; c < 3; ++c)
            draw_Shuukei_->setColumnWidth(c, third);
    } else {
        const pie_legend_widths widths = pie_legend_column_widths(legend_width);
        taiou_list_box_->setColumnWidth(0, widths.swatch);
        taiou_list_box_->setColumnWidth(1, widths.gap);
        taiou_list_box_->setColumnWidth(2, widths.name);
    }
}

pie_picture graph_form::pie() const {
    std::vector<std::string> ratios;
    for (int row = 1; row < table_rows_with_header(); ++row)
        ratios.push_back(to_sjis(table_text(3, row)));
    return pie_geometry(PaintBox_->width(), PaintBox_->height(), ratios);
}

period_graph_picture graph_form::period() const {
    std::vector<std::int64_t> prices;
    for (int row = 1; row < table_rows_with_header(); ++row)
        prices.push_back(graph_integer(to_sjis(table_text(2, row))));
    const std::int64_t high = graph_integer(to_sjis(legend_text(1, 0)));
    const std::int64_t low = graph_integer(to_sjis(legend_text(1, 1)));
    return period_graph(PaintBox_->width(), PaintBox_->height(), prices, high, low);
}

void graph_form::draw_pie_legend() {
    const pie_picture pic = pie();
    if (pic.legend_row_count) taiou_list_box_->setRowCount(*pic.legend_row_count);
    for (const legend_row& row : pic.legend)
        set_cell(taiou_list_box_, 2, row.row, table_text(1, row.table_row));
    taiou_list_box_->erace_select_color_on_taiou_list();
}

void graph_form::draw_period_legend() {
    const period_graph_picture pic = period();
    taiou_list_box_->setRowCount(4);
    set_cell(taiou_list_box_, 0, 3, QStringLiteral("目盛り"));
    set_cell(taiou_list_box_, 1, 3, QString::number(pic.step));
}

void graph_form::paint_PaintBox(QPainter& painter) const {
    if (graph_mode_ == 2) {
        paint_period_graph(painter, period());
    } else {
        paint_pie(painter, pie());
    }
}

} // namespace kozenica
