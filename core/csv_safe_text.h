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

// Writes every comma of the month's texts as the full-width comma "，" and
// CR, LF and 0x1A as a space. A text that grows past 20 bytes keeps as many
// whole characters as fit, so that no full-width comma is cut in half.
void make_texts_csv_safe(shuushi_data& table);

} // namespace kozenica
