#pragma once
// The settings block: 22 window sizes and column widths, kept in "kozenic.int"
// as 88 bytes of signed 32-bit little-endian integers.

#include "atomic_file.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kozenica {

constexpr int settings_count = 22;
constexpr std::size_t settings_file_bytes = settings_count * 4;

struct window_settings {
    std::array<std::int32_t, settings_count> values{};
    std::int32_t& operator[](int i) { return values.at(static_cast<std::size_t>(i)); }
    std::int32_t operator[](int i) const { return values.at(static_cast<std::size_t>(i)); }
    friend bool operator==(const window_settings&, const window_settings&) = default;
};

// Named entries of the block.
namespace setting {
constexpr int ledger_column0 = 0; // 0 to 7: ledger grid column widths
constexpr int main_top = 8, main_left = 9, main_width = 10, main_height = 11;
constexpr int list_column0 = 12, list_column1 = 13, list_width = 14, list_height = 15;
constexpr int summary_column0 = 16; // 16 to 19: summary grid column widths
constexpr int graph_width = 20, graph_height = 21;
} // namespace setting

void set_initial_data(window_settings& settings);

// The settings as read from the file: the defaults when the file is missing,
// cannot be opened, or holds fewer than 88 bytes; bytes after the 88th are
// ignored. Never throws.
[[nodiscard]] window_settings read_settings_file(std::string_view path);

[[nodiscard]] std::string encode_settings(const window_settings& settings);

// Replaces the settings file atomically. disk_full on a short write; other I/O
// failures throw std::system_error.
[[nodiscard]] save_result write_settings_file(std::string_view path, const window_settings& settings,
                                              file_io& io = system_file_io());

} // namespace kozenica
