#include "price_book.h"

#include "digits.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <tuple>

namespace kozenica {

namespace {

constexpr std::size_t first_index_size = 1024;

static_assert(text_bytes == 20, "an item is read as two 8-byte words and a 4-byte one");
static_assert(sizeof(price_book_entry) == 128);

// For every item size, the masks that keep the item's bytes of each word and
// clear the rest; made from byte patterns, so they hold in either byte order.
// A table row is one load where working the masks out costs a dozen steps on
// every line.
struct word_masks {
    std::uint64_t m0, m1, m2;
};
constexpr std::array<word_masks, text_bytes + 1> make_masks() {
    std::array<word_masks, text_bytes + 1> masks{};
    for (std::size_t size = 0; size <= text_bytes; ++size) {
        std::array<unsigned char, 8> b0{}, b1{}, b2{};
        for (std::size_t i = 0; i < 8; ++i) {
            b0[i] = i < size ? 0xFF : 0;
            b1[i] = i + 8 < size ? 0xFF : 0;
            b2[i] = i < 4 && i + 16 < size ? 0xFF : 0;
        }
        masks[size] = {std::bit_cast<std::uint64_t>(b0), std::bit_cast<std::uint64_t>(b1),
                       std::bit_cast<std::uint64_t>(b2)};
    }
    return masks;
}
constexpr std::array<word_masks, text_bytes + 1> item_masks = make_masks();

// The item's 20-byte field as three words, read straight from the field (no
// copy to assemble them, which would stall every load).
struct field_words {
    std::uint64_t w0, w1, w2;
};
field_words words_of(const line_text& item) {
    const char* const bytes = item.view().data(); // the field holds 20 bytes
    field_words w{};
    std::memcpy(&w.w0, bytes, 8);
    std::memcpy(&w.w1, bytes + 8, 8);
    std::uint32_t tail = 0;
    std::memcpy(&tail, bytes + 16, 4);
    w.w2 = tail;
    return w;
}

// A purchase's year, month and day as one number that grows with the date,
// the day taken as the signed byte it is. Purchases are counted in walk
// order, so among purchases of one date the one counted later always has the
// larger place in the walk: comparing dates alone settles which is later.
std::uint64_t month_bits(std::uint16_t year, std::uint16_t month) {
    return std::uint64_t{year} << 24 | std::uint64_t{month} << 8;
}
std::uint64_t day_bits(std::int8_t day) {
    return static_cast<std::uint8_t>(day) ^ 0x80u;
}
std::uint64_t when_of(const purchase_time& t) {
    return month_bits(t.year, t.month) | day_bits(t.day);
}

} // namespace

price_book::item_key price_book::key_of(const line_text& item) {
    const field_words w = words_of(item);
    const word_masks& m = item_masks[item.size()];
    return {w.w0 & m.m0, w.w1 & m.m1, (w.w2 & m.m2) | std::uint64_t{item.size()} << 32};
}

// Each byte of the item reaches every bit of the hash: the three words are
// multiplied side by side (a multiply carries a byte's difference upwards
// only), the upper half of their mix is folded onto the lower, and one more
// multiply spreads that over the upper 32 bits, which are the hash. Four
// multiplies, three of them at once, since every line of a walk is hashed.
std::uint32_t price_book::hash_of(const item_key& key) {
    std::uint64_t h = key.w0 * 0x9E3779B97F4A7C15ULL ^ key.w1 * 0xC2B2AE3D27D4EB4FULL ^
                      key.w2 * 0x165667B19E3779F9ULL;
    h = (h ^ (h >> 32)) * 0xFF51AFD7ED558CCDULL;
    return static_cast<std::uint32_t>(h >> 32);
}

// A slot holds the entry's number + 1 in its low bits (as many as the table
// has slots, so the number never reaches them) and above them the bits of
// the item's hash that did not choose the slot: most slots of other items are
// passed over without a look at their entries.
void price_book::grow_index() {
    const std::size_t size = slots_.empty() ? first_index_size : slots_.size() * 2;
    slots_.assign(size, 0);
    const std::uint32_t mask = static_cast<std::uint32_t>(size - 1);
    for (std::size_t e = 0; e < size_; ++e) {
        const std::uint32_t hash = hash_of(key_of(entry(e).item));
        std::uint32_t at = hash & mask;
        while (slots_[at] != 0)
            at = (at + 1) & mask;
        slots_[at] = (hash & ~mask) | static_cast<std::uint32_t>(e + 1);
    }
}

// Inlined into the month's loop: a call per purchase costs more than the work.
[[gnu::always_inline]] inline price_book_entry* price_book::find(const index_view& v, const item_key& key,
                                                                 std::uint32_t hash, std::uint32_t& at) {
    for (at = hash & v.mask;; at = (at + 1) & v.mask) {
        const std::uint32_t slot = v.table[at];
        if (slot == 0) return nullptr;
        if (((slot ^ hash) & ~v.mask) != 0) continue;
        price_book_entry& e = v.entry((slot & v.mask) - 1);
        // A stored item has nothing but zeros past its size (it was assigned
        // to a new entry by its bytes), so its words need no masks.
        const field_words w = words_of(e.item);
        if (((w.w0 ^ key.w0) | (w.w1 ^ key.w1) | ((w.w2 | std::uint64_t{e.item.size()} << 32) ^ key.w2)) == 0)
            return &e;
    }
}

// Out of the counting loop: each item comes here once.
[[gnu::noinline]] void price_book::add_new(const shuushi_line& line, std::uint32_t hash, std::uint32_t at,
                                           const purchase_time& time) {
    // Twice as many slots as entries keeps the probes short, and an entry's
    // number + 1 within the slot's low bits.
    auto mask = static_cast<std::uint32_t>(slots_.size() - 1);
    if ((size_ + 1) * 2 > slots_.size()) {
        grow_index();
        mask = static_cast<std::uint32_t>(slots_.size() - 1);
        for (at = hash & mask; slots_[at] != 0; at = (at + 1) & mask) {
        }
    }
    slots_[at] = (hash & ~mask) | static_cast<std::uint32_t>(size_ + 1);
    if (size_ % block_entries == 0) blocks_.push_back(std::make_unique<entry_block>());
    price_book_entry& e = entry(size_++);
    e.item.assign(line.item.view());
    e.count = 1;
    e.kind = line.kind;
    e.lowest = e.latest = line.expense;
    e.lowest_shop = e.latest_shop = line.shop;
    e.lowest_time = e.latest_time = time;
}

[[gnu::always_inline]] inline void price_book::count_again(price_book_entry& e, const shuushi_line& line,
                                                           const purchase_time& time, std::uint64_t when) {
    ++e.count;
    // Among equal lowest prices the latest purchase is the one to show; this
    // one, counted last, is later than any of the same date.
    if (line.expense <= e.lowest && (line.expense < e.lowest || when >= when_of(e.lowest_time))) {
        e.lowest = line.expense;
        e.lowest_shop = line.shop;
        e.lowest_time = time;
    }
    if (when >= when_of(e.latest_time)) {
        e.latest = line.expense;
        e.latest_shop = line.shop;
        e.latest_time = time;
        e.kind = line.kind;
    }
}

[[gnu::always_inline]] inline void price_book::prefetch_slot(const index_view& v, std::uint32_t hash) {
    __builtin_prefetch(&v.table[hash & v.mask]);
}

[[gnu::always_inline]] inline void price_book::prefetch_entry(const index_view& v, std::uint32_t hash) {
    const std::uint32_t first = v.table[hash & v.mask];
    if (first == 0) return;
    // The entry of the first slot, whether or not its item is the one: a
    // fetch of the wrong entry costs less than telling it apart here. The
    // numbers lie on the entry's first cache line, the shops on its second.
    const char* const bytes = reinterpret_cast<const char*>(&v.entry((first & v.mask) - 1));
    __builtin_prefetch(bytes);
    __builtin_prefetch(bytes + 64);
}

void price_book::add(const shuushi_line& line, std::uint16_t year, std::uint16_t month) {
    if (line.expense <= 0) return;
    if (slots_.empty()) grow_index();
    const item_key key = key_of(line.item);
    const std::uint32_t hash = hash_of(key);
    const purchase_time time{year, month, line.day, lines_seen_++};
    std::uint32_t at = 0;
    if (price_book_entry* e = find(view(), key, hash, at))
        count_again(*e, line, time, month_bits(year, month) | day_bits(line.day));
    else
        add_new(line, hash, at, time);
}

// Counts the purchases of a walk month by month. A book of many items spends
// most of its time waiting for its table and entries to come from memory, so
// the month's purchases are first picked out and hashed, then counted in their
// order with the slot of a purchase a few places ahead asked for early, and
// (once that slot is at hand) the entry it names.
class price_book_feed {
  public:
    price_book_feed(price_book& book, const period_query& query)
        : book_(book), query_(query), picked_(std::make_unique<pick[]>(max_lines)) {
        if (book_.slots_.empty()) book_.grow_index();
    }

