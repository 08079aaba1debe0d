#include "text_encoding.h"

#include "sjis_text.h"

#include <array>
#include <memory>

namespace kozenica {

namespace {

struct sjis_row {
    unsigned char lead;
    const char8_t* chars; // 188 characters in UTF-8, one for each trail byte
};
struct sjis_extra {
    char32_t code_point;
    std::uint16_t code;
};

#include "sjis_table.inc"

constexpr char32_t hole = 0xFFFD; // a code that is no character, and what it shows as

// One code point decoded from the front of text; its length is 0 when the
// text starts with no valid sequence (or is empty).
struct decoded {
    char32_t code_point = 0;
    std::size_t length = 0;
};

decoded decode_utf8(std::string_view text) {
    if (text.empty()) return {};
    const auto b0 = static_cast<unsigned char>(text[0]);
    if (b0 < 0x80) return {b0, 1};
    int extra = 0;
    char32_t cp = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1, cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2, cp = b0 & 0x0F;
        if (b0 == 0xE0) low = 0xA0;  // no overlong forms
        if (b0 == 0xED) high = 0x9F; // no surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3, cp = b0 & 0x07;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F; // nothing past U+10FFFF
    } else {
        return {};
    }
    if (text.size() <= std::size_t(extra)) return {};
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(text[std::size_t(i)]);
        if (b < low || b > high) return {};
        low = 0x80, high = 0xBF;
        cp = cp << 6 | (b & 0x3F);
    }
    return {cp, std::size_t(extra) + 1};
}

constexpr std::size_t trail_count = 188;

constexpr unsigned char trail_byte(std::size_t index) {
    return static_cast<unsigned char>(index < 63 ? 0x40 + index : 0x41 + index); // 0x7F is no trail byte
}

// Both directions of the code page over the Basic Multilingual Plane, where
// every character of the code page lies; built once from the table the first
// time a text is converted.
struct code_page_tables {
    std::array<std::uint16_t, 0x10000> code_of{}; // a code point's code, 0 where there is none
    std::array<char16_t, 0x10000> char_of{};      // a double-byte code's character, 0 where there is none
};

std::unique_ptr<code_page_tables> build_tables() {
    auto t = std::make_unique<code_page_tables>();
    for (const sjis_row& row : sjis_rows) {
        std::string_view chars(reinterpret_cast<const char*>(row.chars));
        for (std::size_t i = 0; i < trail_count && !chars.empty(); ++i) {
            const decoded d = decode_utf8(chars);
            chars.remove_prefix(d.length == 0 ? 1 : d.length);
            if (d.code_point == hole || d.code_point >= 0x10000) continue;
            const auto code = std::uint16_t(row.lead << 8 | trail_byte(i));
            t->char_of[code] = char16_t(d.code_point);
            // A character with several codes is written as the first of them;
            // the NEC-selected copies of the IBM extensions never are.
            if (row.lead != 0xED && row.lead != 0xEE && t->code_of[d.code_point] == 0)
                t->code_of[d.code_point] = code;
        }
    }
    for (const sjis_extra& e : sjis_extras)
        t->code_of[e.code_point] = e.code;
    // The user-defined area of code page 932, 0xF040 to 0xF9FC, holds the
    // private-use code points in order.
    for (char32_t cp = 0xE000; cp < 0xE000 + 10 * trail_count; ++cp) {
        const std::size_t n = cp - 0xE000;
        const auto code = std::uint16_t((0xF0 + n / trail_count) << 8 | trail_byte(n % trail_count));
        t->code_of[cp] = code;
        t->char_of[code] = char16_t(cp);
    }
    return t;
}

const code_page_tables& tables() {
    static const std::unique_ptr<code_page_tables> t = build_tables();
    return *t;
}

// The character of a single byte: ASCII or half-width katakana.
char32_t single_byte_character(unsigned char b) {
    if (b < 0x80) return b;
    return b >= 0xA1 && b <= 0xDF ? char32_t{0xFF61} + (b - 0xA1) : hole;
}

char32_t double_byte_character(std::uint16_t code) {
    const char16_t c = tables().char_of[code];
    return c != 0 ? c : hole;
}

