#pragma once
// Month files held in memory: they record which were read, and a damaged one
// fills the table part-way before it fails.
#include "core/month_walk.h"
#include "file_testing.h"

#include <map>

namespace kozenica::testing {

inline shuushi_line priced(std::string_view item, std::int32_t expense) {
    return make_line(1, "shop", item, 1, 0, expense);
}

struct fake_month_source : month_source {
    std::string dir = "/prog/";
    std::map<std::string, std::pair<std::vector<shuushi_line>, bool>> files; // lines, damaged
    std::vector<std::string> read_names;                                     // without the directory

    void put(const std::string& name, std::vector<shuushi_line> lines, bool damaged = false) {
        files[dir + name] = {std::move(lines), damaged};
    }
    bool exists(std::string_view path) override { return files.count(std::string(path)) != 0; }
    bool read(std::string_view path, shuushi_data& table, notifier&) override {
        read_names.emplace_back(path.substr(dir.size()));
        const auto& [lines, damaged] = files.at(std::string(path));
        std::copy(lines.begin(), lines.end(), table.lines.begin() + 1);
        table.row_count = static_cast<std::int32_t>(lines.size()) + 1;
        return !damaged;
    }
};

// Missing-month boxes that can stop the command, and the question before a
// range with many missing months.
struct stopping_notifier : recording_notifier {
    bool ask_yes_no_default_no(message_kind kind, std::string_view text) override {
        asked.emplace_back(kind, text);
        return go_on;
    }
    bool tell_path_or_stop(message_kind kind, const path_message& text) override {
        tell_path(kind, text);
        return int(told.size()) == stop_at;
    }
    std::vector<std::pair<message_kind, std::string>> asked;
    bool go_on = false;
    int stop_at = 0; // the box, from 1, whose stop button is pressed
};

inline period_query query_of(int sy, int sm, int ey, int em, std::string_view item = "milk", int format = 0) {
    period_query q{std::uint16_t(sy), std::uint16_t(sm), std::uint16_t(ey), std::uint16_t(em), format, {}};
    q.item_name.assign(item);
    return q;
}

} // namespace kozenica::testing
