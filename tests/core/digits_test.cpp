#include "core/digits.h"
#include "sjis_testing.h"

#include <gtest/gtest.h>

namespace kozenica {
namespace {

using testing::sjis;

TEST(digits_to_int, takes_half_and_full_width_digits_in_order) {
    // A digit byte that is the second byte of a double-byte character ("\x83" "5") counts nothing, nor does
    // a lone lead byte at the end; half-width katakana ("\xb1") are single bytes, not lead bytes.
    // clang-format off
    const std::pair<std::string, std::int32_t> cases[] = {
        {"", 0}, {sjis("円"), 0}, {"1,234", 1234}, {"-50", 50}, {"3.5", 35}, {sjis("12日"), 12},
        {sjis("１２"), 12}, {sjis("1２3"), 123}, {sjis("¥1,234"), 1234}, {"1 2 3 4", 1234},
        {"2147483647", 2147483647}, {"2147483648", -2147483647 - 1}, {"4294967297", 1},
        {"\x83" "57", 7}, {"12\x82", 12}, {"\xb1" "9", 9}};
    // clang-format on
    for (const auto& [text, value] : cases)
        EXPECT_EQ(digits_to_int(text), value) << text;
}

TEST(format_comma, groups_by_three_with_sign_and_cells_leave_zero_empty) {
    const std::int64_t values[] = {0, 999, 1000, 1234567, -12345, -100, 4294967296, INT64_MIN};
    std::string texts;
    for (const std::int64_t v : values)
        texts += format_comma(v) + " ";
    EXPECT_EQ(texts, "0 999 1,000 1,234,567 -12,345 -100 4,294,967,296 -9,223,372,036,854,775,808 ");
    EXPECT_EQ(day_cell_text(0) + kind_cell_text(0) + amount_cell_text(0), "");
    EXPECT_EQ(day_cell_text(31) + " " + kind_cell_text(12) + " " + amount_cell_text(-1234), "31 12 -1,234");
}

} // namespace
} // namespace kozenica
