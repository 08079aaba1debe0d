#include "grid_header.h"

#include "cell_text.h"

#include <QPainter>

namespace kozenica {

grid_header::grid_header(Qt::Orientation orientation, alignment_rule alignment, QWidget* parent)
    : QHeaderView(orientation, parent), alignment_(std::move(alignment)) {
    if (orientation == Qt::Horizontal) setFixedHeight(row_height);
}

void grid_header::paintSection(QPainter* painter, const QRect& rect, int logical_index) const {
    if (!rect.isValid()) return;
    QStyleOptionHeader opt;
    initStyleOptionForIndex(&opt, logical_index);
    opt.rect = rect;
    const QString text = opt.text;
    opt.text.clear();
    opt.icon = QIcon();
    opt.sortIndicator = QStyleOptionHeader::None;
    style()->drawControl(QStyle::CE_Header, &opt, painter, this);

    const QRect text_rect = cell_text_rect(rect);
    painter->save();
    painter->setClipRect(text_rect);
    painter->setFont(font());
    painter->setPen(opt.palette.color(QPalette::ButtonText));
    painter->drawText(text_rect, int(alignment_(logical_index) | Qt::AlignTop) | Qt::TextSingleLine, text);
    painter->restore();
}

} // namespace kozenica
