// KZN month files: the header "kozenic file", the row count, and an 80-byte
// record a line, laid out as shuushi_line lies in memory.
#include "month_file.h"
#include "month_file_io.h"
#include "texts.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <type_traits>

namespace kozenica {

namespace {

constexpr char kzn_header[] = "kozenic file";
constexpr std::size_t header_bytes = 12;
constexpr std::size_t prefix_bytes = 16; // header and row count
constexpr std::size_t record_bytes = 80;

// Offsets inside one 80-byte record.
constexpr std::size_t at_day = 0, at_shop = 1, at_item = 22, at_kind = 44, at_income = 48, at_expense = 52,
                      at_memo = 56;

std::int32_t load_le32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::int32_t>(std::uint32_t(u[0]) | std::uint32_t(u[1]) << 8 |
                                     std::uint32_t(u[2]) << 16 | std::uint32_t(u[3]) << 24);
}

void store_le32(char* p, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((v >> (8 * i)) & 0xFFu);
}

void store_text(char* field, const line_text& text) {
    field[0] = static_cast<char>(text.size());
    std::memcpy(field + 1, text.view().data(), text.size());
}

void store_record(char* record, const shuushi_line& line) {
    record[at_day] = static_cast<char>(line.day);
    store_text(record + at_shop, line.shop);
    store_text(record + at_item, line.item);
    store_le32(record + at_kind, line.kind);
    store_le32(record + at_income, line.income);
    store_le32(record + at_expense, line.expense);
    store_text(record + at_memo, line.memo);
}

bool report_damaged(const std::string& path, notifier& notify) {
    notify.tell_path(message_kind::error, {texts::damaged_file, path, {}});
    return false;
}

// A row count the table can hold: at least the header row, at most 2000 rows.
bool row_count_fits(std::int32_t row_count) {
    return row_count >= 1 && row_count <= max_rows;
}

// A line lies in memory exactly as its 80-byte record lies in the file, so the
// records are read straight into the table's slots; only the text lengths are
// checked afterwards.
static_assert(std::endian::native == std::endian::little);
static_assert(std::is_trivially_copyable_v<shuushi_line> && std::is_standard_layout_v<shuushi_line>);
static_assert(sizeof(shuushi_line) == record_bytes);
static_assert(offsetof(shuushi_line, day) == at_day && offsetof(shuushi_line, shop) == at_shop &&
              offsetof(shuushi_line, item) == at_item && offsetof(shuushi_line, kind) == at_kind &&
              offsetof(shuushi_line, income) == at_income && offsetof(shuushi_line, expense) == at_expense &&
              offsetof(shuushi_line, memo) == at_memo);

void repair_text_sizes(shuushi_line& line) {
    line.shop.repair_size();
    line.item.repair_size();
    line.memo.repair_size();
}

// Reads the records of lines 1 to wanted into the table; the number of bytes
// that came.
std::size_t read_records(file_handle& file, shuushi_data& table, std::size_t wanted) {
    char* const first = reinterpret_cast<char*>(&table.lines[1]);
    const std::size_t got = file.read_up_to(first, wanted * record_bytes);
    const std::size_t touched = std::min(wanted, (got + record_bytes - 1) / record_bytes);
    for (std::size_t i = 1; i <= touched; ++i)
        repair_text_sizes(table.lines[i]);
    return got;
}

} // namespace

bool read_kzn(opened from, const std::string& path, shuushi_data& table, notifier& notify) {
    bool whole = true;
    {
        file_handle file(from);
        char prefix[prefix_bytes];
        if (file.read_up_to(prefix, prefix_bytes) < prefix_bytes) whole = false;
        const std::int32_t row_count = whole ? load_le32(prefix + header_bytes) : 0;
        if (!whole || !row_count_fits(row_count)) {
            whole = false;
        } else {
            // A month without lines is taken as it is; the header only counts
            // together with a record.
            table.row_count = row_count;
            if (row_count == 1) return true;
            const auto wanted = static_cast<std::size_t>(row_count - 1);
            whole = std::memcmp(prefix, kzn_header, header_bytes) == 0 &&
                    read_records(file, table, wanted) == wanted * record_bytes;
        }
    }
    return whole || report_damaged(path, notify);
}

std::string encode_kzn(const shuushi_data& table) {
    const std::size_t lines = lines_to_write(table);
    std::string out(prefix_bytes + record_bytes * lines, '\0');
    std::memcpy(out.data(), kzn_header, header_bytes);
    store_le32(out.data() + header_bytes, static_cast<std::int32_t>(lines + 1));
    char* record = out.data() + prefix_bytes;
    for (std::size_t i = 1; i <= lines; ++i, record += record_bytes)
        store_record(record, table.lines[i]);
    return out;
}

} // namespace kozenica
