#include "price_book.h"

#include "digits.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <tuple>

namespace kozenica {

namespace {

// Whether purchase a was made on b's date or later. Purchases are counted in
// walk order, so of two on the same date the one counted later is the later:
// comparing dates settles which purchase is the latest.
bool same_date_or_later(const purchase_time& a, const purchase_time& b) {
    return std::tie(a.year, a.month, a.day) >= std::tie(b.year, b.month, b.day);
}

} // namespace

void price_book::add(const shuushi_line& line, std::uint16_t year, std::uint16_t month) {
    if (line.expense <= 0) return;
    const purchase_time time{year, month, line.day, lines_seen_++};
    const auto hash = static_cast<std::uint32_t>(std::hash<std::string_view>{}(line.item.view()));
    const auto found = places_.find(item_probe{line.item.view(), hash, entries_});
    if (found == places_.end()) {
        places_.insert({static_cast<std::uint32_t>(entries_.size()), hash});
        entries_.push_back({.item = line.item,
                            .kind = line.kind,
                            .count = 1,
                            .lowest = line.expense,
                            .latest = line.expense,
                            .latest_time = time,
                            .lowest_time = time,
                            .latest_shop = line.shop,
                            .lowest_shop = line.shop});
        return;
    }
    price_book_entry& e = entries_[found->entry];
    ++e.count;
    // Among equal lowest prices the latest purchase is the one to show.
    if (line.expense < e.lowest || (line.expense == e.lowest && same_date_or_later(time, e.lowest_time))) {
        e.lowest = line.expense;
        e.lowest_shop = line.shop;
        e.lowest_time = time;
    }
    if (same_date_or_later(time, e.latest_time)) {
        e.latest = line.expense;
        e.latest_shop = line.shop;
        e.latest_time = time;
        e.kind = line.kind;
    }
}

std::optional<price_book> gather_price_book(period_query query, std::string_view program_dir,
                                            notifier& notify, month_source& source) {
    query.every_item = query.item_name.empty();
    price_book book;
    const walk_outcome outcome = month_walk_by_month(
        query, program_dir, notify,
        [&](const shuushi_data& table, std::uint16_t year, std::uint16_t month) {
            for (const shuushi_line& line : walked_lines(table))
                if (query.every_item || line.item == query.item_name) book.add(line, year, month);
            return walk_answer::go_on;
        },
        source);
    if (outcome == walk_outcome::stopped_by_user) return std::nullopt;
    return book;
}

const price_book_entry& price_book::entry_range::at(std::size_t i) const {
    if (i >= size()) throw std::out_of_range("price_book entry");
    return (*this)[i];
}

std::int64_t rise_tenths(const price_book_entry& entry) {
    if (entry.lowest <= 0) return 0;
    const std::int64_t over = std::int64_t{entry.latest} - entry.lowest;
    const std::int64_t scaled = over * 1000 * 2;
    // Half up for a rise, half away from zero for the (impossible) fall.
    const std::int64_t twice = scaled >= 0 ? scaled + entry.lowest : scaled - entry.lowest;
    return twice / (std::int64_t{entry.lowest} * 2);
}

std::string kind_text(std::int32_t kind, const kind_list& kinds) {
    const auto named =
        std::find_if(kinds.begin(), kinds.end(), [&](const kind_entry& k) { return k.number == kind; });
    if (named != kinds.end()) return named->name.str();
    return kind > 0 ? format_decimal(kind) : std::string();
}

namespace {

std::string time_text(const purchase_time& t) {
    return date_text(t.year, t.month, t.day);
}

std::string tenths_text(std::int64_t tenths) {
    const std::int64_t magnitude = tenths < 0 ? -tenths : tenths;
    return (tenths < 0 ? "-" : "") + std::to_string(magnitude / 10) + '.' + std::to_string(magnitude % 10);
}

// The value a numeric or date column sorts by; texts sort by their cells.
std::tuple<std::int64_t, purchase_time> sort_value(const price_book_entry& e, book_column column) {
    switch (column) {
    case book_column::count:
        return {e.count, {}};
    case book_column::lowest:
        return {e.lowest, {}};
    case book_column::latest:
        return {e.latest, {}};
    case book_column::rise:
        return {rise_tenths(e), {}};
    case book_column::lowest_date:
        return {0, e.lowest_time};
    case book_column::latest_date:
        return {0, e.latest_time};
    default:
        return {0, {}};
    }
}

bool is_text_column(book_column column) {
    return column == book_column::item || column == book_column::kind || column == book_column::lowest_shop ||
           column == book_column::latest_shop;
}

} // namespace

price_book_cells price_book_row(const price_book_entry& e, const kind_list& kinds) {
    return {e.item.str(),
            kind_text(e.kind, kinds),
            format_comma(e.count),
            format_comma(e.lowest),
            e.lowest_shop.str(),
            time_text(e.lowest_time),
            format_comma(e.latest),
            e.latest_shop.str(),
            time_text(e.latest_time),
            tenths_text(rise_tenths(e))};
}

std::vector<std::size_t> price_book_order(const std::vector<price_book_entry>& entries,
                                          const kind_list& kinds, book_column column, bool ascending) {
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // The kind sorts by the text shown for it; the others need no text made.
    std::vector<std::string> kind_texts;
    if (column == book_column::kind) {
        kind_texts.reserve(entries.size());
        for (const price_book_entry& e : entries)
            kind_texts.push_back(kind_text(e.kind, kinds));
    }
    const auto text_of = [&](std::size_t i) -> std::string_view {
        switch (column) {
        case book_column::kind:
            return kind_texts[i];
        case book_column::lowest_shop:
            return entries[i].lowest_shop.view();
        case book_column::latest_shop:
            return entries[i].latest_shop.view();
        default:
            return entries[i].item.view();
        }
    };
    // -1, 0 or 1 as row a stands before, with or after row b in the column.
    const auto compare = [&](std::size_t a, std::size_t b) -> int {
        if (is_text_column(column)) {
            const int r = text_of(a).compare(text_of(b));
            return (r > 0) - (r < 0);
        }
        const auto va = sort_value(entries[a], column);
        const auto vb = sort_value(entries[b], column);
        return va < vb ? -1 : (vb < va ? 1 : 0);
    };
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int r = compare(a, b);
        if (r != 0) return ascending ? r < 0 : r > 0;
        return entries[a].item.view() < entries[b].item.view();
    });
    return order;
}

} // namespace kozenica
