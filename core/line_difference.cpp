#include "line_difference.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

namespace kozenica {

namespace {

using lines = std::span<const int>;

// A run of equal lines: from[x + i] == to[y + i] for i below length.
struct kept_run {
    std::size_t x, y, length;
};

// A diagonal run of the shortest edit path, from (x0, y0) to (x1, y1).
struct snake {
    std::size_t x0, y0, x1, y1;
};

// The furthest reaching paths of both directions, reused by every call.
struct frontiers {
    std::vector<std::ptrdiff_t> forward, backward;
};

// The middle snake of Myers' linear-space algorithm: the diagonal run in the
// middle of a shortest edit path, found by searching from both ends at once.
// Both months are non-empty and differ in their first and their last line.
snake middle_snake(lines a, lines b, frontiers& f) {
    const auto n = std::ptrdiff_t(a.size()), m = std::ptrdiff_t(b.size());
    const std::ptrdiff_t delta = n - m;
    const bool odd = delta % 2 != 0;
    const std::ptrdiff_t most = (n + m + 1) / 2;
    const std::ptrdiff_t at = most + 1; // index of diagonal 0
    f.forward.assign(std::size_t(2 * most + 3), 0);
    f.backward.assign(std::size_t(2 * most + 3), 0);
    // Diagonal k holds the points with x - y == k; v[at + k] the furthest x.
    const auto step = [&](std::vector<std::ptrdiff_t>& v, std::ptrdiff_t d, std::ptrdiff_t k) {
        const bool down = k == -d || (k != d && v[std::size_t(at + k - 1)] < v[std::size_t(at + k + 1)]);
        return down ? v[std::size_t(at + k + 1)] : v[std::size_t(at + k - 1)] + 1;
    };
    for (std::ptrdiff_t d = 0; d <= most; ++d) {
        for (std::ptrdiff_t k = -d; k <= d; k += 2) {
            std::ptrdiff_t x = step(f.forward, d, k), y = x - k;
            const std::ptrdiff_t x0 = x, y0 = y;
            while (x < n && y < m && a[std::size_t(x)] == b[std::size_t(y)])
                ++x, ++y;
            f.forward[std::size_t(at + k)] = x;
            const std::ptrdiff_t back = delta - k;
            if (odd && back >= -(d - 1) && back <= d - 1 && x + f.backward[std::size_t(at + back)] >= n)
                return {std::size_t(x0), std::size_t(y0), std::size_t(x), std::size_t(y)};
        }
        // The backward search walks both months from their ends.
        for (std::ptrdiff_t k = -d; k <= d; k += 2) {
            std::ptrdiff_t x = step(f.backward, d, k), y = x - k;
            const std::ptrdiff_t x0 = x, y0 = y;
            while (x < n && y < m && a[std::size_t(n - 1 - x)] == b[std::size_t(m - 1 - y)])
                ++x, ++y;
            f.backward[std::size_t(at + k)] = x;
            const std::ptrdiff_t ahead = delta - k;
            if (!odd && ahead >= -d && ahead <= d && f.forward[std::size_t(at + ahead)] + x >= n)
                return {std::size_t(n - x), std::size_t(m - y), std::size_t(n - x0), std::size_t(m - y0)};
        }
    }
    return {0, 0, 0, 0}; // not reached: the two searches always meet
}

// Appends the kept runs of a shortest edit path from a to b, in order; x and
// y are where a and b start in the whole months.
void collect_kept(lines a, lines b, std::size_t x, std::size_t y, frontiers& f, std::vector<kept_run>& kept) {
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        ++head;
    if (head > 0) kept.push_back({x, y, head});
    a = a.subspan(head), b = b.subspan(head), x += head, y += head;
    std::size_t tail = 0;
    while (tail < a.size() && tail < b.size() && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    a = a.first(a.size() - tail), b = b.first(b.size() - tail);
    if (!a.empty() && !b.empty()) {
        const snake s = middle_snake(a, b, f);
        collect_kept(a.first(s.x0), b.first(s.y0), x, y, f, kept);
        if (s.x1 > s.x0) kept.push_back({x + s.x0, y + s.y0, s.x1 - s.x0});
        collect_kept(a.subspan(s.x1), b.subspan(s.y1), x + s.x1, y + s.y1, f, kept);
    }
    if (tail > 0) kept.push_back({x + a.size(), y + b.size(), tail});
}

// Every field of a line, each text with its length before it, as one key.
std::string line_key(const shuushi_line& line) {
    std::string key(1, char(line.day));
    for (const line_text* text : {&line.shop, &line.item, &line.memo})
        key.append(1, char(text->view().size())).append(text->view());
    for (const std::int32_t number : {line.kind, line.income, line.expense})
        key.append(reinterpret_cast<const char*>(&number), sizeof number);
    return key;
}

// Each distinct line of the two months as one number, so that the search
// compares numbers instead of whole lines.
std::pair<std::vector<int>, std::vector<int>> numbered(std::span<const shuushi_line> from,
                                                       std::span<const shuushi_line> to) {
    std::unordered_map<std::string, int> numbers;
    const auto number_all = [&](std::span<const shuushi_line> month) {
        std::vector<int> out;
        out.reserve(month.size());
        for (const shuushi_line& line : month)
            out.push_back(numbers.try_emplace(line_key(line), int(numbers.size())).first->second);
        return out;
    };
    std::vector<int> a = number_all(from);
    return {std::move(a), number_all(to)};
}

} // namespace

line_difference count_line_difference(std::span<const shuushi_line> from_lines,
                                      std::span<const shuushi_line> to_lines) {
    const auto [from_all, to_all] = numbered(from_lines, to_lines);
    // A line that only one month holds is never kept; the search runs over the
    // others alone, which makes two months with little in common quick.
    std::vector<bool> in_from, in_to;
    for (const auto& [month, seen] : {std::pair{&from_all, &in_from}, {&to_all, &in_to}}) {
        seen->resize(from_all.size() + to_all.size());
        for (const int n : *month)
            (*seen)[std::size_t(n)] = true;
    }
    std::vector<int> from, to;
    std::vector<std::size_t> from_at, to_at; // where each searched line stands in its month
    for (std::size_t i = 0; i < from_all.size(); ++i)
        if (in_to[std::size_t(from_all[i])]) from.push_back(from_all[i]), from_at.push_back(i);
    for (std::size_t i = 0; i < to_all.size(); ++i)
        if (in_from[std::size_t(to_all[i])]) to.push_back(to_all[i]), to_at.push_back(i);
    std::vector<kept_run> kept;
    frontiers f;
    collect_kept(from, to, 0, 0, f, kept);
    line_difference d;
    // Between two kept lines, removed and added lines pair up as changed ones.
    const auto hunk = [&d](std::size_t removed_lines, std::size_t added_lines) {
        const int removed = int(removed_lines), added = int(added_lines), changed = std::min(removed, added);
        d.changed += changed;
        d.removed += removed - changed;
        d.added += added - changed;
    };
    std::size_t x = 0, y = 0;
    for (const kept_run& run : kept)
        for (std::size_t k = 0; k < run.length; ++k) {
            const std::size_t at_from = from_at[run.x + k], at_to = to_at[run.y + k];
            hunk(at_from - x, at_to - y);
            x = at_from + 1, y = at_to + 1;
        }
    hunk(from_all.size() - x, to_all.size() - y);
    return d;
}

std::span<const shuushi_line> month_lines(const shuushi_data& table) {
    const auto count = std::size_t(std::clamp(table.row_count - 1, 0, max_lines));
    return std::span<const shuushi_line>(table.lines).subspan(1, count);
}

} // namespace kozenica
