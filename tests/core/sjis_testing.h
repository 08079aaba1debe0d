#pragma once
// Test helpers: Shift-JIS bytes from readable UTF-8, and bytes from hex.

#include <cerrno>
#include <iconv.h>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kozenica::testing {

// Code page 932 bytes of a UTF-8 text, through the C library's converter.
inline std::string sjis(std::string_view utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 converter");
    std::string in(utf8), out(utf8.size() * 2 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    std::size_t src_left = in.size(), dst_left = out.size();
    const std::size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1)) throw std::runtime_error("text has no Shift-JIS form");
    out.resize(out.size() - dst_left);
    return out;
}

// Bytes from hex digits; blanks between them are ignored ("6b 6f 7a").
inline std::string hex_bytes(std::string_view hex) {
    std::string out;
    int high = -1;
    for (const char c : hex) {
        int v;
        if (c >= '0' && c <= '9') v = c - '0';
        else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        else continue;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<char>(high * 16 + v));
            high = -1;
        }
    }
    return out;
}

} // namespace kozenica::testing
