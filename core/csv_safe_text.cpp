#include "csv_safe_text.h"

#include <algorithm>
#include <string>

namespace kozenica {

namespace {

constexpr char full_width_comma[] = "\x81\x43"; // ，

// None of these bytes can be the second byte of a double-byte character
// (those are 0x40 and above), so a plain byte search finds them.
bool unsafe_byte(char c) {
    return c == ',' || c == '\r' || c == '\n' || c == '\x1A';
}

bool holds_unsafe_byte(const line_text& text) {
    for (const char c : text.view())
        if (unsafe_byte(c)) return true;
    return false;
}

bool is_trail_byte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

void make_safe(line_text& text) {
    const std::string_view in = text.view();
    if (std::none_of(in.begin(), in.end(), unsafe_byte)) return;
    std::string out;
    for (std::size_t i = 0; i < in.size();) {
        // One character: a double-byte one whole, or a single byte.
        std::string_view unit = in.substr(i, 1);
        if (is_sjis_lead_byte(static_cast<unsigned char>(in[i])) && i + 1 < in.size() &&
            is_trail_byte(static_cast<unsigned char>(in[i + 1])))
            unit = in.substr(i, 2);
        i += unit.size();
        if (unit == ",")
            unit = full_width_comma;
        else if (unit.size() == 1 && unsafe_byte(unit[0]))
            unit = " ";
        if (out.size() + unit.size() > text_bytes) break;
        out += unit;
    }
    text.assign(out);
}

} // namespace

std::optional<text_place> find_csv_unsafe_text(const shuushi_data& table) {
    const int last = std::min(table.row_count, max_rows);
    for (int r = 1; r < last; ++r) {
        const shuushi_line& line = table.lines[static_cast<std::size_t>(r)];
        if (holds_unsafe_byte(line.shop)) return text_place{r, text_field::shop};
        if (holds_unsafe_byte(line.item)) return text_place{r, text_field::item};
        if (holds_unsafe_byte(line.memo)) return text_place{r, text_field::memo};
    }
    return std::nullopt;
}

void make_texts_csv_safe(shuushi_data& table) {
    const int last = std::min(table.row_count, max_rows);
    for (int r = 1; r < last; ++r) {
        shuushi_line& line = table.lines[static_cast<std::size_t>(r)];
        make_safe(line.shop);
        make_safe(line.item);
        make_safe(line.memo);
    }
}

} // namespace kozenica