void append_utf8(std::string& out, char32_t cp) {
    const auto put = [&](unsigned value) { out.push_back(static_cast<char>(value)); };
    if (cp < 0x80) {
        put(cp);
    } else if (cp < 0x800) {
        put(0xC0 | cp >> 6), put(0x80 | (cp & 0x3F));
    } else { // the code page holds nothing beyond the Basic Multilingual Plane
        put(0xE0 | cp >> 12), put(0x80 | (cp >> 6 & 0x3F)), put(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::optional<std::uint16_t> sjis_code(char32_t code_point) {
    if (code_point < 0x80) return std::uint16_t(code_point);
    if (code_point >= 0xFF61 && code_point <= 0xFF9F) return std::uint16_t(code_point - 0xFF61 + 0xA1);
    if (code_point >= 0x10000) return std::nullopt;
    if (const std::uint16_t code = tables().code_of[code_point]; code != 0) return code;
    return std::nullopt;
}

std::optional<char32_t> stored_character(char32_t code_point) {
    const std::optional<std::uint16_t> code = sjis_code(code_point);
    if (!code) return std::nullopt;
    return *code < 0x100 ? single_byte_character(std::uint8_t(*code)) : double_byte_character(*code);
}

std::string sjis_to_utf8(std::string_view sjis) {
    std::string out;
    out.reserve(sjis.size() * 2);
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const auto b = static_cast<unsigned char>(sjis[i]);
        if (!is_sjis_lead_byte(b)) {
            append_utf8(out, single_byte_character(b));
        } else if (i + 1 == sjis.size()) {
            break; // a text cut inside its last character
        } else if (const auto trail = static_cast<unsigned char>(sjis[i + 1]); !is_sjis_trail_byte(trail)) {
            append_utf8(out, hole); // a lead byte alone; the next byte is read on its own
        } else {
            append_utf8(out, double_byte_character(std::uint16_t(b << 8 | trail)));
            ++i;
        }
    }
    return out;
}

void encoding_sniffer::feed(std::string_view bytes) {
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (utf8_valid_) feed_utf8(b);
        if (sjis_valid_) feed_sjis(b);
    }
}

void encoding_sniffer::finish() {
    if (utf8_pending_ > 0) utf8_valid_ = false;
    if (sjis_after_lead_) sjis_valid_ = false;
}

void encoding_sniffer::feed_utf8(unsigned char b) {
    if (utf8_pending_ > 0) {
        if (b < next_low_ || b > next_high_) {
            utf8_valid_ = false;
            return;
        }
        next_low_ = 0x80, next_high_ = 0xBF;
        if (--utf8_pending_ == 0 && in_long_sequence_) long_utf8_ = true;
        return;
    }
    if (b < 0x80) return;
    // The same ranges as decode_utf8, one byte at a time.
    next_low_ = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
    next_high_ = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
    if (b >= 0xC2 && b <= 0xDF)
        utf8_pending_ = 1;
    else if (b >= 0xE0 && b <= 0xEF)
        utf8_pending_ = 2;
    else if (b >= 0xF0 && b <= 0xF4)
        utf8_pending_ = 3;
    else
        utf8_valid_ = false;
    in_long_sequence_ = utf8_pending_ >= 2;
}

void encoding_sniffer::feed_sjis(unsigned char b) {
    if (sjis_after_lead_) {
        sjis_after_lead_ = false;
        if (!is_sjis_trail_byte(b)) sjis_valid_ = false;
    } else if (is_sjis_lead_byte(b)) {
        sjis_after_lead_ = true;
    } else if (b == 0x80 || b == 0xA0 || b >= 0xFD) {
        sjis_valid_ = false;
    }
}

sjis_conversion utf8_to_sjis(std::string_view utf8, std::size_t max_bytes) {
    sjis_conversion out;
    while (!utf8.empty() && out.bytes.size() < max_bytes) {
        const decoded d = decode_utf8(utf8);
        const std::optional<std::uint16_t> code = d.length == 0 ? std::nullopt : sjis_code(d.code_point);
        utf8.remove_prefix(d.length == 0 ? 1 : d.length);
        if (!code) {
            out.bytes.push_back('?');
            out.lossless = false;
        } else if (*code < 0x100) {
            out.bytes.push_back(char(*code));
        } else {
            out.bytes.push_back(char(*code >> 8));
            out.bytes.push_back(char(*code & 0xFF));
        }
    }
    if (out.bytes.size() > max_bytes) out.bytes.resize(max_bytes);
    return out;
}

} // namespace kozenica
