#include "lists.h"

#include <algorithm>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace kozenica {

namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::int32_t hex_value(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return 0;
    std::uint32_t v = 0;
    for (const char c : digits) {
        const int d = hex_digit(c);
        if (d < 0) return 0;
        v = v << 4 | std::uint32_t(d);
    }
    return static_cast<std::int32_t>(v);
}

std::int32_t decimal_value(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return 0;
    constexpr std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    std::int64_t v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return 0;
        v = v * 10 + (c - '0');
        if (v > limit) return 0;
    }
    return static_cast<std::int32_t>(negative ? -v : v);
}

// Splits the content into lines: CR ends a line (an LF right after it belongs
// to the line end), 0x1A ends the file. A lone LF is an ordinary byte.
std::vector<std::string_view> split_lines(std::string_view content) {
    if (const auto eof = content.find('\x1A'); eof != std::string_view::npos) content = content.substr(0, eof);
    std::vector<std::string_view> lines;
    while (!content.empty()) {
        const auto cr = content.find('\r');
        if (cr == std::string_view::npos) {
            lines.push_back(content);
            break;
        }
        lines.push_back(content.substr(0, cr));
        content.remove_prefix(cr + 1);
        if (!content.empty() && content.front() == '\n') content.remove_prefix(1);
    }
    return lines;
}

} // namespace

std::int32_t list_number_value(std::string_view line) {
    std::string_view text = cut_bytes(line, text_bytes);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (!text.empty() && text.front() == '$') return hex_value(text.substr(1));
    return decimal_value(text);
}

std::vector<list_entry> parse_list_file(std::string_view content) {
    const std::vector<std::string_view> lines = split_lines(content);
    std::vector<list_entry> entries;
    for (std::size_t i = 0; i < lines.size() && entries.size() < max_list_entries; i += 2) {
        list_entry e;
        e.number = list_number_value(lines[i]);
        if (i + 1 < lines.size()) e.name.assign(lines[i + 1]);
        entries.push_back(e);
    }
    return entries;
}

std::vector<list_entry> read_list_file(std::string_view path) {
    const std::string p(cut_bytes(path, path_bytes));
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    std::string content;
    char buffer[65536];
    // 99 entries need at most 198 lines; stop reading a huge file once no
    // further line could matter.
    std::ptrdiff_t line_ends = 0;
    for (;;) {
        const ssize_t r = ::read(fd, buffer, sizeof buffer);
        if (r <= 0) break;
        const std::string_view chunk(buffer, std::size_t(r));
        content.append(chunk);
        line_ends += std::count(chunk.begin(), chunk.end(), '\r');
        if (chunk.find('\x1A') != std::string_view::npos || line_ends > std::ptrdiff_t(2 * max_list_entries)) break;
    }
    ::close(fd);
    return parse_list_file(content);
}

void sort_kind_list(kind_list& kinds) {
    // Bubble sort with strict comparison: entries with equal numbers keep
    // their file order.
    for (std::size_t end = kinds.size(); end > 1; --end) {
        bool swapped = false;
        for (std::size_t i = 0; i + 1 < end; ++i) {
            if (kinds[i].number > kinds[i + 1].number) {
                std::swap(kinds[i], kinds[i + 1]);
                swapped = true;
            }
        }
        if (!swapped) break;
    }
}

} // namespace kozenica
