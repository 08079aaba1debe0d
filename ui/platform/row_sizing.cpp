#include "row_sizing.h"

#include <QMouseEvent>
#include <QTableView>
#include <algorithm>

namespace kozenica {

row_sizing::row_sizing(QTableView& view) : QObject(&view), view_(view), viewport_(view.viewport()) {
    viewport_->setMouseTracking(true);
    viewport_->installEventFilter(this);
}

int row_sizing::row_border_at(const QPoint& pos) const {
    const int left = view_.columnViewportPosition(0);
    if (pos.x() < left || pos.x() >= left + view_.columnWidth(0)) return -1;
    const int row = view_.rowAt(pos.y());
    if (row < 0) return -1;
    const int top = view_.rowViewportPosition(row);
    if (top + view_.rowHeight(row) - pos.y() <= border_grip) return row;
    if (pos.y() - top <= border_grip && row > 0) return row - 1;
    return -1;
}

bool row_sizing::eventFilter(QObject* watched, QEvent* event) {
    // The viewport kept from the start: while the view is being destroyed its
    // viewport still gets events, and the view may no longer be asked for it.
    if (watched != viewport_) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        const int row = mouse->button() == Qt::LeftButton ? row_border_at(pos) : -1;
        if (row < 0) return false;
        row_ = row;
        origin_y_ = pos.y();
        origin_height_ = view_.rowHeight(row);
        return true;
    }
    case QEvent::MouseMove: {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (row_ >= 0) {
            view_.setRowHeight(row_, std::max(1, origin_height_ + pos.y() - origin_y_));
            return true;
        }
        if (row_border_at(pos) >= 0)
            viewport_->setCursor(Qt::SplitVCursor);
        else
            viewport_->unsetCursor();
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (row_ < 0) return false;
        row_ = -1;
        return true;
    default:
        return false;
    }
}

} // namespace kozenica
