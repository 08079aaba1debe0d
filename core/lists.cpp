#include "lists.h"

#include "text_encoding.h"

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
// any size. CR, LF and CR LF each end a line (an LF right after a CR belongs to
// its line end), 0x1A ends the file. Only the first 20 Shift-JIS bytes of a
// line can matter, so no more are kept, however long the line; a UTF-8 line
// keeps enough bytes for 20 Shift-JIS bytes, and is converted when it ends.
class list_parser {
  public:
    list_parser(bool utf8, bool bom) : utf8_(utf8), skip_(bom ? utf8_bom.size() : 0) {}

    // False once no further byte can matter.
    bool feed(std::string_view bytes) {
        skip_bom(bytes);
        if (after_cr_ && !bytes.empty()) {
            if (bytes.front() == '\n') bytes.remove_prefix(1);
            after_cr_ = false;
        }
        while (!bytes.empty()) {
            const auto end = bytes.find_first_of(line_ends);
            keep(bytes.substr(0, end));
            if (end == std::string_view::npos) return true;
            const char c = bytes[end];
            if (c == '\x1A') {
                finish();
                return false;
            }
            if (!end_line()) return false;
            bytes.remove_prefix(end + 1);
            if (c != '\r') continue;
            if (bytes.empty()) {
                after_cr_ = true;
                return true;
            }
            if (bytes.front() == '\n') bytes.remove_prefix(1);
        }
        return true;
    }

    // At the end of the file: a last line without its line end still counts,
    // and a number line without a name line gives an entry with an empty name.
    void finish() {
        if (started_) (void)end_line();
        if (have_number_) {
            entries_.push_back(list_entry{number_, line_text{}});
            have_number_ = false;
        }
    }

    [[nodiscard]] std::vector<list_entry> take() { return std::move(entries_); }
    // A UTF-8 line held a character that Shift-JIS cannot.
    [[nodiscard]] bool lossy() const { return lossy_; }

  private:
    static constexpr char line_ends[] = "\r\n\x1A";
    // A Shift-JIS byte comes from at most 4 UTF-8 bytes.
    static constexpr std::size_t utf8_kept_bytes = 4 * text_bytes;

    // The byte-order mark, possibly split over pieces, is not text.
    void skip_bom(std::string_view& bytes) {
        const std::size_t n = std::min(skip_, bytes.size());
        bytes.remove_prefix(n);
        skip_ -= n;
    }

    void keep(std::string_view part) {
        if (part.empty()) return;
        started_ = true;
        const std::size_t limit = utf8_ ? utf8_kept_bytes : text_bytes;
        line_.append(cut_bytes(part, limit - std::min(line_.size(), limit)));
    }

    [[nodiscard]] std::string line_as_sjis() {
        if (!utf8_) return std::move(line_);
        sjis_conversion c = utf8_to_sjis(line_, text_bytes);
        lossy_ = lossy_ || !c.lossless;
        return std::move(c.bytes);
    }

    bool end_line() {
        const std::string line = line_as_sjis();
        if (have_number_) {
            entries_.push_back(list_entry{number_, line_text(line)});
            have_number_ = false;
        } else {
            number_ = list_number_value(line);
            have_number_ = true;
        }
        line_.clear();
        started_ = false;
        return entries_.size() < max_list_entries;
    }

    std::vector<list_entry> entries_;
    std::string line_; // the first bytes of the current line that can matter
    std::int32_t number_ = 0;
    bool utf8_;
    std::size_t skip_;
    bool lossy_ = false;
    bool have_number_ = false;
    bool started_ = false;
    bool after_cr_ = false;
};

// Sees the whole text up to 0x1A (or the end) before the parser starts, since
// one character near the end can decide the encoding of the whole file.
class list_sniffer {
  public:
    // False once 0x1A was met: nothing after it is text.
    bool feed(std::string_view bytes) {
        if (head_.size() < utf8_bom.size()) head_.append(cut_bytes(bytes, utf8_bom.size() - head_.size()));
        const auto eof = bytes.find('\x1A');
        sniffer_.feed(bytes.substr(0, eof));
        return eof == std::string_view::npos;
    }

    [[nodiscard]] bool bom() const { return head_ == utf8_bom; }
    [[nodiscard]] bool utf8() {
        sniffer_.finish();
        return bom() || (sniffer_.valid_utf8() && sniffer_.has_long_utf8());
    }

    [[nodiscard]] list_text_problem problem(bool utf8, bool lossy) const {
        if (utf8 ? !sniffer_.valid_utf8() : !sniffer_.valid_sjis())
            return list_text_problem::unknown_encoding;
        return lossy ? list_text_problem::unmappable_character : list_text_problem::none;
    }

  private:
    std::string head_;
    encoding_sniffer sniffer_;
};

// Hands the file's bytes from its start to feed until feed returns false; a
// file that cannot be read further ends there.
template <class Feed> void read_pieces(int fd, Feed&& feed) {
    char buffer[16384];
    for (;;) {
        const ssize_t r = ::read(fd, buffer, sizeof buffer);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0 || !feed(std::string_view(buffer, std::size_t(r)))) return;
    }
}

} // namespace

std::int32_t list_number_value(std::string_view line) {
    std::string_view text = cut_bytes(line, text_bytes);
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '$') return hex_value(text.substr(1));
    return decimal_value(text);
}

list_file parse_list_file(std::string_view content) {
    list_sniffer sniffer;
    (void)sniffer.feed(content);
    const bool utf8 = sniffer.utf8();
    list_parser parser(utf8, sniffer.bom());
    if (parser.feed(content)) parser.finish();
    return {parser.take(), sniffer.problem(utf8, parser.lossy())};
}

list_file read_list_file(std::string_view path) {
    const std::string p(path);
    const int fd =
        ::open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); // a pipe must not keep start-up waiting
    if (fd < 0) return {};
    list_sniffer sniffer;
    read_pieces(fd, [&](std::string_view bytes) { return sniffer.feed(bytes); });
    const bool utf8 = sniffer.utf8();
    list_parser parser(utf8, sniffer.bom());
    bool more = ::lseek(fd, 0, SEEK_SET) == 0;
    // The end of the file, or a file that cannot be read further: what came
    // so far is the list.
    if (more) read_pieces(fd, [&](std::string_view bytes) { return more = parser.feed(bytes); });
    if (more) parser.finish();
    ::close(fd);
    return {parser.take(), sniffer.problem(utf8, parser.lossy())};
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
