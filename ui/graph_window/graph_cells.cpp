#include "graph_cells.h"

#include "core/pie_geometry.h"
#include "ui/platform/cell_painting.h"
#include "ui/platform/cell_text.h"

#include <QPainter>

namespace kozenica {

Qt::Alignment table_cell_alignment(int graph_mode, int column) {
    const Qt::Alignment horizontal = (graph_mode != 2 && column == 1) ? Qt::AlignLeft : Qt::AlignRight;
    return horizontal | Qt::AlignTop;
}

Qt::Alignment legend_cell_alignment(int graph_mode) {
    return (graph_mode == 2 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
}

bool is_color_swatch(int graph_mode, int column) {
    return graph_mode != 2 && column == 0;
}

graph_cell_delegate::graph_cell_delegate(int graph_mode, grid which, QObject* parent)
    : QStyledItemDelegate(parent), graph_mode_(graph_mode), grid_(which) {}

void graph_cell_delegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    painter->save();
    if (grid_ == grid::legend && is_color_swatch(graph_mode_, index.column())) {
        const rgb c = legend_color(index.row());
        painter->fillRect(option.rect, QColor(c.r, c.g, c.b));
        painter->restore();
        paint_frame_if_current(*painter, option, index);
        return;
    }
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group =
        option.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    painter->fillRect(option.rect,
                      option.palette.brush(group, selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    const Qt::Alignment alignment = grid_ == grid::table ? table_cell_alignment(graph_mode_, index.column())
                                                         : legend_cell_alignment(graph_mode_);
    painter->drawText(cell_text_rect(option.rect), static_cast<int>(alignment | Qt::TextSingleLine),
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
    paint_frame_if_current(*painter, option, index);
}

} // namespace kozenica
