#include "year_table.h"

#include "digits.h"
#include "month_file.h"
#include "month_walk.h"
#include "pie_geometry.h"
#include "price_book.h"
#include "texts.h"

#include <algorithm>
#include <boost/unordered/unordered_flat_map.hpp>
#include <cerrno>
#include <memory>
#include <numeric>
#include <system_error>
#include <unistd.h>

namespace kozenica {

namespace {

// The table's fixed texts, Shift-JIS (made with scripts/sjis-literal).
constexpr char dash[] = "\x81\x5c" /* ― */;
constexpr char month_suffix[] = "\x8c\x8e" /* 月 */;
constexpr char year_suffix[] = "\x94N" /* 年 */;
constexpr char not_read_mark[] = "\x81I" /* ！ */;
constexpr char in_hand_mark[] = "*";
constexpr char comma_between[] = "\x81"
                                 "A" /* 、 */;
constexpr char notes_between[] = "\x81@" /* 全角の空白 */;
constexpr char not_counted_head[] =
    "\x90\x94\x82\xa6\x82\xc4\x82\xa2\x82\xc8\x82\xa2\x8c\x8e("
    "\x93\xc7\x82\xdf\x82\xc8\x82\xa2\x82\xa9\x89\xf3"
    "\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb7): " /* 数えていない月(読めないか壊れています):  */;
constexpr char cut_head[] = "1999\x8ds\x96\xda\x82\xdc\x82\xc5\x82\xf0\x90\x94\x82\xa6\x82\xbd\x8c\x8e: "
    /* 1999行目までを数えた月:  */;
constexpr char unreadable_head[] =
    "\x83t\x83@\x83"
    "C\x83\x8b\x82\xf0\x93\xc7\x82\xdf\x82\xdc\x82\xb9\x82\xf1: " /* ファイルを読めません:  */;
constexpr const char* headings[] = {
    "\x8e\xed\x97\xde" /* 種類 */,  "\x94N\x8cv" /* 年計 */,    "\x8c\x8e\x95\xbd\x8b\xcf" /* 月平均 */,
    "\x91O\x94N\x8cv" /* 前年計 */, "\x8d\xb7\x8az" /* 差額 */, "\x91O\x94N\x94\xe4" /* 前年比 */,
};
constexpr const char* total_names[] = {
    "\x8ex\x8fo\x8cv" /* 支出計 */,
    "\x8e\xfb\x93\xfc\x8cv" /* 収入計 */,
    "\x8e\xfb\x8ex" /* 収支 */,
};

// Keeps the text of the damaged-file message as the month's reason.
class reason_keeper : public notifier {
  public:
    void tell(message_kind, std::string_view text) override { reason.assign(text); }
    // The month is named by its column; the path would only repeat it.
    void tell_path(message_kind, const path_message& text) override { reason = text.before; }
    bool ask_yes_no(message_kind, std::string_view) override { return false; }
    std::string reason;
};

std::string without_line_end(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// Reads one month file into the scratch table; the lines to count, or none
// for a month that is missing or cannot be read (info says which).
std::span<const shuushi_line> read_month(const std::string& path, shuushi_data& scratch,
                                         year_month_info& info) {
    reason_keeper keeper;
    month_read_info read_info;
    try {
        errno = 0;
        const std::optional<bool> read = month_file_reader_if_present(path, scratch, keeper, read_info);
        const int cause = errno;
        if (!read) {
            // A file that is there but cannot be opened is not missing.
            if (::access(path.c_str(), F_OK) != 0) return {};
            info.standing = month_standing::damaged;
            info.reason = unreadable_head + std::generic_category().message(cause != 0 ? cause : EINVAL);
            return {};
        }
        if (!*read) {
            info.standing = month_standing::damaged;
            info.reason = without_line_end(keeper.reason.empty() ? texts::damaged_file : keeper.reason);
            return {};
        }
    } catch (const std::system_error& failure) {
        info.standing = month_standing::damaged;
        info.reason = unreadable_head + failure.code().message();
        return {};
    }
    info.standing = month_standing::read;
    info.lines_cut = read_info.lines_left_out;
    return walked_lines(scratch);
}

// The sums of one year, kind by kind, as the months are counted.
class year_sums {
  public:
    explicit year_sums(const kind_list& kinds) {
        // A number the list holds twice is named by its first entry, as everywhere else.
        for (const kind_entry& k : kinds)
            if (std::string& name = rows_[row_of(k.number, true)].name; name.empty()) name = k.name.str();
    }

    void count(std::span<const shuushi_line> lines, int month, bool last_year) {
        std::int64_t expense = 0, income = 0;
        month_sums_.assign(rows_.size(), 0);
        for (const shuushi_line& line : lines) {
            expense += line.expense;
            income += line.income;
            std::int32_t at = std::uint32_t(line.kind) < small_kinds ? small_[std::size_t(line.kind)] : -1;
            if (at < 0) {
                if (line.expense == 0) continue;
                at = std::int32_t(row_of(line.kind, false));
                month_sums_.resize(rows_.size());
            }
            // A line without an expense adds nothing, which is cheaper than a branch.
            month_sums_[std::size_t(at)] += line.expense;
            used_[std::size_t(at)] |= char(line.expense != 0);
        }
        for (std::size_t r = 0; r < rows_.size(); ++r)
            (last_year ? rows_[r].last_months : rows_[r].months)[month] += month_sums_[r];
        (last_year ? expense_.last_months : expense_.months)[month] += expense;
        (last_year ? income_.last_months : income_.months)[month] += income;
    }

    // The rows of kinds with an expense: the list's first, then the others by number.
    std::vector<year_row> finish(const kind_list& kinds, bool any_month) {
        std::vector<year_row> out;
        for (std::size_t i = 0; i < listed_; ++i)
            if (used_[i]) out.push_back(rows_[i]);
        std::vector<year_row> others;
        for (std::size_t i = listed_; i < rows_.size(); ++i)
            if (used_[i]) others.push_back(rows_[i]);
        std::sort(others.begin(), others.end(),
                  [](const year_row& a, const year_row& b) { return a.kind < b.kind; });
        for (year_row& row : others)
            row.name = kind_text(row.kind, kinds);
        out.insert(out.end(), others.begin(), others.end());
        if (!any_month) return out;
        year_row balance;
        balance.role = year_row_role::balance;
        balance.name = total_names[2];
        for (int m = 0; m < 12; ++m) {
            balance.months[m] = income_.months[m] - expense_.months[m];
            balance.last_months[m] = income_.last_months[m] - expense_.last_months[m];
        }
        out.push_back(expense_);
        out.push_back(income_);
        out.push_back(balance);
        return out;
    }

  private:
    // Every line of both years looks its kind up: the kinds a household uses
    // are small numbers, found in a plain table; others go through a map.
    std::size_t row_of(std::int32_t kind, bool listed) {
        if (std::uint32_t(kind) < small_kinds && small_[std::size_t(kind)] >= 0)
            return std::size_t(small_[std::size_t(kind)]);
        const auto [known, added] = index_.try_emplace(kind, rows_.size());
        if (!added) return known->second;
        year_row row;
        row.kind = kind;
        rows_.push_back(row);
        used_.push_back(0);
        if (listed) ++listed_;
        if (std::uint32_t(kind) < small_kinds) small_[std::size_t(kind)] = std::int32_t(rows_.size() - 1);
        return rows_.size() - 1;
    }

    static constexpr std::uint32_t small_kinds = 256;
    std::array<std::int32_t, small_kinds> small_ = filled_small();
    static std::array<std::int32_t, small_kinds> filled_small() {
        std::array<std::int32_t, small_kinds> none;
        none.fill(-1);
        return none;
    }
    boost::unordered_flat_map<std::int32_t, std::size_t> index_;
    std::vector<year_row> rows_;
    std::vector<char> used_;
    std::vector<std::int64_t> month_sums_; // the month being counted, row by row
    std::size_t listed_ = 0;
    year_row expense_{year_row_role::expense_total, 0, total_names[0], {}, {}, 0, 0};
    year_row income_{year_row_role::income_total, 0, total_names[1], {}, {}, 0, 0};
};

void add_totals(year_table& table) {
    for (year_row& row : table.rows) {
        row.total = row.last_total = 0;
        for (int m = 0; m < 12; ++m) {
            if (table.months[m].counted()) row.total += row.months[m];
            if (table.last_months[m].counted()) row.last_total += row.last_months[m];
        }
    }
}

std::string month_heading(int month, const year_month_info& info) {
    std::string text = std::to_string(month) + month_suffix;
    if (info.standing == month_standing::in_hand) text += in_hand_mark;
    if (info.standing == month_standing::damaged) text += not_read_mark;
    return text;
}

std::string year_month_text(std::uint16_t year, int month) {
    return std::to_string(year) + year_suffix + std::to_string(month) + month_suffix;
}

// Rounds num / den half up (towards plus infinity at exactly one half).
std::int64_t divide_half_up(std::int64_t num, std::int64_t den) {
    if (den < 0) num = -num, den = -den;
    const std::int64_t twice = 2 * num + den;
    const std::int64_t q = twice / (2 * den);
    return (twice % (2 * den) < 0) ? q - 1 : q;
}

} // namespace

int year_table::counted_months() const {
    return int(
        std::count_if(months.begin(), months.end(), [](const year_month_info& m) { return m.counted(); }));
}

std::size_t year_table::kind_rows() const {
    return std::size_t(std::count_if(rows.begin(), rows.end(),
                                     [](const year_row& r) { return r.role == year_row_role::kind; }));
}

year_table build_year_table(std::uint16_t year, std::int32_t file_format, std::string_view program_dir,
                            const kind_list& kinds, const std::optional<month_in_hand>& in_hand) {
    year_table table;
    table.year = year;
    table.program_dir = program_dir;
    table.file_format = file_format;
    year_sums sums(kinds);
    const auto scratch = std::make_unique<shuushi_data>();
    bool any_month = false;
    for (int back = 1; back >= 0; --back) {
        const auto y = std::uint16_t(year - back);
        if (back == 1 && year == 0) continue;
        for (int m = 0; m < 12; ++m) {
            year_month_info& info = (back ? table.last_months : table.months)[m];
            std::span<const shuushi_line> lines;
            if (in_hand && in_hand->year == y && in_hand->month == m + 1) {
                info.standing = month_standing::in_hand;
                lines = in_hand->lines.first(std::min<std::size_t>(in_hand->lines.size(), max_lines));
            } else {
                lines =
                    read_month(month_path(program_dir, y, std::uint16_t(m + 1), file_format), *scratch, info);
            }
            if (!info.counted()) continue;
            any_month = true;
            sums.count(lines, m, back == 1);
            if (info.standing == month_standing::in_hand && !back)
                table.in_hand_lines.assign(lines.begin(), lines.end());
        }
    }
    table.rows = sums.finish(kinds, any_month);
    add_totals(table);
    return table;
}

std::optional<std::int64_t> month_average(std::int64_t total, int months) {
    if (months <= 0) return std::nullopt;
    return divide_half_up(total, months);
}

std::string ratio_percent_text(std::int64_t total, std::int64_t last_total) {
    if (last_total == 0) return dash;
    // Sums stay below 2^48 (24 months of 1999 lines of 32-bit amounts), so
    // a thousandfold still fits in 64 bits.
    const std::int64_t tenths = divide_half_up(total * 1000, last_total);
    const std::int64_t whole = tenths / 10, tenth = tenths % 10;
    std::string text = (tenths < 0 && whole == 0) ? "-0" : std::to_string(whole);
    return text + "." + std::to_string(tenth < 0 ? -tenth : tenth);
}

std::vector<year_cells> year_table_cells(const year_table& table) {
    std::vector<year_cells> out;
    year_cells head;
    head[name_column] = headings[0];
    for (int m = 0; m < 12; ++m)
        head[first_month_column + m] = month_heading(m + 1, table.months[m]);
    for (int c = total_column; c <= ratio_column; ++c)
        head[c] = headings[c - total_column + 1];
    out.push_back(head);
    const int counted = table.counted_months();
    for (const year_row& row : table.rows) {
        year_cells cells;
        cells[name_column] = row.name;
        for (int m = 0; m < 12; ++m)
            cells[first_month_column + m] = table.months[m].counted() ? format_comma(row.months[m]) : dash;
        cells[total_column] = format_comma(row.total);
        const auto average = month_average(row.total, counted);
        cells[average_column] = average ? format_comma(*average) : dash;
        cells[last_total_column] = format_comma(row.last_total);
        cells[difference_column] = format_comma(row.total - row.last_total);
        cells[ratio_column] = ratio_percent_text(row.total, row.last_total);
        out.push_back(std::move(cells));
    }
    return out;
}

std::string year_table_notes(const year_table& table) {
    std::string not_counted, cut;
    const auto name = [](std::string& list, std::uint16_t year, int month) {
        if (!list.empty()) list += comma_between;
        list += year_month_text(year, month);
    };
    for (int back = 1; back >= 0; --back) {
        if (back == 1 && table.year == 0) continue;
        const auto y = std::uint16_t(table.year - back);
        for (int m = 0; m < 12; ++m) {
            const year_month_info& info = (back ? table.last_months : table.months)[m];
            if (info.standing == month_standing::damaged) name(not_counted, y, m + 1);
            if (info.lines_cut) name(cut, y, m + 1);
        }
    }
    std::string notes;
    if (!not_counted.empty()) notes += not_counted_head + not_counted;
    if (!cut.empty()) notes += (notes.empty() ? "" : notes_between) + std::string(cut_head) + cut;
    return notes;
}

std::string year_table_csv(const std::vector<year_cells>& cells) {
    std::string out;
    for (const year_cells& line : cells) {
        for (std::size_t c = 0; c < line.size(); ++c) {
            if (c > 0) out += ',';
            const std::string& cell = line[c];
            if (cell.find_first_of(",\"") == std::string::npos) {
                out += cell;
                continue;
            }
            out += '"';
            for (const char ch : cell)
                out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
            out += '"';
        }
        out += "\r\n";
    }
    return out;
}

std::vector<int> year_kind_colors(const year_table& table) {
    const std::size_t kinds = table.kind_rows();
    std::vector<std::size_t> order(kinds);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return table.rows[a].total > table.rows[b].total; });
    std::vector<int> colors(kinds);
    for (std::size_t rank = 0; rank < kinds; ++rank)
        colors[order[rank]] = int(rank % pie_color_count) + 1;
    return colors;
}

std::vector<shuushi_line> lines_behind(const year_table& table, int month, std::int32_t kind) {
    std::vector<shuushi_line> out;
    if (month < 1 || month > 12 || !table.months[std::size_t(month - 1)].counted()) return out;
    const auto pick = [&](std::span<const shuushi_line> lines) {
        for (const shuushi_line& line : lines)
            if (line.kind == kind && line.expense != 0) out.push_back(line);
    };
    if (table.months[std::size_t(month - 1)].standing == month_standing::in_hand) {
        pick(table.in_hand_lines);
        return out;
    }
    const auto scratch = std::make_unique<shuushi_data>();
    year_month_info info;
    pick(read_month(month_path(table.program_dir, table.year, std::uint16_t(month), table.file_format),
                    *scratch, info));
    return out;
}

} // namespace kozenica
