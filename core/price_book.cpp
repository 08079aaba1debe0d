#include "price_book.h"

#include "digits.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <numeric>
#include <tuple>

namespace kozenica {

namespace {

constexpr std::size_t first_index_size = 1024;

// The item's bytes taken eight at a time, the bytes past its length masked
// off, so that equal texts hash alike whatever lies behind them in their
// fields. The words are read straight from the text's fixed field (no copy
// to assemble them, which would stall every load); three multiplies rather
// than one per byte, since every line of a walk is hashed.
// The bytes of the word starting at byte `from` that belong to a text of
// `size` bytes, as a mask; made without branches, since every line is hashed.
std::uint64_t kept_mask(std::size_t size, std::size_t from) {
    const std::size_t kept = size > from ? std::min<std::size_t>(size - from, 8) : 0;
    return kept == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * kept)) - 1;
}

std::uint32_t item_hash(const line_text& item) {
    static_assert(text_bytes == 20);
    const char* const bytes = item.view().data(); // the field holds 20 bytes
    const std::size_t size = item.size();
    // Each word in a register of its own: words gathered in an array on the
    // stack would be stored and loaded again, stalling every hash.
    std::uint64_t w0 = 0;
    std::uint64_t w1 = 0;
    std::uint64_t w2 = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&w0, bytes, 8);
        std::memcpy(&w1, bytes + 8, 8);
        std::uint32_t tail = 0;
        std::memcpy(&tail, bytes + 16, 4);
        w0 &= kept_mask(size, 0);
        w1 &= kept_mask(size, 8);
        w2 = tail & kept_mask(size, 16);
    } else {
        std::array<std::uint64_t, 3> words{};
        std::memcpy(words.data(), bytes, size);
        w0 = words[0];
        w1 = words[1];
        w2 = words[2];
    }
    std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ size;
    // A multiply carries a byte's difference only upwards; the shift brings
    // it back down before the next word, so every byte reaches every bit.
    const auto mix = [&h](std::uint64_t w) {
        h = (h ^ w) * 0xFF51AFD7ED558CCDULL;
        h ^= h >> 32;
    };
    mix(w0);
    mix(w1);
    mix(w2);
    return static_cast<std::uint32_t>(h);
}

// Whether two items hold the same text: their sizes and the bytes within
// the size, compared word by word without a call per comparison.
bool same_item(const line_text& a, const line_text& b) {
    const std::size_t size = a.size();
    if (size != b.size()) return false;
    if constexpr (std::endian::native == std::endian::little) {
        const char* const x = a.view().data(); // both fields hold 20 bytes
        const char* const y = b.view().data();
        std::uint64_t x0 = 0, x1 = 0, y0 = 0, y1 = 0;
        std::uint32_t x2 = 0, y2 = 0;
        std::memcpy(&x0, x, 8);
        std::memcpy(&y0, y, 8);
        std::memcpy(&x1, x + 8, 8);
        std::memcpy(&y1, y + 8, 8);
        std::memcpy(&x2, x + 16, 4);
        std::memcpy(&y2, y + 16, 4);
        return (((x0 ^ y0) & kept_mask(size, 0)) | ((x1 ^ y1) & kept_mask(size, 8)) |
                ((x2 ^ y2) & kept_mask(size, 16))) == 0;
    } else {
        return a.view() == b.view();
    }
}

} // namespace

void price_book::grow_index() {
    const std::size_t size = slots_.empty() ? first_index_size : slots_.size() * 2;
    slots_.assign(size, slot{});
    const std::size_t mask = size - 1;
    for (std::size_t e = 0; e < entries_.size(); ++e) {
        const std::uint32_t h = item_hash(entries_[e].item);
        std::size_t at = h & mask;
        while (slots_[at].entry != 0)
            at = (at + 1) & mask;
        slots_[at] = {h, static_cast<std::uint32_t>(e + 1)};
    }
}

