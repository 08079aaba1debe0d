#pragma once
// Month files: the binary KZN format and the comma-separated CSV format.

#include "atomic_file.h"
#include "ledger.h"
#include "notifier.h"

#include <optional>
#include <string>
#include <string_view>

namespace kozenica {

enum class month_format { kzn, csv };

// A path whose extension is exactly ".csv" is a CSV file; any other is KZN.
[[nodiscard]] month_format format_of_path(std::string_view path);

// Reads the month file at the path into table, lines 1 to
// row_count - 1, and sets table.row_count. False only for a damaged KZN file,
// after telling the damaged-file message with the path: a file shorter than
// 16 bytes, a row count below 1 or above 2000, a wrong header with at least
// one record, or a file cut inside a record. On false the lines are not to be
// used, but row_count stays within 1 to 2000. The caller has tested
// file_exists first; a file that cannot be opened and other unexpected I/O
// failures throw std::system_error.
[[nodiscard]] bool month_file_reader(std::string_view path, shuushi_data& table, notifier& notify);

// month_file_reader for a month that may be absent, in one open: nothing, and
// the table untouched, when the path names no regular file that can be opened
// (as file_exists answers false); otherwise what month_file_reader answers.
[[nodiscard]] std::optional<bool> month_file_reader_if_present(std::string_view path, shuushi_data& table,
                                                               notifier& notify);

// What a read found besides the lines.
struct month_read_info {
    // The CSV file goes on after line 1999 with lines the table cannot take:
    // writing the month over it would drop them.
    bool lines_left_out = false;
};

// month_file_reader, telling the caller what it found besides the lines.
[[nodiscard]] bool month_file_reader(std::string_view path, shuushi_data& table, notifier& notify,
                                     month_read_info& info);
[[nodiscard]] std::optional<bool> month_file_reader_if_present(std::string_view path, shuushi_data& table,
                                                               notifier& notify, month_read_info& info);

// The CSV reader takes a file in pieces of this many bytes; a whole month of
// ordinary lines fits in one.
inline constexpr std::size_t csv_read_piece_bytes = 16 + 80 * max_lines;

// The whole content of a month file for the table, byte for byte.
[[nodiscard]] std::string encode_kzn(const shuushi_data& table);
[[nodiscard]] std::string encode_csv(const shuushi_data& table);

// Writes the table to state.open_path (never empty here) in the format its
// extension names, replacing the file atomically; the bytes it replaces are
// kept as a version of the month first (month_versions.h). A KZN save clears
// changed_flag, a CSV save leaves it as it was. When a KZN save finds the
// disk full, the disk-full message is told, the previous file stays whole,
// changed_flag stays set and the result is false. Every other failure, a CSV
// save on a full disk included (ENOSPC), throws std::system_error, again
// leaving the previous file whole and changed_flag as it was.
[[nodiscard]] bool month_file_writer(const shuushi_data& table, month_state& state, notifier& notify,
                                     file_io& io = system_file_io());

} // namespace kozenica
