#pragma once
// Test helpers for the file code: temporary directories, whole-file I/O, a
// recording notifier, builders for month tables and KZN bytes.

#include "core/atomic_file.h"
#include "core/lists.h"
#include "core/month_file.h"
#include "core/settings.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace kozenica::testing {

// A new empty directory, removed at the end of the test; path() ends in '/'.
struct temp_dir {
    temp_dir() {
        if (::mkdtemp(dir_.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir_ += '/';
    }
    ~temp_dir() { std::filesystem::remove_all(dir_, ignored_); }
    [[nodiscard]] long count() const { return std::distance(std::filesystem::directory_iterator(dir_), {}); }
    [[nodiscard]] const std::string& path() const { return dir_; }
    [[nodiscard]] std::string file(std::string_view name) const { return dir_ + std::string(name); }
    std::string dir_ = (std::filesystem::temp_directory_path() / "kozenica-test-XXXXXX").string();
    std::error_code ignored_;
};

inline const std::string& write_bytes(const std::string& path, std::string_view bytes) {
    return std::ofstream(path, std::ios::binary) << bytes, path;
}
inline std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct recording_notifier : notifier {
    void tell(message_kind kind, std::string_view text) override { told.emplace_back(kind, text); }
    bool ask_yes_no(message_kind, std::string_view) override { return false; }
    std::vector<std::pair<message_kind, std::string>> told;
};

inline shuushi_line make_line(int day, std::string_view shop, std::string_view item = "",
                              std::int32_t kind = 0, std::int32_t income = 0, std::int32_t expense = 0,
                              std::string_view memo = "") {
    return {std::int8_t(day), line_text(shop), line_text(item), kind, income, expense, line_text(memo)};
}
inline shuushi_data table_of(const std::vector<shuushi_line>& lines) {
    shuushi_data table;
    std::copy(lines.begin(), lines.end(), table.lines.begin() + 1);
    table.row_count = std::int32_t(lines.size() + 1);
    return table;
}
inline std::vector<shuushi_line> lines_of(const shuushi_data& table) {
    return {table.lines.begin() + 1, table.lines.begin() + std::clamp(table.row_count, 1, max_rows)};
}

// All 1999 lines, texts of 20 bytes ending in a cut lead byte; negatives only where the format keeps them.
inline shuushi_data full_table(bool with_negatives) {
    shuushi_data table;
    table.row_count = max_rows;
    const auto text = [](auto s, int i) {
        return (s + std::to_string(i) + std::string(19, 'z')).substr(0, 19) + '\x93';
    };
    for (int i = 1; i <= max_lines; ++i)
        table.lines[std::size_t(i)] =
            make_line(i % 32, text("shop", i), text("item", i), i % 100,
                      (with_negatives && i % 2 ? -i : i) * 1000, 2147000000 + i * 7, text("memo", i));
    return table;
}
inline shuushi_data new_month() {
    shuushi_data table;
    month_state state;
    return init_data(table, state), table;
}
inline window_settings default_settings() {
    window_settings s;
    return set_initial_data(s), s;
}
inline list_entry entry(std::int32_t number, std::string_view name) {
    return {number, line_text(name)};
}

// The 16 bytes before the records: header and row count (this host is little-endian).
inline std::string kzn_prefix(std::int32_t row_count, std::string_view header = "kozenic file") {
    return (std::string(header) + "            ").substr(0, 12) +
           std::string(reinterpret_cast<char*>(&row_count), 4);
}
inline std::string repeat(std::string_view s, std::size_t n) {
    std::string out;
    while (n-- > 0)
        out += s;
    return out;
}

struct month_read {
    bool ok;
    shuushi_data table;
    decltype(recording_notifier::told) told;
};
// Writes the bytes to the path and reads them as a month over `start`.
inline month_read read_month(const std::string& path, std::string_view bytes, shuushi_data start = {}) {
    recording_notifier notify;
    const bool ok = month_file_reader(write_bytes(path, bytes), start, notify);
    return {ok, start, notify.told};
}

// The errno of the system_error the call throws, or 0 when it returns.
template <class F> int error_of(F&& call) {
    try {
        (void)call();
    } catch (const std::system_error& e) {
        return e.code().value();
    }
    return 0;
}

constexpr int saved = 0, disk_full = -1;
struct month_save {
    int result; // saved, disk_full or the errno thrown
    bool changed_flag;
    decltype(recording_notifier::told) told;
};
// Saves over the path with changed_flag set, as the save commands do.
inline month_save save_month(const shuushi_data& table, const std::string& path, file_io& io = system_file_io()) {
    month_state state;
    state.open_path.assign(path);
    state.changed_flag = true;
    recording_notifier notify;
    bool written = true;
    const int error = error_of([&] { return written = month_file_writer(table, state, notify, io); });
    return {error ? error : written ? saved : disk_full, state.changed_flag, notify.told};
}

} // namespace kozenica::testing
