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
#include <compare>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
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

// 128 bytes on a cache-line boundary: the item and every number a purchase
// compares or counts share the first line, the two shops the second.
struct alignas(64) price_book_entry {
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
    // Entries live in blocks of this many that never move: a book grows
    // without copying what it holds, and touches each page of its memory once.
    static constexpr std::size_t block_entries = 256;
    using entry_block = std::array<price_book_entry, block_entries>;

  public:
    // The entries in the order in which the items were first met.
    class entry_range {
      public:
        class iterator {
          public:
            using iterator_category = std::random_access_iterator_tag;
            using value_type = price_book_entry;
            using difference_type = std::ptrdiff_t;
            using pointer = const price_book_entry*;
            using reference = const price_book_entry&;

            iterator() = default;
            iterator(const price_book* book, std::size_t at) : book_(book), at_(at) {}
            reference operator*() const { return book_->entry(at_); }
            pointer operator->() const { return &book_->entry(at_); }
            reference operator[](difference_type n) const { return book_->entry(at_ + n); }
            iterator& operator++() { return ++at_, *this; }
            iterator operator++(int) { return {book_, at_++}; }
            iterator& operator--() { return --at_, *this; }
            iterator operator--(int) { return {book_, at_--}; }
            iterator& operator+=(difference_type n) { return at_ += n, *this; }
            iterator& operator-=(difference_type n) { return at_ -= n, *this; }
            friend iterator operator+(iterator i, difference_type n) { return i += n; }
            friend iterator operator+(difference_type n, iterator i) { return i += n; }
            friend iterator operator-(iterator i, difference_type n) { return i -= n; }
            friend difference_type operator-(const iterator& a, const iterator& b) {
                return static_cast<difference_type>(a.at_) - static_cast<difference_type>(b.at_);
            }
            friend bool operator==(const iterator& a, const iterator& b) { return a.at_ == b.at_; }
            friend auto operator<=>(const iterator& a, const iterator& b) { return a.at_ <=> b.at_; }

          private:
            const price_book* book_ = nullptr;
            std::size_t at_ = 0;
        };

        explicit entry_range(const price_book& book) : book_(book) {}
        [[nodiscard]] iterator begin() const { return {&book_, 0}; }
        [[nodiscard]] iterator end() const { return {&book_, book_.size()}; }
        [[nodiscard]] std::size_t size() const { return book_.size(); }
        [[nodiscard]] bool empty() const { return book_.empty(); }
        [[nodiscard]] const price_book_entry& operator[](std::size_t i) const { return book_.entry(i); }
        [[nodiscard]] const price_book_entry& at(std::size_t i) const;
        [[nodiscard]] const price_book_entry& front() const { return book_.entry(0); }
        // A copy of every entry, for a table that keeps and sorts its rows.
        [[nodiscard]] std::vector<price_book_entry> to_vector() const { return {begin(), end()}; }

      private:
        const price_book& book_;
    };

    // Counts a line of the walk; lines without an expense above 0 are no
    // purchase and leave the book as it is.
    void add(const shuushi_line& line, std::uint16_t year, std::uint16_t month);

    [[nodiscard]] entry_range entries() const { return entry_range(*this); }
    [[nodiscard]] bool empty() const { return size_ == 0; }
    [[nodiscard]] std::size_t size() const { return size_; }

  private:
    friend class price_book_feed;

    // The item's text as three words with the bytes past its size cleared and
    // the size in the last word, so that equal texts are equal words whatever
    // lies behind them in their fields.
    struct item_key {
        std::uint64_t w0 = 0, w1 = 0, w2 = 0;
    };
    static item_key key_of(const line_text& item);
    static std::uint32_t hash_of(const item_key& key);

    // The index and the blocks as they stand, for a loop to hold in
    // registers: entries hold byte fields, and the compiler must take a write
    // of bytes to change any member, which it would then read again.
    struct index_view {
        const std::uint32_t* table;
        std::uint32_t mask;
        const std::unique_ptr<entry_block>* blocks;
        [[nodiscard]] price_book_entry& entry(std::size_t i) const {
            return (*blocks[i / block_entries])[i % block_entries];
        }
    };
    [[nodiscard]] index_view view() const {
        return {slots_.data(), static_cast<std::uint32_t>(slots_.size() - 1), blocks_.data()};
    }

    // The entry of an item already in the book, else null; the slot where
    // the search ended is left in `at` for a new entry.
    static price_book_entry* find(const index_view& v, const item_key& key, std::uint32_t hash,
                                  std::uint32_t& at);
    // A new entry for an item met the first time, its first purchase
    // counted; the slot is the one find left.
    void add_new(const shuushi_line& line, std::uint32_t hash, std::uint32_t at, const purchase_time& time);
    // Counts another purchase of an entry's item. when: the purchase's year,
    // month and day packed so that a later date is a larger number.
    static void count_again(price_book_entry& e, const shuushi_line& line, const purchase_time& time,
                            std::uint64_t when);
    void grow_index();
    // Ask the processor to fetch, ahead of use, the slot of a hash and (once
    // the slot is at hand) the entry it names.
    static void prefetch_slot(const index_view& v, std::uint32_t hash);
    static void prefetch_entry(const index_view& v, std::uint32_t hash);

    [[nodiscard]] const price_book_entry& entry(std::size_t i) const {
        return (*blocks_[i / block_entries])[i % block_entries];
    }
    [[nodiscard]] price_book_entry& entry(std::size_t i) {
        return (*blocks_[i / block_entries])[i % block_entries];
    }

    std::vector<std::unique_ptr<entry_block>> blocks_;
    std::size_t size_ = 0;
    // An open-addressing table of entry numbers + 1 (0 for a free slot), its
    // size a power of two kept at least twice the number of entries. Four
    // bytes a slot keep the table small enough to stay in the cache; a slot
    // found is checked against the entry's item, which the count reads anyway.
    std::vector<std::uint32_t> slots_;
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
