// digits_to_int on any bytes, and the "0," format read back through it.

#include "core/digits.h"
#include "fuzz_support.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kozenica;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::int32_t value = digits_to_int(text);

    // Single-byte non-digits around the text change nothing: a comma in front
    // cannot pair with anything, and a letter after it is either skipped or
    // the partner of a dangling lead byte.
    const std::string padded = "," + std::string(text) + "x";
    FUZZ_CHECK(digits_to_int(padded) == value);

    // A number formatted for the grid reads back as itself.
    if (size >= 4) {
        std::uint32_t bits;
        std::memcpy(&bits, data, 4);
        const auto v = static_cast<std::int32_t>(bits & 0x7FFFFFFFu);
        FUZZ_CHECK(digits_to_int(format_comma(v)) == v);
        FUZZ_CHECK(digits_to_int(format_decimal(v)) == v);
        FUZZ_CHECK(digits_to_int(amount_cell_text(v)) == v);
    }
    return 0;
}
