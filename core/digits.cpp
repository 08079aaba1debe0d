#include "digits.h"

#include "sjis_text.h"

namespace kozenica {

namespace {
constexpr unsigned full_width_zero = 0x824F;
constexpr unsigned full_width_nine = 0x8258;
} // namespace

std::int32_t digits_to_int(std::string_view sjis) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const auto b = static_cast<unsigned char>(sjis[i]);
        if (is_sjis_lead_byte(b)) {
            if (i + 1 >= sjis.size()) break; // a lead byte without its partner
            const unsigned code = b * 256u + static_cast<unsigned char>(sjis[++i]);
            if (code >= full_width_zero && code <= full_width_nine) value = value * 10u + (code - full_width_zero);
        } else if (b >= '0' && b <= '9') {
            value = value * 10u + (b - '0');
        }
    }
    return static_cast<std::int32_t>(value);
}

std::string format_decimal(std::int64_t value) { return std::to_string(value); }

std::string format_comma(std::int64_t value) {
    const bool negative = value < 0;
    // Work on the magnitude as unsigned so that the smallest value has one too.
    std::uint64_t magnitude = negative ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const std::string digits = std::to_string(magnitude);
    std::string out;
    out.reserve(digits.size() + digits.size() / 3 + 1);
    if (negative) out.push_back('-');
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

std::string day_cell_text(std::int8_t day) { return day == 0 ? std::string() : format_decimal(day); }
std::string kind_cell_text(std::int32_t kind) { return kind == 0 ? std::string() : format_decimal(kind); }
std::string amount_cell_text(std::int32_t amount) { return amount == 0 ? std::string() : format_comma(amount); }

} // namespace kozenica
