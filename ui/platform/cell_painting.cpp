#include "cell_painting.h"

#include "cell_text.h"

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

} // namespace kozenica
