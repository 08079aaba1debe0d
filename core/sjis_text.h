#pragma once
// Shift-JIS text with a fixed capacity in bytes. Every text of the ledger, the
// lists and the month state is one of these: longer input is cut at the byte,
// even inside a double-byte character, exactly as the month files expect.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kozenica {

// The first byte of a double-byte character in code page 932.
constexpr bool is_sjis_lead_byte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// A byte that may follow a lead byte.
constexpr bool is_sjis_trail_byte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The byte count comes first and takes one byte, so a text of 20 bytes is laid
// out in memory exactly as a text field of a KZN record: length, then bytes.
template <std::size_t N> class sjis_text {
    static_assert(N <= 255, "the byte count is kept in one byte");

  public:
    static constexpr std::size_t capacity = N;

    sjis_text() = default;
    explicit sjis_text(std::string_view bytes) { assign(bytes); }

    void assign(std::string_view bytes) {
        size_ = static_cast<std::uint8_t>(std::min(bytes.size(), N));
        std::copy_n(bytes.data(), size_, bytes_.data());
    }
    // Takes the first n bytes (at most N) of a block that has at least N
    // readable bytes. Copying the whole block at once, whatever n is, keeps
    // reading a month file close to the speed of reading its bytes.
    void assign_block(const char* block, std::size_t n) {
        std::memcpy(bytes_.data(), block, N);
        size_ = static_cast<std::uint8_t>(std::min(n, N));
    }
    // After the text's bytes were filled in from a file as they lie there: a
    // byte count above the capacity counts as the capacity, so the text never
    // reaches past its field.
    void repair_size() {
        if (size_ > N) size_ = static_cast<std::uint8_t>(N);
    }
    void clear() { size_ = 0; }

    [[nodiscard]] std::string_view view() const { return {bytes_.data(), size_}; }
    [[nodiscard]] std::string str() const { return std::string(view()); }
    [[nodiscard]] std::size_t size() const { return size_; }
    [[nodiscard]] bool empty() const { return size_ == 0; }

    friend bool operator==(const sjis_text& a, const sjis_text& b) { return a.view() == b.view(); }
    friend bool operator==(const sjis_text& a, std::string_view b) { return a.view() == b; }

  private:
    std::uint8_t size_ = 0;
    std::array<char, N> bytes_{};
};

// The first n bytes of a text (all of it when shorter).
inline std::string_view cut_bytes(std::string_view text, std::size_t n) {
    return text.substr(0, n);
}

} // namespace kozenica
