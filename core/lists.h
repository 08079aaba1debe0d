#pragma once
// The kind list "kindlist.dat" and the correspondence list "corresp.dat":
// Shift-JIS text prepared by the user, a number line and a name line per entry.

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

// The entries of a list file's content (at most 99; CR ends a line, an LF right
// after it belongs to the line end, 0x1A ends the file).
[[nodiscard]] std::vector<list_entry> parse_list_file(std::string_view content);

// Reads and parses the file; a file that cannot be read gives no entries.
[[nodiscard]] std::vector<list_entry> read_list_file(std::string_view path);

// Ascending by number; entries with equal numbers keep their file order.
void sort_kind_list(kind_list& kinds);

} // namespace kozenica
