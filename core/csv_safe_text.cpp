#include "csv_safe_text.h"

#include <algorithm>
#include <string>

namespace kozenica {

namespace {

constexpr std::string_view full_width_comma = "\x81\x43"; // ，
constexpr std::string_view half_width_comma = "\xA4";     // ､

// None of these bytes can be the second byte of a double-byte character
// (those are 0x40 and above), so a plain byte search finds them.
bool unsafe_byte(char c) {
    return c == ',' || c == '\r' || c == '\n' || c == '\x1A';
}

bool holds_unsafe_byte(const line_text& text) {
    return std::any_of(text.view().begin(), text.view().end(), unsafe_byte);
}

std::string replaced(std::string_view in, std::string_view comma) {
    std::string out;
    for (const char c : in)
        out += c == ',' ? comma : unsafe_byte(c) ? std::string_view(" ") : std::string_view(&c, 1);
    return out;
}

// The full-width comma takes two bytes where the comma took one; a text that
// would then pass its 20 bytes takes the one-byte half-width comma instead, so
// that nothing of it is cut.
void make_safe(line_text& text) {
    if (!holds_unsafe_byte(text)) return;
    const std::string wide = replaced(text.view(), full_width_comma);
    text.assign(wide.size() <= text_bytes ? wide : replaced(text.view(), half_width_comma));
}

// Calls `found` with each text that holds an unsafe byte, lines in order and
// in each line shop, item, memo, until it returns false.
template <class F> void each_unsafe_text(const shuushi_data& table, F found) {
    const int last = std::min(table.row_count, max_rows);
    for (int r = 1; r < last; ++r) {
        const shuushi_line& line = table.lines[static_cast<std::size_t>(r)];
        for (const auto& [text, field] : {std::pair{&line.shop, text_field::shop},
                                          {&line.item, text_field::item},
                                          {&line.memo, text_field::memo}})
            if (holds_unsafe_byte(*text) && !found(text_place{r, field})) return;
    }
}

} // namespace

std::optional<text_place> find_csv_unsafe_text(const shuushi_data& table) {
    std::optional<text_place> first;
    each_unsafe_text(table, [&](text_place place) { return first = place, false; });
    return first;
}

int count_csv_unsafe_texts(const shuushi_data& table) {
    int count = 0;
    each_unsafe_text(table, [&](text_place) { return ++count, true; });
    return count;
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
