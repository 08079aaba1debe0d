#include "hyou_form.h"

#include "ui/platform/cell_text.h"
#include "ui/platform/fonts.h"
#include "ui/platform/outer_frame.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kozenica {

namespace {

constexpr int row_height = 20;
constexpr int default_col_width = 64;
constexpr int initial_grid_size = 5;

// hyou_dispDrawCell for the cells below the header row and right of the
// header column; the headers paint themselves with the same alignment.
class hyou_cell_delegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QPalette& pal = option.palette;
        painter->save();
        painter->fillRect(option.rect, selected ? pal.highlight() : pal.base());
        const QRect text_rect = cell_text_rect(option.rect);
        painter->setClipRect(text_rect);
        painter->setFont(option.font);
        painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        painter->drawText(text_rect, int(hyou_cell_alignment(index.column() + 1, index.row() + 1)),
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

QTableWidgetItem* item_at(QTableWidget* grid, int col, int row) {
    if (row == 0) return grid->horizontalHeaderItem(col - 1);
    if (col == 0) return grid->verticalHeaderItem(row - 1);
    return grid->item(row - 1, col - 1);
}

} // namespace

Qt::Alignment hyou_cell_alignment(int col, int row) {
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (row == 0 || col == 1)
        horizontal = Qt::AlignHCenter;
    else if (col >= 4 && col <= 6)
        horizontal = Qt::AlignRight;
    return horizontal | Qt::AlignTop;
}

hyou_form::hyou_form(QWidget* owner) : QWidget(owner, Qt::Window) {
    setFont(window_font());
    hyou_disp_ = new QTableWidget(this);
    hyou_disp_->setObjectName(QStringLiteral("hyou_disp"));
    hyou_disp_->setItemDelegate(new hyou_cell_delegate(hyou_disp_));
    hyou_disp_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    hyou_disp_->setSelectionMode(QAbstractItemView::SingleSelection);
    hyou_disp_->setSelectionBehavior(QAbstractItemView::SelectItems);
    hyou_disp_->setWordWrap(false);

    QHeaderView* top = hyou_disp_->horizontalHeader();
    top->setDefaultSectionSize(default_col_width);
    top->setMinimumSectionSize(0);
    top->setSectionResizeMode(QHeaderView::Interactive);
    top->setDefaultAlignment(hyou_cell_alignment(1, 0));
    top->setFixedHeight(row_height);
    top->setHighlightSections(false);

    QHeaderView* side = hyou_disp_->verticalHeader();
    side->setMinimumSectionSize(0);
    side->setDefaultSectionSize(row_height);
    side->setSectionResizeMode(QHeaderView::Fixed);
    side->setSectionsMovable(true);
    side->setHighlightSections(false);
    side->setFixedWidth(default_col_width);

    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(hyou_disp_);

    set_col_count(initial_grid_size);
    set_row_count(initial_grid_size);
    move(745, 244);
    outer_frame::of(*this).set_outer_size({387, 316});
}

int hyou_form::col_count() const {
    return hyou_disp_->columnCount() + 1;
}
int hyou_form::row_count() const {
    return hyou_disp_->rowCount() + 1;
}

void hyou_form::set_col_count(int count) {
    const int old = hyou_disp_->columnCount();
    hyou_disp_->setColumnCount(std::max(count - 1, 0));
    for (int c = old; c < hyou_disp_->columnCount(); ++c)
        hyou_disp_->setHorizontalHeaderItem(c, new QTableWidgetItem);
}

void hyou_form::set_row_count(int count) {
    // Rows the user dragged elsewhere go back to their places: the new rows
    // are numbered as the search writes them.
    QHeaderView* side = hyou_disp_->verticalHeader();
    for (int logical = 0; logical < side->count(); ++logical)
        side->moveSection(side->visualIndex(logical), logical);
    const int old = hyou_disp_->rowCount();
    hyou_disp_->setRowCount(std::max(count - 1, 0));
    for (int r = old; r < hyou_disp_->rowCount(); ++r)
        hyou_disp_->setVerticalHeaderItem(r, new QTableWidgetItem);
}

int hyou_form::col_width(int col) const {
    return col == 0 ? hyou_disp_->verticalHeader()->width() : hyou_disp_->columnWidth(col - 1);
}

void hyou_form::set_col_width(int col, int width) {
    if (col == 0)
        hyou_disp_->verticalHeader()->setFixedWidth(std::max(width, 0));
    else
        hyou_disp_->setColumnWidth(col - 1, width);
}

QString hyou_form::cell(int col, int row) const {
    if (row == 0 && col == 0) return {};
    const QTableWidgetItem* item = item_at(hyou_disp_, col, row);
    return item ? item->text() : QString();
}

void hyou_form::set_cell(int col, int row, const QString& text) {
    if (col < 0 || row < 0 || col >= col_count() || row >= row_count() || (col == 0 && row == 0)) return;
    if (QTableWidgetItem* item = item_at(hyou_disp_, col, row)) {
        item->setText(text);
        return;
    }
    auto* item = new QTableWidgetItem(text);
    if (row == 0) {
        hyou_disp_->setHorizontalHeaderItem(col - 1, item);
    } else if (col == 0) {
        hyou_disp_->setVerticalHeaderItem(row - 1, item);
    } else {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        hyou_disp_->setItem(row - 1, col - 1, item);
    }
}

} // namespace kozenica
