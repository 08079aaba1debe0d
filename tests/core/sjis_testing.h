#pragma once
// Test helpers: Shift-JIS bytes from readable UTF-8, and bytes from hex.

#include <iconv.h>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kozenica::testing {

// Code page 932 bytes of a UTF-8 text, through the C library's converter.
inline std::string sjis(std::string_view utf8) {
    const iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string in(utf8), out(utf8.size() * 2 + 4, '\0');
    char *src = in.data(), *dst = out.data();
    std::size_t src_left = in.size(), dst_left = out.size();
    if (cd == iconv_t(-1) || iconv(cd, &src, &src_left, &dst, &dst_left) == std::size_t(-1))
        throw std::runtime_error("no Shift-JIS form");
    return iconv_close(cd), out.substr(0, out.size() - dst_left);
}

// Bytes from hex digit pairs; spaces between pairs are ignored ("6b 6f 7a").
inline std::string hex_bytes(std::string_view hex) {
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += hex[i] == ' ' ? 1 : 2)
        if (hex[i] != ' ') out.push_back(char(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return out;
}

} // namespace kozenica::testing
