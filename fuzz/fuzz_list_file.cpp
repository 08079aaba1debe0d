// The list file parser ("kindlist.dat", "corresp.dat") and the number rule.

#include "core/lists.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kozenica;
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const list_file parsed = parse_list_file(content);
    const std::vector<list_entry>& entries = parsed.entries;
    FUZZ_CHECK(entries.size() <= max_list_entries);
    for (const list_entry& e : entries)
        FUZZ_CHECK(e.name.size() <= text_bytes);

    // 0x1A ends the file: whatever follows it is never seen, nor decides the encoding.
    if (const auto eof = content.find('\x1A'); eof != std::string_view::npos) {
        const list_file before = parse_list_file(content.substr(0, eof));
        FUZZ_CHECK(before.entries == entries && before.problem == parsed.problem);
    }

    // Only the first 20 bytes of a number line count.
    FUZZ_CHECK(list_number_value(content) == list_number_value(content.substr(0, text_bytes)));

    // Sorting keeps every entry and orders them by number.
    kind_list sorted = entries;
    sort_kind_list(sorted);
    FUZZ_CHECK(sorted.size() == entries.size());
    for (std::size_t i = 1; i < sorted.size(); ++i)
        FUZZ_CHECK(sorted[i - 1].number <= sorted[i].number);
    return 0;
}
