#include "core/digits.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using testing::sjis;

struct digits_case {
    std::string text;
    std::int32_t value;
};

TEST(digits_to_int, takes_half_and_full_width_digits_in_order) {
    const digits_case cases[] = {
        {"", 0},
        {sjis("円"), 0},
        {"1,234", 1234},
        {"-50", 50},
        {"3.5", 35},
        {sjis("12日"), 12},
        {sjis("１２"), 12},
        {sjis("1２3"), 123},
        {sjis("¥1,234"), 1234},
        {"1 2 3 4", 1234},
        {"2147483647", 2147483647},
        {"2147483648", -2147483647 - 1},
        {"4294967296", 0},
        {"4294967297", 1},
        // A digit byte that is the second byte of a double-byte character
        // contributes nothing ("\x83" "5" is one character).
        {"\x83"
         "5"
         "7",
         7},
        // A lone lead byte at the end has no partner and is skipped.
        {"12\x82", 12},
        // Half-width katakana are single bytes, not lead bytes.
        {"\xb1"
         "9",
         9},
    };
    for (const auto& c : cases)
        EXPECT_EQ(digits_to_int(c.text), c.value) << c.text;
}

TEST(format_comma, groups_by_three_with_sign) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0"},
        {7, "7"},
        {999, "999"},
        {1000, "1,000"},
        {1234567, "1,234,567"},
        {-12345, "-12,345"},
        {-100, "-100"},
        {4294967296, "4,294,967,296"},
        {INT64_MIN, "-9,223,372,036,854,775,808"},
    };
    for (const auto& [v, text] : cases)
        EXPECT_EQ(format_comma(v), text) << v;
}

TEST(cell_texts, zero_is_empty_and_other_values_keep_their_sign) {
    EXPECT_EQ(day_cell_text(0), "");
    EXPECT_EQ(day_cell_text(31), "31");
    EXPECT_EQ(kind_cell_text(0), "");
    EXPECT_EQ(kind_cell_text(12), "12");
    EXPECT_EQ(amount_cell_text(0), "");
    EXPECT_EQ(amount_cell_text(1234567), "1,234,567");
    EXPECT_EQ(amount_cell_text(-300), "-300");
}

} // namespace
} // namespace kozenica
