#pragma once
// The ledger table of the month in hand and the small state beside it.

#include "sjis_text.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kozenica {

constexpr int max_rows = 2000;  // grid rows including the header row 0
constexpr int max_lines = 1999; // ledger lines 1 to max_rows - 1
constexpr std::size_t text_bytes = 20;
constexpr std::size_t name_bytes = 80;

using line_text = sjis_text<text_bytes>;

struct shuushi_line {
    std::int8_t day = 0; // 1 to 31; 0 means no day
    line_text shop;
    line_text item;
    std::int32_t kind = 0;
    std::int32_t income = 0;
    std::int32_t expense = 0;
    line_text memo;

    friend bool operator==(const shuushi_line&, const shuushi_line&) = default;
};

// Slots are numbered 1 to 2000 (slot 0 is never used) so that slot r is grid
// row r. The month holds lines 1 to row_count - 1.
struct shuushi_data {
    std::array<shuushi_line, max_rows + 1> lines{};
    std::int32_t row_count = 2;

    [[nodiscard]] int line_count() const { return row_count - 1; }
};

// A file's path as the file system's bytes. Paths are kept whole however deep
// the folder: a cut path names another file (January saved as "2024_1" over
// December's), so only the name shown in the caption has a limit.
class file_path {
  public:
    file_path() = default;
    explicit file_path(std::string_view bytes) : bytes_(bytes) {}
    void assign(std::string_view bytes) { bytes_.assign(bytes); }
    void clear() { bytes_.clear(); }
    [[nodiscard]] std::string_view view() const { return bytes_; }
    [[nodiscard]] const std::string& str() const { return bytes_; }
    [[nodiscard]] bool empty() const { return bytes_.empty(); }

    friend bool operator==(const file_path&, const file_path&) = default;

  private:
    std::string bytes_;
};

struct month_state {
    file_path open_path;
    sjis_text<name_bytes> open_name;
    std::uint16_t open_year = 0;
    std::uint16_t open_month = 0;
    bool changed_flag = false;
};

// Resets the table to a new month (one carried-forward line) and forgets the
// month's file. The caller empties the balance box and redraws the grid.
void init_data(shuushi_data& data, month_state& state);

// The carried-forward line that opens every new month.
shuushi_line carried_forward_line();

} // namespace kozenica
