#include "core/settings.h"
#include "core/startup.h"
#include "core/window_limits.h"
#include "file_testing.h"

#include <gtest/gtest.h>
#include <ostream>

namespace kozenica {

void PrintTo(const win_rect& r, std::ostream* out) {
    *out << r.left << "," << r.top << " " << r.width << "x" << r.height;
}
namespace {

using namespace testing;

const win_rect screen{0, 0, 1280, 1024};
const win_size main_minimum{330, 160};

// Where a window opens, with a 20-pixel title bar: on one 1280x1024 screen (one), or beside it on a
// second, higher one with a panel at its top (two).
TEST(usable_window_rect, keeps_a_window_on_the_screen_that_holds_most_of_it_and_usable_values_alone) {
    const std::vector<win_rect> one{screen}, two{screen, {1280, 30, 800, 570}}, none;
    const std::int32_t max = 2147483647;
    // clang-format off
    const struct { const char* what; const std::vector<win_rect>& screens; win_rect wanted, expected; } cases[] = {
        {"first run", one, {0, 0, 635, 450}, {0, 0, 635, 450}},
        {"the smallest that shows the controls", one, {10, 10, 330, 160}, {10, 10, 330, 160}},
        {"as big as the screen", one, {0, 0, 1280, 1024}, {0, 0, 1280, 1024}},
        {"width 0", one, {0, 0, 0, 450}, {0, 0, 330, 450}},
        {"width and height below 0", one, {100, 100, -5, -max - 1}, {100, 100, 330, 160}},
        {"off the screen", one, {5000, 3000, 635, 450}, {645, 574, 635, 450}},
        {"above and left of the screen", one, {-900, -700, 635, 450}, {0, 0, 635, 450}},
        {"title bar just off the top", one, {10, -1, 635, 450}, {10, 0, 635, 450}},
        {"title bar just on at the bottom", one, {10, 1004, 635, 450}, {10, 1004, 635, 450}},
        {"title bar one pixel too low", one, {10, 1005, 635, 450}, {10, 574, 635, 450}},
        {"title bar one pixel past the right edge", one, {646, 10, 635, 450}, {645, 10, 635, 450}},
        {"far end", one, {max, max, max, max}, {0, 0, 1280, 1024}},
        {"on the second screen", two, {1300, 40, 400, 300}, {1300, 40, 400, 300}},
        {"too big for the second screen", two, {1300, 40, 1000, 700}, {1280, 30, 800, 570}},
        {"mostly on the first, across the edge", two, {1000, 100, 635, 450}, {1000, 100, 635, 450}},
        {"title bar under the second screen's panel", two, {1400, 10, 400, 300}, {1400, 30, 400, 300}},
        {"below the second screen, nearer the first", two, {1500, 900, 400, 300}, {880, 724, 400, 300}},
        {"left of everything", two, {-3000, 500, 400, 300}, {0, 500, 400, 300}},
        {"below the minimum on the second screen", two, {1300, 40, 100, 100}, {1300, 40, 330, 160}},
        {"title bar across both screens", two, {1200, 300, 400, 200}, {1200, 300, 400, 200}},
        {"title bar across both, one pixel above the second", two, {1200, 29, 400, 200}, {1280, 30, 400, 200}},
        {"no screen known", none, {5, 5, 500, 400}, {5, 5, 500, 400}}};
    // clang-format on
    for (const auto& [what, screens, wanted, expected] : cases)
        EXPECT_EQ(usable_window_rect(wanted, main_minimum, 20, screens), expected) << what;
    EXPECT_EQ(usable_window_rect({5, 5, 500, 400}, {900, 700}, 20, {{0, 0, 800, 600}}),
              (win_rect{0, 0, 800, 600}))
        << "the screen wins over the minimum";
}

// Column widths from the file within 1 and 4096; window sizes and positions as read (the
// windows limit them against the screen).
TEST(read_startup_files, keeps_column_widths_from_the_file_within_1_and_4096) {
    temp_dir dir;
    window_settings stored;
    const std::int32_t values[settings_count] = {
        0,  -7, 1,    4096, 4097,   2147483647,      30, 80, -1, 5000, 0,
        -2, 0,  4097, 0,    100000, -2147483647 - 1, 1,  2,  3,  0,    -1};
    std::copy(std::begin(values), std::end(values), stored.values.begin());
    ASSERT_TRUE(write_settings_file(dir.path() + "kozenic.int", stored) == save_result::saved);
    const std::int32_t expected[settings_count] = {1,  1, 1,    4096, 4096,   4096, 30, 80, -1, 5000, 0,
                                                   -2, 1, 4096, 0,    100000, 1,    1,  2,  3,  0,    -1};
    const window_settings read = read_startup_files(dir.path()).settings;
    for (int i = 0; i < settings_count; ++i)
        EXPECT_EQ(read[i], expected[i]) << "entry " << i;
}

} // namespace
} // namespace kozenica
