#pragma once
// Test helpers: Shift-JIS bytes from readable UTF-8, and bytes from hex.

#include <cctype>
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
    char *src = in.data(), *dst = out.data();
    std::size_t src_left = in.size(), dst_left = out.size();
    const std::size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1)) throw std::runtime_error("text has no Shift-JIS form");
    out.resize(out.size() - dst_left);
    return out;
}

// Bytes from hex digits; anything else between them is ignored ("6b 6f 7a").
inline std::string hex_bytes(std::string_view hex) {
    std::string out, digits;
    for (const char c : hex)
        if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return out;
}

} // namespace kozenica::testing
