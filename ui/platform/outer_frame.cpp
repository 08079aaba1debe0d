#include "outer_frame.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kozenica {

namespace {

win_rect to_win(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

QSize client_size(QSize outer, const frame_extents& frame) {
    const win_size s = client_size_for({outer.width(), outer.height()}, frame);
    return {s.width, s.height};
}

// The frame to expect before a window is mapped: its owner's, which the same
// window manager drew.
frame_extents owner_frame(const QWidget& window) {
    const QWidget* owner = window.parentWidget();
    if (!owner) return {};
    const QWidget* owner_window = owner->window();
    if (auto* known = owner_window->findChild<outer_frame*>(QString(), Qt::FindDirectChildrenOnly))
        return known->frame();
    return mapped_frame(*owner_window);
}

} // namespace

frame_extents mapped_frame(const QWidget& window) {
    if (!window.isVisible()) return {};
    const QRect in = window.geometry();
    const QRect out = window.frameGeometry();
    return {in.left() - out.left(), out.right() - in.right(), in.top() - out.top(),
            out.bottom() - in.bottom()};
}

QSize outer_size_of(const QWidget& window) {
    if (auto* frame = window.findChild<outer_frame*>(QString(), Qt::FindDirectChildrenOnly))
        return frame->outer_size();
    return window.frameGeometry().size();
}

std::vector<win_rect> screen_areas() {
    std::vector<win_rect> areas;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        areas.push_back(to_win(primary->availableGeometry()));
    for (const QScreen* s : QGuiApplication::screens())
        if (s != QGuiApplication::primaryScreen()) areas.push_back(to_win(s->availableGeometry()));
    return areas;
}

outer_frame& outer_frame::of(QWidget& window, bool fixed_size) {
    if (auto* existing = window.findChild<outer_frame*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new outer_frame(window, fixed_size);
}

outer_frame::outer_frame(QWidget& window, bool fixed_size)
    : QObject(&window), window_(window), fixed_size_(fixed_size), frame_(owner_frame(window)) {
    window_.installEventFilter(this);
}

void outer_frame::set_outer_size(QSize outer) {
    follow_frame();
    if (!frame_seen_) frame_ = owner_frame(window_);
    wanted_ = outer;
    pending_ = !frame_seen_;
    apply_size();
}

void outer_frame::apply_size() {
    const QSize inner = client_size(wanted_, frame_);
    if (fixed_size_)
        window_.setFixedSize(inner);
    else
        window_.resize(inner);
}

void outer_frame::place(const QRect& outer, QSize minimum) {
    follow_frame();
    const win_rect r = usable_window_rect(to_win(outer), {minimum.width(), minimum.height()},
                                          title_band(frame_), screen_areas());
    window_.move(r.left, r.top);
    set_outer_size({r.width, r.height});
}

void outer_frame::place_at(QPoint top_left, QSize minimum) {
    follow_frame();
    const QSize size = outer_size();
    const win_rect r =
        usable_window_rect({top_left.x(), top_left.y(), size.width(), size.height()},
                           {minimum.width(), minimum.height()}, title_band(frame_), screen_areas());
    window_.move(r.left, r.top);
    // A window not mapped yet takes the frame its owner has by now.
    if (!frame_seen_ || QSize(r.width, r.height) != size) set_outer_size({r.width, r.height});
}

// A window never mapped gives back the size it was asked for: its size was
// worked out from the same guessed frame.
QSize outer_frame::outer_size() const {
    const QSize inner = window_.size();
    return {inner.width() + frame_.left + frame_.right, inner.height() + frame_.top + frame_.bottom};
}

// The window manager's frame shows as the window's own move once the window
// is mapped and framed; a frame of 0 then is a window not framed yet (or no
// window manager, where the guess was 0 as well). A size the user gave the
// window in the meantime stays.
void outer_frame::follow_frame() {
    const frame_extents now = mapped_frame(window_);
    if (now == frame_extents{}) return;
    const bool as_asked = window_.size() == client_size(wanted_, frame_);
    const bool changed = now != frame_;
    frame_ = now;
    frame_seen_ = true;
    if (pending_) {
        pending_ = false;
        if (changed && as_asked) apply_size();
    }
}

bool outer_frame::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == &window_ && (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize))
        follow_frame();
    return QObject::eventFilter(watched, event);
}

} // namespace kozenica
