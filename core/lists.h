#pragma once
// The kind list "kindlist.dat" and the correspondence list "corresp.dat":
// text prepared by the user, a number line and a name line per entry, in
// Shift-JIS or in UTF-8 (names are held as Shift-JIS either way).

#include "ledger.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kozenica {

constexpr std::size_t max_list_entries = 99;

struct list_entry {
    std::int32_t number = 0;
    line_text name;
    friend bool operator==(const list_entry&, const list_entry&) = default;
};

using kind_entry = list_entry;    // kind number and its name
using corresp_entry = list_entry; // kind number and the item name that implies it
using kind_list = std::vector<kind_entry>;
using corresp_list = std::vector<corresp_entry>;

// The value of a number line: its first 20 bytes, leading blanks skipped, then
// a signed decimal or "$" and one to eight hex digits running to the end of the
// text; anything else gives 0.
[[nodiscard]] std::int32_t list_number_value(std::string_view line);

// What stood in the way of reading a list file's text as it was meant.
enum class list_text_problem {
    none,
    unmappable_character, // UTF-8 holding a character Shift-JIS cannot: read as '?'
    unknown_encoding,     // neither valid Shift-JIS nor valid UTF-8
};

struct list_file {
    std::vector<list_entry> entries;
    list_text_problem problem = list_text_problem::none;
};

// The entries of a list file's content (at most 99). CR, LF and CR LF each end
// a line; 0x1A ends the file. The text is UTF-8 when it starts with the
// byte-order mark, or when all of it up to 0x1A is valid UTF-8 holding a
// multi-byte sequence; its lines are then converted to Shift-JIS before the
// 20-byte cut. Any other text is taken byte for byte as Shift-JIS.
[[nodiscard]] list_file parse_list_file(std::string_view content);

// Reads and parses the file; a file that cannot be read gives no entries.
[[nodiscard]] list_file read_list_file(std::string_view path);

// Ascending by number; entries with equal numbers keep their file order.
void sort_kind_list(kind_list& kinds);

} // namespace kozenica
