#pragma once
// Texts that a CSV month file cannot carry. A CSV line has no quoting: a comma
// in a text moves every later field, a CR or LF splits the line and 0x1A ends
// the file. Before a month is written as CSV such texts are found, and with the
// user's consent replaced so that the file reads back as the month shows.

#include "ledger.h"

#include <optional>

namespace kozenica {

enum class text_field { shop, item, memo };

struct text_place {
    int line = 0; // 1 to 1999
    text_field field = text_field::shop;
    friend bool operator==(const text_place&, const text_place&) = default;
};

// The first text, lines in order and in each line shop, item, memo, that
// holds a comma, CR, LF or 0x1A; nothing when every text can be written.
[[nodiscard]] std::optional<text_place> find_csv_unsafe_text(const shuushi_data& table);

// How many texts of the month hold a comma, CR, LF or 0x1A.
[[nodiscard]] int count_csv_unsafe_texts(const shuushi_data& table);

// Writes every comma of the month's texts as the full-width comma "，" and
// CR, LF and 0x1A as a space. A text that would grow past 20 bytes so takes
// the half-width comma "､" (one byte, as the comma) instead: no text is cut.
void make_texts_csv_safe(shuushi_data& table);

} // namespace kozenica
