#include "cell_painting.h"

#include "cell_text.h"

#include <QAbstractItemView>
#include <QPainter>

namespace kozenica {

void paint_result_cell(QPainter& painter, const QStyleOptionViewItem& option, int alignment,
                       const QString& text) {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette& pal = option.palette;
    painter.save();
    painter.fillRect(option.rect, selected ? pal.highlight() : pal.base());
    const QRect text_rect = cell_text_rect(option.rect);
    painter.setClipRect(text_rect);
    painter.setFont(option.font);
    painter.setPen(selected ? pal.highlightedText().color() : pal.text().color());
    painter.drawText(text_rect, alignment, text);
    painter.restore();
}

void paint_current_frame(QPainter& painter, const QRect& cell, const QPalette& palette, bool selected) {
    const QColor focus = palette.color(QPalette::Active, QPalette::Highlight);
    painter.save();
    painter.setPen(selected ? focus.darker(170) : focus);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    painter.drawRect(cell.adjusted(1, 1, -2, -2));
    painter.restore();
}

void paint_frame_if_current(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) {
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (view && view->currentIndex() == index)
        paint_current_frame(painter, option.rect, option.palette,
                            option.state.testFlag(QStyle::State_Selected));
}

} // namespace kozenica
