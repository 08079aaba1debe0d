#include "month_walk.h"

#include "period_texts.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <memory>
#include <vector>

namespace kozenica {

namespace {

// Months counted from year 0, so that a range is a plain run of integers and
// the last month of year 65535 needs no wrapping 16-bit successor.
std::int64_t month_index(std::uint16_t year, std::uint16_t month) {
    return std::int64_t{year} * 12 + month - 1;
}

bool month_ok(std::uint16_t month) {
    return month >= 1 && month <= 12;
}

// The date texts of one month's lines, made without allocating: the walk
// hands one to the step for every matching line, and the price book's walk
// matches every line.
class month_dates {
  public:
    month_dates(std::uint16_t year, std::uint16_t month) {
        char* p = std::to_chars(buffer_, buffer_ + 6, year).ptr;
        *p++ = '/';
        p = std::to_chars(p, p + 3, month).ptr;
        *p++ = '/';
        prefix_ = static_cast<std::size_t>(p - buffer_);
    }
    [[nodiscard]] std::string_view of(std::int8_t day) {
        char* const end = std::to_chars(buffer_ + prefix_, std::end(buffer_), int{day}).ptr;
        return {buffer_, static_cast<std::size_t>(end - buffer_)};
    }

  private:
    char buffer_[24]{};
    std::size_t prefix_ = 0;
};

walk_answer visit_lines(const shuushi_data& table, const period_query& query, std::uint16_t year,
                        std::uint16_t month, const walk_step& step) {
    month_dates dates(year, month);
    for (const shuushi_line& line : walked_lines(table)) {
        if (!query.every_item && line.item.view() != query.item_name.view()) continue;
        if (step(line, year, month, dates.of(line.day)) == walk_answer::stop) return walk_answer::stop;
    }
    return walk_answer::go_on;
}

// The months of the range without a file. Only a range longer than the limit
// can hold more missing months than the limit, so shorter ranges are not
// looked at twice.
std::int64_t missing_months(const period_query& query, std::string_view program_dir, month_source& source,
                            std::int64_t first, std::int64_t last) {
    if (last - first + 1 <= missing_months_to_ask) return 0;
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(last - first + 1));
    for (std::int64_t i = first; i <= last; ++i)
        paths.push_back(month_path(program_dir, static_cast<std::uint16_t>(i / 12),
                                   static_cast<std::uint16_t>(i % 12 + 1), query.file_format));
    return source.count_missing(program_dir, paths);
}

} // namespace

std::uint16_t year_of_text(std::string_view text) {
    if (text.empty()) return 0;
    unsigned long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value > 0xFFFF) return 0;
    return static_cast<std::uint16_t>(value);
}

bool range_is_valid(const period_query& query) {
    if (query.start_year == 0 || query.end_year == 0) return false;
    if (!month_ok(query.start_month) || !month_ok(query.end_month)) return false;
    return month_index(query.start_year, query.start_month) <= month_index(query.end_year, query.end_month);
}

bool check_range(const period_query& query, notifier& notify) {
    if (range_is_valid(query)) return true;
    notify.tell(message_kind::warning, texts::wrong_range);
    return false;
}

std::string month_path(std::string_view program_dir, std::uint16_t year, std::uint16_t month,
                       std::int32_t file_format) {
    std::string path(program_dir);
    path += std::to_string(year);
    path += '_';
    path += std::to_string(month);
    path += file_format == 0 ? ".kzn" : ".csv";
    return path;
}

std::string date_text(std::uint16_t year, std::uint16_t month, std::int8_t day) {
    return std::to_string(year) + '/' + std::to_string(month) + '/' + std::to_string(int{day});
}

std::string not_found_text(std::string_view item_name) {
    return std::string(item_name) + texts::not_found_tail;
}

path_message missing_file_text(std::string_view file) {
    return {texts::missing_file_head, std::string(file), texts::missing_file_tail};
}

std::string many_missing_text(std::int64_t count) {
    return texts::many_missing_head + std::to_string(count) + texts::many_missing_tail;
}

std::span<const shuushi_line> walked_lines(const shuushi_data& table) {
    const int last = std::min(table.row_count - 1, max_lines);
    if (last < 1) return {};
    return {table.lines.data() + 1, static_cast<std::size_t>(last)};
}

walk_outcome month_walk(const period_query& query, std::string_view program_dir, notifier& notify,
                        const walk_step& step, month_source& source) {
    return month_walk_by_month(
        query, program_dir, notify,
        [&](const shuushi_data& table, std::uint16_t year, std::uint16_t month) {
            return visit_lines(table, query, year, month, step);
        },
        source);
}

walk_outcome month_walk_by_month(const period_query& query, std::string_view program_dir, notifier& notify,
                                 const month_step& step, month_source& source) {
    if (!range_is_valid(query)) return walk_outcome::walked;
    const std::int64_t first = month_index(query.start_year, query.start_month);
    const std::int64_t last = month_index(query.end_year, query.end_month);
    const std::int64_t missing = missing_months(query, program_dir, source, first, last);
    if (missing > missing_months_to_ask &&
        !notify.ask_yes_no_default_no(message_kind::warning, many_missing_text(missing)))
        return walk_outcome::stopped_by_user;
    // One scratch table for the whole walk; each month replaces what the
    // previous one left.
    const auto scratch = std::make_unique<shuushi_data>();
    for (std::int64_t i = first; i <= last; ++i) {
        const auto year = static_cast<std::uint16_t>(i / 12);
        const auto month = static_cast<std::uint16_t>(i % 12 + 1);
        const std::string path = month_path(program_dir, year, month, query.file_format);
        const std::optional<bool> read = source.read_if_present(path, *scratch, notify);
        if (!read) {
            if (notify.tell_path_or_stop(message_kind::error, missing_file_text(path)))
                return walk_outcome::stopped_by_user;
            continue;
        }
        if (!*read) continue;
        if (step(*scratch, year, month) == walk_answer::stop) break;
    }
    return walk_outcome::walked;
}

} // namespace kozenica
