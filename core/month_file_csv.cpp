// CSV month files: a line a ledger line, seven comma-separated fields (day,
// shop, item, kind, income, expense, memo), CR LF line ends when written.
#include "digits.h"
#include "month_file.h"
#include "month_file_io.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <memory>
#include <new>

namespace kozenica {

namespace {

constexpr std::size_t csv_line_bytes = 254; // the rest of a longer line is skipped
constexpr char end_of_file_byte = '\x1A';

// One buffer per thread, big enough for a piece of the file, kept between
// calls: a walk over many months then reads each file without allocating.
// Text fields are copied as whole 20-byte blocks and searched 16 bytes at a
// time; the buffer has room for the block of a field at its very end.
// It starts on a page boundary, as the file's bytes do in the page cache: the
// kernel's copy into a buffer 16 bytes off that alignment (where a plain
// allocation of this size lands) runs several times slower.
constexpr std::size_t read_buffer_bytes = csv_read_piece_bytes + text_bytes;
constexpr std::align_val_t page_alignment{4096};
struct page_aligned_delete {
    void operator()(char* p) const { ::operator delete[](p, page_alignment); }
};
char* read_buffer() {
    thread_local const std::unique_ptr<char[], page_aligned_delete> buffer(
        static_cast<char*>(::operator new[](read_buffer_bytes, page_alignment)));
    return buffer.get();
}

// Where one line ends and where its commas stand. Lines and fields are
// short, so one pass over the line that marks both beats a search per field.
struct line_marks {
    const char* end_of_line;      // the CR or LF that ends the line, or the end of the bytes
    std::uint64_t commas[4] = {}; // a bit for every comma among the first 256 bytes
};

// Marks the line that starts at p, looking at 16 bytes a step; it may read up
// to 15 bytes past end, which the buffers leave room for.
line_marks scan_line(const char* p, const char* end) {
    line_marks marks{end};
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i comma = _mm_set1_epi8(',');
    for (std::size_t at = 0; p + at < end; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        if (at < 256) {
            const auto commas = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, comma)));
            marks.commas[at / 64] |= std::uint64_t{commas} << (at % 64);
        }
        const auto ends = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
        if (ends != 0) {
            marks.end_of_line = std::min(p + at + __builtin_ctz(ends), end);
            return marks;
        }
    }
#else
    for (const char* q = p; q < end; ++q) {
        if (*q == '\r' || *q == '\n') {
            marks.end_of_line = q;
            break;
        }
        if (*q == ',' && q - p < 256) marks.commas[(q - p) / 64] |= std::uint64_t{1} << ((q - p) % 64);
    }
#endif
    return marks;
}

// digits_to_int, with a short way for the usual field of plain ASCII digits
// (which gives the same value, wrapping included).
std::int32_t number_value(std::string_view text) {
    std::uint32_t value = 0;
    for (const char c : text) {
        const unsigned digit = static_cast<unsigned char>(c) - unsigned{'0'};
        if (digit > 9) return digits_to_int(text);
        value = value * 10u + digit;
    }
    return static_cast<std::int32_t>(value);
}

std::int8_t day_value(std::string_view text) {
    const std::int32_t day = number_value(text);
    return static_cast<std::int8_t>(day >= 0 && day <= 31 ? day : 0);
}

// Seven fields split at each comma, each cut to 20 bytes. A field runs to the
// next comma or to the end of the line; fields past the end of the line are
// empty, so missing fields become empty or zero, and anything after the
// seventh comma is ignored. The 20 bytes after the start of every field must
// be readable (see read_buffer).
void parse_csv_line(shuushi_line& line, const char* p, std::size_t size, const line_marks& marks) {
    std::size_t word = 0;
    std::uint64_t bits = marks.commas[0];
    std::size_t start = 0;
    std::size_t length = 0;
    const auto next_field = [&] {
        while (bits == 0 && word < 3)
            bits = marks.commas[++word];
        std::size_t comma = size;
        if (bits != 0) {
            comma = std::min(word * 64 + static_cast<std::size_t>(__builtin_ctzll(bits)), size);
            bits &= bits - 1;
        }
        const char* text = p + start;
        length = std::min(comma - start, text_bytes);
        start = comma == size ? size : comma + 1;
        return text;
    };
    const char* text = next_field();
    line.day = day_value({text, length});
    text = next_field();
    line.shop.assign_block(text, length);
    text = next_field();
    line.item.assign_block(text, length);
    text = next_field();
    line.kind = number_value({text, length});
    text = next_field();
    line.income = number_value({text, length});
    text = next_field();
    line.expense = number_value({text, length});
    text = next_field();
    line.memo.assign_block(text, length);
}

// Splits the bytes of a CSV file, handed over in pieces of any size, into
// lines and stores them in slots 1, 2, ... of the table. A CR or an LF ends a
// line, and an LF right after a CR belongs to that line end: files of either
// family of tools read alike. 0x1A ends the file. Only the first 254 bytes of
// a line count.
class csv_line_reader {
  public:
    explicit csv_line_reader(shuushi_data& table) : table_(table) { table_.row_count = 1; }

