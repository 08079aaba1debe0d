#include "list_form.h"

#include "ui/platform/cell_painting.h"
#include "ui/platform/cell_text.h"
#include "ui/platform/grid_header.h"
#include "ui/platform/outer_frame.h"
#include "ui/platform/row_sizing.h"
#include "ui/platform/sjis.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace kozenica {

klist_cell_layout draw_klistDrawCell(int column, const QRect& cell) {
    const Qt::Alignment horizontal = column == 0 ? Qt::AlignHCenter : Qt::AlignLeft;
    return {cell_text_rect(cell), horizontal | Qt::AlignTop};
}

namespace {

constexpr int initial_width = 208;
constexpr int initial_height = 185;
constexpr int initial_column_width = 64;
constexpr int row_height = 20;
// The header row and a kind or two, a part of both columns.
constexpr QSize list_minimum(100, 100);

void draw_cell_text(QPainter& painter, int column, const QRect& cell, const QString& text) {
    const klist_cell_layout layout = draw_klistDrawCell(column, cell);
    painter.save();
    painter.setClipRect(layout.text_rect);
    painter.drawText(layout.text_rect, int(layout.alignment) | Qt::TextSingleLine, text);
    painter.restore();
}

// The grid's own background for ordinary and selected cells, then the text.
class klist_delegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* view = opt.widget;
        QStyle* style = view ? view->style() : nullptr;
        if (style) style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, view);
        painter->save();
        painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                             : QPalette::Text));
        draw_cell_text(*painter, index.column(), option.rect, text);
        painter->restore();
        paint_frame_if_current(*painter, opt, index);
    }
};

} // namespace

list_form::list_form(QWidget* owner) : QWidget(owner, Qt::Window) {
    setWindowTitle(QStringLiteral("List"));
    draw_klist_ = new QTableWidget(0, 2, this);
    auto* header = new grid_header(
        Qt::Horizontal, [](int column) { return draw_klistDrawCell(column, {}).alignment; }, draw_klist_);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMinimumSectionSize(1); // a column the user drags narrow stays as dragged
    header->setHighlightSections(false);
    draw_klist_->setHorizontalHeader(header);
    draw_klist_->setHorizontalHeaderLabels({QStringLiteral("No."), QStringLiteral("種類")});
    draw_klist_->verticalHeader()->hide();
    draw_klist_->verticalHeader()->setMinimumSectionSize(1);
    draw_klist_->verticalHeader()->setDefaultSectionSize(row_height);
    draw_klist_->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    new row_sizing(*draw_klist_);
    draw_klist_->setItemDelegate(new klist_delegate(draw_klist_));
    draw_klist_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    draw_klist_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    draw_klist_->setSelectionBehavior(QAbstractItemView::SelectItems);
    draw_klist_->setShowGrid(true);
    draw_klist_->setColumnWidth(0, initial_column_width);
    draw_klist_->setColumnWidth(1, initial_column_width);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The window's size is the one stored, even below what the grid would ask.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(draw_klist_);
    outer_frame::of(*this).set_outer_size({initial_width, initial_height});
}

void list_form::show_kinds(const kind_list& kinds, const window_settings& settings, QPoint top_left) {
    outer_frame::of(*this).place(
        {top_left, QSize(settings[setting::list_width], settings[setting::list_height])}, list_minimum);
    draw_klist_->setColumnCount(2);
    draw_klist_->setColumnWidth(0, settings[setting::list_column0]);
    draw_klist_->setColumnWidth(1, settings[setting::list_column1]);
    fill(kinds);
    show();
    raise();
    activateWindow();
}

void list_form::fill(const kind_list& kinds) {
    draw_klist_->clearContents();
    draw_klist_->setRowCount(int(kinds.size()));
    for (int i = 0; i < int(kinds.size()); ++i) {
        const kind_entry& entry = kinds[std::size_t(i)];
        draw_klist_->setItem(i, 0, new QTableWidgetItem(QString::number(entry.number)));
        draw_klist_->setItem(i, 1, new QTableWidgetItem(to_qstring(entry.name.view())));
    }
}

void list_form::take_back(window_settings& settings) const {
    settings[setting::list_column0] = draw_klist_->columnWidth(0);
    settings[setting::list_column1] = draw_klist_->columnWidth(1);
    const QSize outer = outer_size_of(*this);
    settings[setting::list_width] = outer.width();
    settings[setting::list_height] = outer.height();
}

} // namespace kozenica