    void take_month(const shuushi_data& table, std::uint16_t year, std::uint16_t month) {
        std::size_t count = 0;
        // Each pick is written whatever the expense and kept only for a
        // purchase: no branch to mispredict on a ledger that mixes income and
        // expense.
        const auto pick_line = [&](const shuushi_line& line) {
            const price_book::item_key key = price_book::key_of(line.item);
            picked_[count] = {key, price_book::hash_of(key), &line};
            count += line.expense > 0 ? 1 : 0;
        };
        if (query_.every_item) {
            for (const shuushi_line& line : walked_lines(table))
                pick_line(line);
        } else {
            for (const shuushi_line& line : walked_lines(table))
                if (line.item.view() == query_.item_name.view()) pick_line(line);
        }
        const std::uint64_t this_month = month_bits(year, month);
        // Kept in registers through the loop and handed back at its end.
        const pick* const picks = picked_.get();
        price_book::index_view index = book_.view();
        std::uint32_t order = book_.lines_seen_;
        for (std::size_t i = 0; i < count; ++i) {
            if (i + slot_ahead < count) price_book::prefetch_slot(index, picks[i + slot_ahead].hash);
            if (i + entry_ahead < count) price_book::prefetch_entry(index, picks[i + entry_ahead].hash);
            const pick& p = picks[i];
            const shuushi_line& line = *p.line;
            const purchase_time time{year, month, line.day, order++};
            std::uint32_t at = 0;
            if (price_book_entry* e = price_book::find(index, p.key, p.hash, at)) {
                price_book::count_again(*e, line, time, this_month | day_bits(line.day));
            } else {
                book_.add_new(line, p.hash, at, time);
                index = book_.view();
            }
        }
        book_.lines_seen_ = order;
    }

  private:
    static constexpr std::size_t slot_ahead = 48;
    static constexpr std::size_t entry_ahead = 24;
    struct pick {
        price_book::item_key key;
        std::uint32_t hash = 0;
        const shuushi_line* line = nullptr;
    };

    price_book& book_;
    const period_query& query_;
    // The purchases of the month in hand: at most one per line.
    std::unique_ptr<pick[]> picked_;
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

const price_book_entry& price_book::entry_range::at(std::size_t i) const {
    if (i >= size()) throw std::out_of_range("price_book entry");
    return book_.entry(i);
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
