// month_file_reader on a CSV file of any content.

#include "core/month_file.h"
#include "fuzz_support.h"

namespace {

using namespace kozenica;

// Amounts that wrapped to negative values are written with a minus sign,
// which the digit rule drops on reading; every other line comes back whole.
bool has_negative_number(const shuushi_data& table) {
    for (int r = 1; r < table.row_count; ++r) {
        const shuushi_line& l = table.lines[std::size_t(r)];
        if (l.kind < 0 || l.income < 0 || l.expense < 0) return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzzing::scratch_path(".csv");
    static shuushi_data table;
    fuzzing::counting_notifier notify;
    FUZZ_CHECK(fuzzing::read_as_month(path, data, size, table, notify));
    FUZZ_CHECK(notify.told == 0);
    FUZZ_CHECK(table.row_count >= 1 && table.row_count <= max_rows);
    for (int r = 1; r < table.row_count; ++r) {
        const shuushi_line& line = table.lines[std::size_t(r)];
        FUZZ_CHECK(line.day >= 0 && line.day <= 31);
        for (const line_text* t : {&line.shop, &line.item, &line.memo}) {
            FUZZ_CHECK(t->size() <= text_bytes);
            FUZZ_CHECK(t->view().find_first_of(",\r\n\x1A") == std::string_view::npos);
        }
    }

    if (has_negative_number(table)) return 0;
    const std::string encoded = encode_csv(table);
    fuzzing::check_reads_back(path, table, encoded, notify);
    return 0;
}