price_book_entry& price_book::entry_for(const line_text& item, std::uint32_t hash, bool& is_new) {
    if ((entries_.size() + 1) * 2 > slots_.size()) grow_index();
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    for (; slots_[at].entry != 0; at = (at + 1) & mask) {
        if (slots_[at].hash != hash) continue;
        price_book_entry& e = entries_[slots_[at].entry - 1];
        if (same_item(e.item, item)) {
            is_new = false;
            return e;
        }
    }
    is_new = true;
    slots_[at] = {hash, static_cast<std::uint32_t>(entries_.size() + 1)};
    price_book_entry& e = entries_.emplace_back();
    e.item = item;
    return e;
}

void price_book::prefetch_slot(std::uint32_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
}

void price_book::prefetch_entry(std::uint32_t hash) const {
    if (slots_.empty()) return;
    const slot& first = slots_[hash & (slots_.size() - 1)];
    if (first.entry == 0 || first.hash != hash) return;
    // An entry spans two or three cache lines, and a purchase touches them all.
    const char* const bytes = reinterpret_cast<const char*>(&entries_[first.entry - 1]);
    for (std::size_t at = 0; at < sizeof(price_book_entry); at += 64)
        __builtin_prefetch(bytes + at);
    __builtin_prefetch(bytes + sizeof(price_book_entry) - 1);
}

void price_book::add(const shuushi_line& line, std::uint16_t year, std::uint16_t month) {
    if (line.expense <= 0) return;
    bool is_new = false;
    price_book_entry& e = entry_for(line.item, item_hash(line.item), is_new);
    count_purchase(e, is_new, line, year, month);
}

void price_book::count_purchase(price_book_entry& e, bool is_new, const shuushi_line& line,
                                std::uint16_t year, std::uint16_t month) {
    const purchase_time when{year, month, line.day, lines_seen_++};
    if (is_new) {
        e.count = 1;
        e.kind = line.kind;
        e.lowest = e.latest = line.expense;
        e.lowest_shop = e.latest_shop = line.shop;
        e.lowest_time = e.latest_time = when;
        return;
    }
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

// Counts the purchases of a walk month by month. A book of many items spends
// most of its time waiting for its table and entries to come from memory, so
// the month's purchases are first picked out and hashed, then counted in their
// order with the slot of a purchase a few places ahead asked for early, and
// (once that slot is at hand) the entry it names.
class price_book_feed {
  public:
    price_book_feed(price_book& book, const period_query& query) : book_(book), query_(query) {
        picked_.reserve(max_lines);
    }

    void take_month(const shuushi_data& table, std::uint16_t year, std::uint16_t month) {
        picked_.clear();
        for (const shuushi_line& line : walked_lines(table)) {
            if (line.expense <= 0) continue;
            if (!query_.every_item && line.item.view() != query_.item_name.view()) continue;
            picked_.push_back({&line, item_hash(line.item)});
        }
        const std::size_t count = picked_.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (i + slot_ahead < count) book_.prefetch_slot(picked_[i + slot_ahead].hash);
            if (i + entry_ahead < count) book_.prefetch_entry(picked_[i + entry_ahead].hash);
            const pick& p = picked_[i];
            bool is_new = false;
            price_book_entry& e = book_.entry_for(p.line->item, p.hash, is_new);
            book_.count_purchase(e, is_new, *p.line, year, month);
        }
    }

  private:
    static constexpr std::size_t slot_ahead = 32;
    static constexpr std::size_t entry_ahead = 16;
    struct pick {
        const shuushi_line* line = nullptr;
        std::uint32_t hash = 0;
    };

    price_book& book_;
    const period_query& query_;
    std::vector<pick> picked_;
};

std::optional<price_book> gather_price_book(period_query query, std::string_view program_dir,
                                            notifier& notify, month_source& source) {
    query.every_item = query.item_name.empty();
    price_book book;
    price_book_feed feed(book, query);
    const walk_outcome outcome = month_walk_by_month(
        query, program_dir, notify,
        [&](const shuushi_data& table, std::uint16_t year, std::uint16_t month) {
            feed.take_month(table, year, month);
            return walk_answer::go_on;
        },
        source);
    if (outcome == walk_outcome::stopped_by_user) return std::nullopt;
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
