#pragma once
// The year table (年間集計): every kind's expense month by month over one year,
// with the year's total and monthly average beside the year before, built from
// the month files the user already has and from the month in hand.

#include "ledger.h"
#include "lists.h"
#include "notifier.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kozenica {

// How a month of the table was counted.
enum class month_standing {
    missing, // no file: no error, counted nowhere
    read,    // its file was read
    damaged, // its file is damaged or cannot be read: counted as missing
    in_hand, // the month in hand stood in for its file
};

struct year_month_info {
    month_standing standing = month_standing::missing;
    // The file held more than 1999 lines; only the first 1999 are counted.
    bool lines_cut = false;
    std::string reason; // Shift-JIS, why a damaged month was not counted

    [[nodiscard]] bool counted() const {
        return standing == month_standing::read || standing == month_standing::in_hand;
    }
};

enum class year_row_role { kind, expense_total, income_total, balance };

struct year_row {
    year_row_role role = year_row_role::kind;
    std::int32_t kind = 0;
    std::string name; // Shift-JIS
    std::array<std::int64_t, 12> months{};
    std::array<std::int64_t, 12> last_months{};
    std::int64_t total = 0;
    std::int64_t last_total = 0;
};

struct year_table {
    std::uint16_t year = 0;
    std::array<year_month_info, 12> months;
    std::array<year_month_info, 12> last_months;
    // The kinds in the kind list's order, then kinds the list lacks by number;
    // then 支出計, 収入計 and 収支 when any month of either year was counted.
    std::vector<year_row> rows;
    // Where the months came from, for the lines behind a figure: the other
    // months are read again when asked for, the month in hand is kept.
    std::string program_dir;
    std::int32_t file_format = 1;
    std::vector<shuushi_line> in_hand_lines;

    [[nodiscard]] int counted_months() const;
    [[nodiscard]] std::size_t kind_rows() const;
};

// The month in hand as the user sees it now, edits not yet saved included.
struct month_in_hand {
    std::uint16_t year = 0;
    std::uint16_t month = 0; // 1 to 12
    std::span<const shuushi_line> lines;
};

// Reads the twelve months of the year and of the year before from the
// program's folder in the given format (0 KZN, 1 CSV). The month in hand, when
// given, stands in for its file. Shows no message: a missing month is just
// missing, a damaged one is marked with its reason.
[[nodiscard]] year_table build_year_table(std::uint16_t year, std::int32_t file_format,
                                          std::string_view program_dir, const kind_list& kinds,
                                          const std::optional<month_in_hand>& in_hand);

inline constexpr int year_table_columns = 18;
enum year_column : int {
    name_column = 0,
    first_month_column = 1,
    total_column = 13,
    average_column,
    last_total_column,
    difference_column,
    ratio_column
};

using year_cells = std::array<std::string, year_table_columns>;

// The heading line and then every row as the table shows it, Shift-JIS: amounts
// in the "0," format, "―" for a month not counted and for an average or ratio
// that has nothing to stand on; a heading "5月*" for the month in hand and
// "5月！" for a month that could not be read.
[[nodiscard]] std::vector<year_cells> year_table_cells(const year_table& table);

// 年計 divided by the months counted, rounded half up; nothing when none was.
[[nodiscard]] std::optional<std::int64_t> month_average(std::int64_t total, int months);

// 年計 as a percent of 前年計 with one decimal ("105.3"); "―" when 前年計 is 0.
[[nodiscard]] std::string ratio_percent_text(std::int64_t total, std::int64_t last_total);

// The line under the table that names the months not counted and the months
// cut at 1999 lines, over both years; empty when there are none.
[[nodiscard]] std::string year_table_notes(const year_table& table);

// The cells as a Shift-JIS CSV file: fields holding a comma or a quote are
// quoted, every line ends in CR LF.
[[nodiscard]] std::string year_table_csv(const std::vector<year_cells>& cells);

// The chart's colour of each kind row, as an index into the pie's colour
// table: the kinds in the order of their year totals (largest first, equal
// totals in row order) take the colours in turn, starting again after the last.
[[nodiscard]] std::vector<int> year_kind_colors(const year_table& table);

// The lines of a counted month of the table's year with an expense of a
// kind: the month in hand's as the table counted them, any other month's read
// from its file again (as the table read it, so a file changed since shows
// its lines as they now stand).
[[nodiscard]] std::vector<shuushi_line> lines_behind(const year_table& table, int month, std::int32_t kind);

} // namespace kozenica
