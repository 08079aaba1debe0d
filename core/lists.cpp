#include "lists.h"

#include <algorithm>
#include <cerrno>
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

// Gathers the entries of a list file from its bytes, handed over in pieces of
// any size. CR ends a line (an LF right after it belongs to the line end), a
// lone LF is an ordinary byte, 0x1A ends the file. Only the first 20 bytes of
// a line can matter, so no more are kept, however long the line.
class list_parser {
  public:
    // False once no further byte can matter.
    bool feed(std::string_view bytes) {
        if (after_cr_ && !bytes.empty()) {
            if (bytes.front() == '\n') bytes.remove_prefix(1);
            after_cr_ = false;
        }
        while (!bytes.empty()) {
            const auto cr = bytes.find('\r');
            const std::string_view part = bytes.substr(0, cr);
            const auto eof = part.find('\x1A');
            keep(part.substr(0, eof));
            if (eof != std::string_view::npos) {
                finish();
                return false;
            }
            if (cr == std::string_view::npos) return true;
            if (!end_line()) return false;
            bytes.remove_prefix(cr + 1);
            if (bytes.empty()) {
                after_cr_ = true;
                return true;
            }
            if (bytes.front() == '\n') bytes.remove_prefix(1);
        }
        return true;
    }

    // At the end of the file: a last line without its CR still counts, and a
    // number line without a name line gives an entry with an empty name.
    void finish() {
        if (started_) (void)end_line();
        if (have_number_) {
            entries_.push_back(list_entry{number_, line_text{}});
            have_number_ = false;
        }
    }

    [[nodiscard]] std::vector<list_entry> take() { return std::move(entries_); }

  private:
    void keep(std::string_view part) {
        if (part.empty()) return;
        started_ = true;
        line_.append(cut_bytes(part, text_bytes - std::min(line_.size(), text_bytes)));
    }

    bool end_line() {
        if (have_number_) {
            entries_.push_back(list_entry{number_, line_text(line_)});
            have_number_ = false;
        } else {
            number_ = list_number_value(line_);
            have_number_ = true;
        }
        line_.clear();
        started_ = false;
        return entries_.size() < max_list_entries;
    }

    std::vector<list_entry> entries_;
    std::string line_; // the first 20 bytes of the current line
    std::int32_t number_ = 0;
    bool have_number_ = false;
    bool started_ = false;
    bool after_cr_ = false;
};

} // namespace

std::int32_t list_number_value(std::string_view line) {
    std::string_view text = cut_bytes(line, text_bytes);
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '$') return hex_value(text.substr(1));
    return decimal_value(text);
}

std::vector<list_entry> parse_list_file(std::string_view content) {
    list_parser parser;
    if (parser.feed(content)) parser.finish();
    return parser.take();
}

std::vector<list_entry> read_list_file(std::string_view path) {
    const std::string p(path);
    const int fd =
        ::open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); // a pipe must not keep start-up waiting
    if (fd < 0) return {};
    list_parser parser;
    char buffer[16384];
    for (;;) {
        const ssize_t r = ::read(fd, buffer, sizeof buffer);
        if (r < 0 && errno == EINTR) continue;
        // The end of the file, or a file that cannot be read further: what
        // came so far is the list.
        if (r <= 0) {
            parser.finish();
            break;
        }
        if (!parser.feed(std::string_view(buffer, std::size_t(r)))) break;
    }
    ::close(fd);
    return parser.take();
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