    // False once no further byte can go into the table: the end-of-file byte
    // was seen or the table is full. The 20 bytes after the piece must be
    // readable.
    bool feed(const char* p, std::size_t n) {
        const char* end = p + n;
        const char* const eof = static_cast<const char*>(std::memchr(p, end_of_file_byte, n));
        if (eof) end = eof;
        p = skip_lf_after_cr(p, end);
        while (p < end) {
            const line_marks marks = scan_line(p, end);
            if (marks.end_of_line == end) {
                keep(p, end);
                break;
            }
            const bool cr = *marks.end_of_line == '\r';
            const bool full = !end_line(p, marks);
            p = marks.end_of_line + 1;
            if (cr) {
                if (p == end)
                    after_cr_ = true;
                else if (*p == '\n')
                    ++p;
            }
            if (full) {
                rest_ = p;
                rest_end_ = end;
                saw_eof_ = eof != nullptr;
                return false;
            }
        }
        if (eof) {
            finish();
            return false;
        }
        return true;
    }

    // At the end of the file: a last line without its line end still counts.
    void finish() {
        if (started_) (void)store_kept();
    }

    // Once a line end filled the table: whether the file goes on with a
    // further line after line 1999. The bytes that piece still held come
    // first; when it held none, the next piece of the file.
    [[nodiscard]] bool filled_before_the_end() const { return rest_ != nullptr; }
    [[nodiscard]] bool rest_holds_a_line() const { return rest_ != rest_end_; }
    [[nodiscard]] bool eof_after_rest() const { return saw_eof_; }
    [[nodiscard]] bool line_starts(const char* p, std::size_t n) {
        const char* const end = p + n;
        p = skip_lf_after_cr(p, end);
        return p < end && *p != end_of_file_byte;
    }

  private:
    // An LF that follows a CR ended in the previous step (or piece) belongs to
    // that line end.
    const char* skip_lf_after_cr(const char* p, const char* end) {
        if (after_cr_ && p < end) {
            if (*p == '\n') ++p;
            after_cr_ = false;
        }
        return p;
    }

    void keep(const char* from, const char* to) {
        if (from == to) return;
        started_ = true;
        const std::size_t n = std::min(static_cast<std::size_t>(to - from), csv_line_bytes - kept_);
        std::memcpy(line_ + kept_, from, n);
        kept_ += n;
    }

    // The line that ends at its line end: parsed where it stands unless it
    // began in an earlier piece.
    bool end_line(const char* from, const line_marks& marks) {
        if (!started_)
            return store(from, std::min(static_cast<std::size_t>(marks.end_of_line - from), csv_line_bytes),
                         marks);
        keep(from, marks.end_of_line);
        return store_kept();
    }

    bool store_kept() { return store(line_, kept_, scan_line(line_, line_ + kept_)); }

    bool store(const char* line, std::size_t size, const line_marks& marks) {
        parse_csv_line(table_.lines[static_cast<std::size_t>(table_.row_count)], line, size, marks);
        ++table_.row_count;
        kept_ = 0;
        started_ = false;
        return table_.row_count < max_rows;
    }

    shuushi_data& table_;
    char line_[csv_line_bytes + text_bytes] = {}; // with room for a field's whole block
    std::size_t kept_ = 0;
    bool started_ = false; // bytes of the current line kept in line_
    bool after_cr_ = false;
    bool saw_eof_ = false;
    const char* rest_ = nullptr; // what the piece that filled the table still held
    const char* rest_end_ = nullptr;
};

void append_decimal(std::string& out, std::int32_t value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

} // namespace

bool read_csv(opened from, shuushi_data& table) {
    constexpr std::size_t piece_bytes = csv_read_piece_bytes;
    static_assert(piece_bytes + text_bytes <= read_buffer_bytes);
    char* const bytes = read_buffer();
    file_handle file(from);
    csv_line_reader lines(table);
    for (;;) {
        const std::size_t got = file.read_up_to(bytes, piece_bytes);
        if (got > 0 && !lines.feed(bytes, got)) break;
        if (got < piece_bytes) { // read_up_to stops short only at the end
            lines.finish();
            return false;
        }
    }
    if (!lines.filled_before_the_end()) return false; // 0x1A ended the file
    if (lines.rest_holds_a_line()) return true;
    if (lines.eof_after_rest()) return false;
    return lines.line_starts(bytes, file.read_up_to(bytes, piece_bytes));
}

std::string encode_csv(const shuushi_data& table) {
    const std::size_t lines = lines_to_write(table);
    std::string out;
    out.reserve(lines * 64);
    for (std::size_t i = 1; i <= lines; ++i) {
        const shuushi_line& line = table.lines[i];
        append_decimal(out, line.day);
        out += ',';
        out += line.shop.view();
        out += ',';
        out += line.item.view();
        out += ',';
        append_decimal(out, line.kind);
        out += ',';
        append_decimal(out, line.income);
        out += ',';
        append_decimal(out, line.expense);
        out += ',';
        out += line.memo.view();
        out += "\r\n";
    }
    return out;
}

} // namespace kozenica
