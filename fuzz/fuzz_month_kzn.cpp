// month_file_reader on a KZN file of any content.

#include "core/month_file.h"
#include "core/texts.h"
#include "fuzz_support.h"

#include <cstring>

namespace {

using namespace kozenica;

std::int32_t stored_row_count(const std::uint8_t* data) {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i)
        u = u << 8 | data[12 + i];
    return static_cast<std::int32_t>(u);
}

// What the reader must decide from the size, the header and the row count.
bool expected_result(const std::uint8_t* data, std::size_t size) {
    if (size < 16) return false;
    const std::int32_t rows = stored_row_count(data);
    if (rows < 1 || rows > max_rows) return false;
    if (rows == 1) return true;
    if (std::memcmp(data, "kozenic file", 12) != 0) return false;
    return size >= 16 + 80 * std::size_t(rows - 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzzing::scratch_path(".kzn");
    static shuushi_data table;
    fuzzing::counting_notifier notify;
    const bool ok = fuzzing::read_as_month(path, data, size, table, notify);

    FUZZ_CHECK(ok == expected_result(data, size));
    FUZZ_CHECK(table.row_count >= 1 && table.row_count <= max_rows);
    if (!ok) {
        FUZZ_CHECK(notify.told == 1 && notify.last_kind == message_kind::error);
        FUZZ_CHECK(notify.last_text == std::string(texts::damaged_file) + path);
        return 0;
    }
    FUZZ_CHECK(notify.told == 0);
    for (int r = 1; r < table.row_count; ++r) {
        const shuushi_line& line = table.lines[std::size_t(r)];
        FUZZ_CHECK(line.shop.size() <= text_bytes && line.item.size() <= text_bytes &&
                   line.memo.size() <= text_bytes);
    }

    // What was read saves and reads back unchanged.
    const std::string encoded = encode_kzn(table);
    FUZZ_CHECK(encoded.size() == 16 + 80 * std::size_t(table.row_count - 1));
    fuzzing::check_reads_back(path, table, encoded, notify);
    return 0;
}
