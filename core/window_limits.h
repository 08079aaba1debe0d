#pragma once
// Limits that keep every window usable whatever the settings file holds: a
// window opens at least big enough to show its controls, at most as big as the
// screen it opens on, with its title bar on a screen; a column is at least one
// pixel and at most 4096 pixels wide. Values inside the limits stay exactly as
// stored. Sizes here are outer sizes (the window manager's frame included);
// positions are the frame's top left corner.

#include "settings.h"

#include <cstdint>
#include <vector>

namespace kozenica {

struct win_size {
    int width = 0, height = 0;
    friend bool operator==(const win_size&, const win_size&) = default;
};

struct win_rect {
    int left = 0, top = 0, width = 0, height = 0;
    [[nodiscard]] std::int64_t right() const { return std::int64_t(left) + width; }  // excluded
    [[nodiscard]] std::int64_t bottom() const { return std::int64_t(top) + height; } // excluded
    friend bool operator==(const win_rect&, const win_rect&) = default;
};

// What the window manager adds round the client area on each side.
struct frame_extents {
    int left = 0, right = 0, top = 0, bottom = 0;
    friend bool operator==(const frame_extents&, const frame_extents&) = default;
};

constexpr int min_column_width = 1;
constexpr int max_column_width = 4096;

// A column width read from the settings file, kept within 1 and 4096.
[[nodiscard]] int usable_column_width(std::int32_t stored);

// Every column width of the block (ledger, kind list, summary) within 1 and
// 4096; window sizes and positions are left for the windows to limit.
void keep_column_widths_usable(window_settings& settings);

// The client size that gives the outer size with this frame (never below 1).
[[nodiscard]] win_size client_size_for(win_size outer, const frame_extents& frame);

// The title bar band a window needs on a screen: the frame's top, or a usual
// title bar's height while the frame is not known yet.
constexpr int title_band_guess = 20;
[[nodiscard]] int title_band(const frame_extents& frame);

// Where and how big a window opens, given where and how big it asks to be,
// the smallest size that shows its controls, the height of its title bar and
// the available area of every screen (the first is the primary one).
//
// The window opens on the screen that holds most of it (or, when it lies off
// every screen, the nearest one). Its size is kept within the minimum and that
// screen's available size (the screen wins when it is the smaller). When its
// title bar does not lie wholly on the screens, the window is moved the least
// way that puts it wholly on the screen it opens on; otherwise it stays where
// it asked to be.
[[nodiscard]] win_rect usable_window_rect(const win_rect& wanted, win_size minimum, int title_height,
                                          const std::vector<win_rect>& screens);

} // namespace kozenica
