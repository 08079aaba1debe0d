#include "window_limits.h"

#include <algorithm>
#include <cstdlib>

namespace kozenica {

int usable_column_width(std::int32_t stored) {
    return std::clamp<std::int32_t>(stored, min_column_width, max_column_width);
}

void keep_column_widths_usable(window_settings& settings) {
    constexpr int column_entries[] = {
        setting::ledger_column0,      setting::ledger_column0 + 1, setting::ledger_column0 + 2,
        setting::ledger_column0 + 3,  setting::ledger_column0 + 4, setting::ledger_column0 + 5,
        setting::ledger_column0 + 6,  setting::ledger_column0 + 7, setting::list_column0,
        setting::list_column1,        setting::summary_column0,    setting::summary_column0 + 1,
        setting::summary_column0 + 2, setting::summary_column0 + 3};
    for (const int i : column_entries)
        settings[i] = usable_column_width(settings[i]);
}

win_size client_size_for(win_size outer, const frame_extents& frame) {
    return {std::max(1, outer.width - frame.left - frame.right),
            std::max(1, outer.height - frame.top - frame.bottom)};
}

int title_band(const frame_extents& frame) {
    return frame.top > 0 ? frame.top : title_band_guess;
}

namespace {

std::int64_t overlap(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1) {
    return std::max<std::int64_t>(0, std::min(a1, b1) - std::max(a0, b0));
}

std::int64_t shared_area(const win_rect& a, const win_rect& b) {
    return overlap(a.left, a.right(), b.left, b.right()) * overlap(a.top, a.bottom(), b.top, b.bottom());
}

std::int64_t gap(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1) {
    return std::max<std::int64_t>({0, b0 - a1, a0 - b1});
}

// How far apart two rectangles lie, along both axes together.
std::int64_t distance(const win_rect& a, const win_rect& b) {
    return gap(a.left, a.right(), b.left, b.right()) + gap(a.top, a.bottom(), b.top, b.bottom());
}

const win_rect& screen_it_opens_on(const win_rect& wanted, const std::vector<win_rect>& screens) {
    const win_rect* best = &screens.front();
    std::int64_t best_area = 0;
    for (const win_rect& s : screens)
        if (const std::int64_t area = shared_area(wanted, s); area > best_area) best = &s, best_area = area;
    if (best_area > 0) return *best;
    std::int64_t best_distance = distance(wanted, *best);
    for (const win_rect& s : screens)
        if (const std::int64_t d = distance(wanted, s); d < best_distance) best = &s, best_distance = d;
    return *best;
}

// Whether every pixel of a band lies on some screen: screens side by side
// may share a title bar between them.
bool on_screens(const win_rect& band, const std::vector<win_rect>& screens) {
    std::vector<const win_rect*> holding;
    for (const win_rect& s : screens)
        if (band.top >= s.top && band.bottom() <= s.bottom()) holding.push_back(&s);
    std::sort(holding.begin(), holding.end(),
              [](const win_rect* a, const win_rect* b) { return a->left < b->left; });
    std::int64_t covered_to = band.left;
    for (const win_rect* s : holding)
        if (s->left <= covered_to) covered_to = std::max(covered_to, s->right());
    return covered_to >= band.right();
}

int within(int size, int minimum, int available) {
    return std::clamp(size, std::min(minimum, available), available);
}

int moved_into(int start, int size, int area_start, int area_size) {
    const std::int64_t last = std::int64_t(area_start) + area_size - size;
    return int(std::clamp<std::int64_t>(start, area_start, std::max<std::int64_t>(area_start, last)));
}

} // namespace

win_rect usable_window_rect(const win_rect& wanted, win_size minimum, int title_height,
                            const std::vector<win_rect>& screens) {
    if (screens.empty()) return wanted;
    const win_rect& screen = screen_it_opens_on(wanted, screens);
    win_rect r = wanted;
    r.width = within(wanted.width, minimum.width, screen.width);
    r.height = within(wanted.height, minimum.height, screen.height);
    const win_rect title{r.left, r.top, r.width, std::min(std::max(title_height, 1), r.height)};
    if (on_screens(title, screens)) return r;
    r.left = moved_into(r.left, r.width, screen.left, screen.width);
    r.top = moved_into(r.top, r.height, screen.top, screen.height);
    return r;
}

} // namespace kozenica
