#pragma once
// Test helpers of the period commands: a notifier that records, and month
// files held in memory that record which paths were probed and read.

#include "core/month_walk.h"
#include "core/notifier.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kozenica::testing {

struct recording_notifier : notifier {
    void tell(message_kind kind, std::string_view text) override {
        told.emplace_back(kind, std::string(text));
    }
    bool ask_yes_no(message_kind kind, std::string_view text) override {
        told.emplace_back(kind, std::string(text));
        return false;
    }
    std::vector<std::pair<message_kind, std::string>> told;
};

// A ledger line with the fields the period commands look at.
inline shuushi_line line_of(std::string_view item, std::int32_t expense, std::int8_t day = 1,
                            std::string_view shop = "shop", std::int32_t income = 0) {
    shuushi_line l;
    l.day = day;
    l.item.assign(item);
    l.shop.assign(shop);
    l.expense = expense;
    l.income = income;
    return l;
}

struct fake_month {
    std::vector<shuushi_line> lines;
    bool damaged = false;
};

// Month files by path. A damaged month fills the table part-way and fails,
// as a reader may do before it finds the damage.
class fake_month_source : public month_source {
  public:
    std::string dir = "/prog/";
    std::map<std::string, fake_month> files;
    std::vector<std::string> read_paths;

    void put(std::string_view name, fake_month month) { files[dir + std::string(name)] = std::move(month); }

    bool exists(std::string_view path) override { return files.count(std::string(path)) != 0; }
    bool read(std::string_view path, shuushi_data& table, notifier&) override {
        read_paths.emplace_back(path);
        const fake_month& m = files.at(std::string(path));
        for (std::size_t i = 0; i < m.lines.size(); ++i)
            table.lines[i + 1] = m.lines[i];
        table.row_count = static_cast<std::int32_t>(m.lines.size()) + 1;
        return !m.damaged;
    }

    // The file names read, without the directory.
    [[nodiscard]] std::vector<std::string> read_names() const {
        std::vector<std::string> out;
        for (const auto& p : read_paths)
            out.push_back(p.substr(dir.size()));
        return out;
    }
};

inline period_query query_of(std::uint16_t sy, std::uint16_t sm, std::uint16_t ey, std::uint16_t em,
                             std::string_view item = "milk", std::int32_t format = 0) {
    period_query q;
    q.start_year = sy;
    q.start_month = sm;
    q.end_year = ey;
    q.end_month = em;
    q.file_format = format;
    q.item_name.assign(item);
    return q;
}

} // namespace kozenica::testing
