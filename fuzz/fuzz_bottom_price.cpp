// The cheapest-price list over any sequence of prices: it always holds the
// ten smallest in ascending order, the later of two equal prices first.
// Input: 4 bytes per matching line, its expense.

#include "core/bottom_price.h"
#include "fuzz_support.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kozenica;
    struct found {
        std::int32_t expense;
        int order; // position in the walk
    };
    std::vector<found> all;
    bottom_price_list list;
    for (std::size_t at = 0; at + 4 <= size; at += 4) {
        std::int32_t expense;
        std::memcpy(&expense, data + at, 4);
        shuushi_line line;
        line.expense = expense;
        line.memo.assign(std::to_string(all.size())); // tells the lines apart
        list.add(line, "2000/1/1");
        all.push_back({expense, int(all.size())});
    }

    // Cheapest first; among equal prices the line found later first.
    std::stable_sort(all.begin(), all.end(), [](const found& a, const found& b) {
        return a.expense != b.expense ? a.expense < b.expense : a.order > b.order;
    });
    const int expected = std::min<int>(int(all.size()), bottom_price_slots);
    FUZZ_CHECK(list.size() == expected);
    for (int i = 0; i < expected; ++i) {
        FUZZ_CHECK(list[i].expense == all[std::size_t(i)].expense);
        FUZZ_CHECK(list[i].memo == std::to_string(all[std::size_t(i)].order));
        const auto row = bottom_price_row(list[i]);
        FUZZ_CHECK(row[0].empty());
        FUZZ_CHECK(row[6].empty() == (list[i].expense <= 0));
    }
    return 0;
}
