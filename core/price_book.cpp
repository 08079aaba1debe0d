#include "price_book.h"

#include "digits.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace kozenica {

std::size_t line_text_hash::operator()(const line_text& text) const noexcept {
    // FNV-1a over the text's bytes: items are short, and equal bytes must
    // give equal hashes whatever lies behind the text in its field.
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (const char c : text.view()) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ULL;
    }
    return static_cast<std::size_t>(h);
}

void price_book::add(const shuushi_line& line, std::uint16_t year, std::uint16_t month) {
    if (line.expense <= 0) return;
    const purchase_time when{year, month, line.day, lines_seen_++};
    const auto [slot, is_new] = index_.try_emplace(line.item, static_cast<std::uint32_t>(entries_.size()));
    if (is_new) {
        price_book_entry& e = entries_.emplace_back();
        e.item = line.item;
        e.count = 1;
        e.kind = line.kind;
        e.lowest = e.latest = line.expense;
        e.lowest_shop = e.latest_shop = line.shop;
        e.lowest_time = e.latest_time = when;
        return;
    }
    price_book_entry& e = entries_[slot->second];
    ++e.count;
    // Among equal lowest prices the latest purchase is the one to show.
    if (line.expense < e.lowest || (line.expense == e.lowest && when > e.lowest_time)) {
        e.lowest = line.expense;
        e.lowest_shop = line.shop;
        e.lowest_time = when;
    }
    if (when > e.latest_time) {
        e.latest = line.expense;
        e.latest_shop = line.shop;
        e.latest_time = when;
        e.kind = line.kind;
    }
}

price_book gather_price_book(period_query query, std::string_view program_dir, notifier& notify,
                             month_source& source) {
    query.every_item = query.item_name.empty();
    price_book book;
    month_walk(
        query, program_dir, notify,
        [&](const shuushi_line& line, std::uint16_t year, std::uint16_t month, std::string_view) {
            book.add(line, year, month);
            return walk_answer::go_on;
        },
        source);
    return book;
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
                                          const std::vector<price_book_cells>& cells, book_column column,
                                          bool ascending) {
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto c = static_cast<std::size_t>(column);
    // -1, 0 or 1 as row a stands before, with or after row b in the column.
    const auto compare = [&](std::size_t a, std::size_t b) -> int {
        if (is_text_column(column)) {
            const int r = cells[a][c].compare(cells[b][c]);
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
