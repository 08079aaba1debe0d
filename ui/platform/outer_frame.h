#pragma once
// Window sizes as the user sees them: the outer size, the window manager's
// frame included, and the frame's top left corner as the position.
//
// The frame belongs to the window manager and is known only once a window is
// mapped; without a window manager it is 0 and outer equals inner. Until a
// window has been mapped, its frame is taken to be the one its owner window
// has; when the real frame turns out different, a size that was asked for is
// applied once more, so the outer size comes out as asked and never grows or
// shrinks from one run to the next.

#include "core/window_limits.h"

#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

namespace kozenica {

class outer_frame : public QObject {
    Q_OBJECT
  public:
    // The outer frame of a top-level window, made on first use. A window of
    // fixed size gets its fixed size set; any other is resized.
    static outer_frame& of(QWidget& window, bool fixed_size = false);

    // Sets the window's size so that its outer size is `outer`.
    void set_outer_size(QSize outer);
    // Places the window with its outer size and frame corner, kept within the
    // minimum and the screen it opens on and with its title bar on a screen.
    void place(const QRect& outer, QSize minimum);
    // Moves the window's frame corner, keeping its title bar on a screen.
    void place_at(QPoint top_left, QSize minimum = {});

    [[nodiscard]] QSize outer_size() const;
    [[nodiscard]] frame_extents frame() const { return frame_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    outer_frame(QWidget& window, bool fixed_size);
    void apply_size();
    void follow_frame();

    QWidget& window_;
    bool fixed_size_;
    frame_extents frame_;     // the frame the window's size was worked out for
    bool frame_seen_ = false; // frame_ is the window manager's, not a guess
    QSize wanted_;            // the outer size asked for
    bool pending_ = false;    // wanted_ waits for the real frame
};

// A window's outer size: as its outer frame keeps it, or its frame geometry's
// size for a window that has none.
[[nodiscard]] QSize outer_size_of(const QWidget& window);

// The frame a mapped window has now; zero before it is mapped.
[[nodiscard]] frame_extents mapped_frame(const QWidget& window);

// The available area of every screen, the primary one first.
[[nodiscard]] std::vector<win_rect> screen_areas();

} // namespace kozenica
