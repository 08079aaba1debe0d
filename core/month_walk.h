#pragma once
// The walk over the month files of a range: every month from the start to the
// end in calendar order, each file read into a scratch table of the walk's own,
// and every line whose item equals the asked name handed to the command's step.
// The month in hand is never touched.

#include "ledger.h"
#include "notifier.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kozenica {

// What the period dialog answers.
struct period_query {
    std::uint16_t start_year = 0;
    std::uint16_t start_month = 1; // 1 to 12
    std::uint16_t end_year = 0;
    std::uint16_t end_month = 1;
    std::int32_t file_format = 1; // 0 KZN, 1 CSV
    line_text item_name;          // cut to 20 bytes
    // The price book walks every line of the range, whatever its item.
    bool every_item = false;
};

// The year a year box holds: its decimal value, 0 when the text is empty, not
// a plain run of decimal digits, or too large for 16 bits (a year beyond 65535
// would otherwise wrap into a small, wrong year).
[[nodiscard]] std::uint16_t year_of_text(std::string_view text);

// False when a year is 0 or the start lies after the end; a range of one
// month is valid.
[[nodiscard]] bool range_is_valid(const period_query& query);

// The range check with its warning; true when the walk may start.
[[nodiscard]] bool check_range(const period_query& query, notifier& notify);

// The month file's path: program directory, year, "_", month and ".kzn" for
// format 0 or ".csv" otherwise.
[[nodiscard]] std::string month_path(std::string_view program_dir, std::uint16_t year, std::uint16_t month,
                                     std::int32_t file_format);

// "Y/M/D" without leading zeros; the day as the signed 8-bit value it is.
[[nodiscard]] std::string date_text(std::uint16_t year, std::uint16_t month, std::int8_t day);

// Item name followed by "を発見できませんでした".
[[nodiscard]] std::string not_found_text(std::string_view item_name);

// "ファイル(" name ")がありません": a month file that is not there, named as
// the command knows it (the walk by its path, the open command by its name).
[[nodiscard]] path_message missing_file_text(std::string_view file);

// "範囲の中に、ファイルのない月が" count "か月あります\n続けると、月ごとに
// メッセージが出ます\n続けますか?"
[[nodiscard]] std::string many_missing_text(std::int64_t count);

// More months than this without a file in one range, and the walk asks once
// before the first missing-month box whether to go on: a typed year like 224
// for 2024 would otherwise bring one box per month for thousands of months.
inline constexpr std::int64_t missing_months_to_ask = 120;

enum class walk_answer { go_on, stop };

// How a walk ended. stopped_by_user: the user stopped the whole command at a
// missing-month box or declined to go on over many missing months; the command
// then shows no result.
enum class walk_outcome { walked, stopped_by_user };

// Called for every matching line with the walk's year and month (not the
// file's) and the line's date text.
using walk_step = std::function<walk_answer(const shuushi_line& line, std::uint16_t year, std::uint16_t month,
                                            std::string_view date)>;

// Called for every month read whole with the walk's year and month and the
// month's table, for commands that look at every line themselves (the price
// book), without a call and a date text per line.
using month_step =
    std::function<walk_answer(const shuushi_data& table, std::uint16_t year, std::uint16_t month)>;

// The lines of a month's table the walk looks at: 1 to row_count - 1, never
// beyond max_lines.
[[nodiscard]] std::span<const shuushi_line> walked_lines(const shuushi_data& table);

// Where the walk gets its month files; tests put a recording one in.
class month_source {
  public:
    virtual ~month_source() = default;
    [[nodiscard]] virtual bool exists(std::string_view path) = 0;
    // As month_file_reader: false for a damaged file after its own message.
    [[nodiscard]] virtual bool read(std::string_view path, shuushi_data& table, notifier& notify) = 0;
    // exists, then read: nothing for a missing month, else what read answers.
    // The files' own source does both in one open.
    [[nodiscard]] virtual std::optional<bool> read_if_present(std::string_view path, shuushi_data& table,
                                                              notifier& notify) {
        if (!exists(path)) return std::nullopt;
        return read(path, table, notify);
    }
    // How many of the paths, all in the folder dir, exists answers false for.
    // The files' own source lists the folder once instead of opening each file.
    [[nodiscard]] virtual std::int64_t count_missing(std::string_view dir,
                                                     std::span<const std::string> paths) {
        (void)dir;
        std::int64_t missing = 0;
        for (const std::string& path : paths)
            missing += exists(path) ? 0 : 1;
        return missing;
    }
};

// file_exists and month_file_reader.
month_source& system_month_source();

// Walks the months of a valid range (check_range first). A missing month is
// told as "ファイル(path)がありません" in a box that also offers to stop the
// command, and skipped; a damaged one is skipped; a stop answer of the step
// ends the walk after the current line. When the range holds more than
// missing_months_to_ask months without a file, the walk first asks whether to
// go on. Unexpected I/O failures of the reader throw std::system_error.
walk_outcome month_walk(const period_query& query, std::string_view program_dir, notifier& notify,
                        const walk_step& step, month_source& source = system_month_source());

// The same walk, handing over each month whole; the item name of the query is
// left to the step. A stop answer ends the walk after that month.
walk_outcome month_walk_by_month(const period_query& query, std::string_view program_dir, notifier& notify,
                                 const month_step& step, month_source& source = system_month_source());

} // namespace kozenica
