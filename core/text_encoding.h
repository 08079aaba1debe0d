#pragma once
// The program's one converter between the Shift-JIS (code page 932) bytes it
// holds and Unicode, for the windows and the list files alike, and telling a
// UTF-8 text file from a Shift-JIS one: the list files may come from a modern
// text editor, which saves UTF-8.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kozenica {

inline constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";

// The code page 932 code of a code point: one byte (a value below 0x100) or
// two (lead byte, trail byte); nothing when Shift-JIS cannot hold it.
[[nodiscard]] std::optional<std::uint16_t> sjis_code(char32_t code_point);

// The character a code point shows as once stored: itself, or the code
// page's look-alike it is written as (the wave dash 〜 as ～, 0x81 0x60);
// nothing when Shift-JIS cannot hold it.
[[nodiscard]] std::optional<char32_t> stored_character(char32_t code_point);

// Shift-JIS bytes as UTF-8. A byte or pair of bytes that is no character
// shows as U+FFFD; a lead byte at the very end (a text cut at its 20th byte
// inside a double-byte character) shows as nothing.
[[nodiscard]] std::string sjis_to_utf8(std::string_view sjis);

// Watches a file's bytes, handed over in pieces of any size, for what they
// could be: valid UTF-8 (shortest forms only, no surrogates, at most
// U+10FFFF), valid code page 932 (single bytes, and lead bytes each followed
// by a trail byte), and whether a UTF-8 sequence of three bytes or more
// occurs: every kana and kanji takes three, while a pair of half-width
// katakana in Shift-JIS (ﾊｲ is CA B2) can pass for a two-byte sequence.
class encoding_sniffer {
  public:
    void feed(std::string_view bytes);
    // At the end of the text: a sequence cut short makes it invalid.
    void finish();

    [[nodiscard]] bool valid_utf8() const { return utf8_valid_; }
    [[nodiscard]] bool valid_sjis() const { return sjis_valid_; }
    [[nodiscard]] bool has_long_utf8() const { return long_utf8_; }

  private:
    void feed_utf8(unsigned char b);
    void feed_sjis(unsigned char b);

    bool utf8_valid_ = true, sjis_valid_ = true, long_utf8_ = false;
    int utf8_pending_ = 0;                             // continuation bytes still due
    unsigned char next_low_ = 0x80, next_high_ = 0xBF; // range of the next one
    bool in_long_sequence_ = false;                    // the sequence begun has three bytes or more
    bool sjis_after_lead_ = false;
};

struct sjis_conversion {
    std::string bytes;
    bool lossless = true; // false when a '?' stands for something
};

// The Shift-JIS bytes of a UTF-8 text, at most max_bytes of them: like every
// text of the program, the result is cut at the byte, even inside a
// double-byte character. A code point that Shift-JIS cannot hold, and each
// byte of an invalid sequence, becomes '?'; what lies past the cut is not
// looked at.
[[nodiscard]] sjis_conversion utf8_to_sjis(std::string_view utf8, std::size_t max_bytes);

} // namespace kozenica
