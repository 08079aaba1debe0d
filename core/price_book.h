#pragma once
// The price book: for every item bought over a range of months, the lowest
// price paid (where and when), the latest price paid (where and when), how
// often it was bought and how far the latest price lies above the lowest.
// One entry per distinct item text, so memory follows the number of items,
// never the number of lines walked.

#include "ledger.h"
#include "lists.h"
#include "month_walk.h"

#include <array>
#include <boost/unordered/unordered_flat_set.hpp>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kozenica {

// When a purchase was made: the walk's year and month, the line's day, and
// the line's place in the walk, which settles purchases of the same day.
struct purchase_time {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::int8_t day = 0;
    std::uint32_t order = 0;
    friend auto operator<=>(const purchase_time&, const purchase_time&) = default;
};

struct price_book_entry {
    line_text item;
    std::int32_t kind = 0; // of the latest purchase
    std::int32_t count = 0;
    std::int32_t lowest = 0;
    std::int32_t latest = 0;
    purchase_time latest_time;
    purchase_time lowest_time;
    line_text latest_shop;
    line_text lowest_shop;
};

class price_book {
  public:
    // The entries in the order in which the items were first met.
    class entry_range : public std::span<const price_book_entry> {
      public:
        using span::span;
        [[nodiscard]] const price_book_entry& at(std::size_t i) const;
        // A copy of every entry, for a table that keeps and sorts its rows.
        [[nodiscard]] std::vector<price_book_entry> to_vector() const { return {begin(), end()}; }
    };

    // Counts a line of the walk; lines without an expense above 0 are no
    // purchase and leave the book as it is.
    void add(const shuushi_line& line, std::uint16_t year, std::uint16_t month);

    [[nodiscard]] entry_range entries() const { return entries_; }
    [[nodiscard]] bool empty() const { return entries_.empty(); }
    [[nodiscard]] std::size_t size() const { return entries_.size(); }

  private:
    // An item's entry in entries_, and the item's hash. Eight bytes an item
    // keep the index in the cache; finding an item reads only its entry, which
    // the count updates anyway.
    struct place {
        std::uint32_t entry;
        std::uint32_t hash;
    };
    // An item looked for, beside the entries its places point into.
    struct item_probe {
        std::string_view item;
        std::uint32_t hash;
        const std::vector<price_book_entry>& entries;
    };
    struct place_hash {
        using is_transparent = void;
        std::size_t operator()(const place& p) const { return p.hash; }
        std::size_t operator()(const item_probe& p) const { return p.hash; }
    };
    struct place_equal {
        using is_transparent = void;
        bool operator()(const place& a, const place& b) const { return a.entry == b.entry; }
        bool operator()(const item_probe& p, const place& a) const {
            return p.entries[a.entry].item == p.item;
        }
        bool operator()(const place& a, const item_probe& p) const { return (*this)(p, a); }
    };

    std::vector<price_book_entry> entries_; // in the order the items were first met
    boost::unordered_flat_set<place, place_hash, place_equal> places_;
    std::uint32_t lines_seen_ = 0;
};

// Walks the range of a checked query through the same month walk as the
// period commands (with their missing- and damaged-month messages and their
// stop): an empty item name takes every item, any other name that item alone.
// Nothing when the user stopped the walk.
[[nodiscard]] std::optional<price_book> gather_price_book(period_query query, std::string_view program_dir,
                                                          notifier& notify,
                                                          month_source& source = system_month_source());

constexpr int price_book_columns = 10;

enum class book_column {
    item,
    kind,
    count,
    lowest,
    lowest_shop,
    lowest_date,
    latest,
    latest_shop,
    latest_date,
    rise
};

// How far the latest price lies above the lowest, in tenths of a percent,
// rounded half up.
[[nodiscard]] std::int64_t rise_tenths(const price_book_entry& entry);

// The name of a kind in the kind list, else its number (empty unless above 0).
[[nodiscard]] std::string kind_text(std::int32_t kind, const kind_list& kinds);

// The cells of one row as Shift-JIS texts, in the order of book_column:
// amounts in the "0," format, dates as the period commands write them, the
// rise with one decimal.
using price_book_cells = std::array<std::string, price_book_columns>;
[[nodiscard]] price_book_cells price_book_row(const price_book_entry& entry, const kind_list& kinds);

// The rows in the order a click on a column's header asks for: numbers and
// dates by value, texts (the kind as kind_text shows it) by their Shift-JIS
// bytes; rows equal in that column follow their item bytes.
[[nodiscard]] std::vector<std::size_t> price_book_order(const std::vector<price_book_entry>& entries,
                                                        const kind_list& kinds, book_column column,
                                                        bool ascending);

} // namespace kozenica
