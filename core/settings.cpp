#include "settings.h"

#include "ledger.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace kozenica {

namespace {

constexpr std::array<std::int32_t, settings_count> defaults = {
    10,  80,  110, 120, 30, 80, 80, 120, // ledger grid columns 0 to 7
    0,   0,   635, 450,                  // main window top, left, width, height
    40,  80,  160, 300,                  // kind list window columns, width, height
    40,  70,  50,  50,                   // summary grid columns
    400, 400,                            // graph window width, height
};

std::int32_t read_le32(const unsigned char* p) {
    return static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                     std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
}

// Reads up to n bytes; fewer only at the end of the file or on an error.
std::size_t read_up_to(int fd, unsigned char* buffer, std::size_t n) {
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd, buffer + got, n - got);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += std::size_t(r);
    }
    return got;
}

} // namespace

void set_initial_data(window_settings& settings) {
    settings.values = defaults;
}

window_settings read_settings_file(std::string_view path) {
    window_settings settings;
    set_initial_data(settings);
    const std::string p(path);
    // O_NONBLOCK: a pipe in the file's place gives the defaults instead of a
    // start-up that waits for ever.
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return settings;
    unsigned char buffer[settings_file_bytes];
    const std::size_t got = read_up_to(fd, buffer, sizeof buffer);
    ::close(fd);
    if (got < settings_file_bytes) return settings;
    for (int i = 0; i < settings_count; ++i)
        settings[i] = read_le32(buffer + 4 * i);
    return settings;
}

std::string encode_settings(const window_settings& settings) {
    std::string out;
    out.reserve(settings_file_bytes);
    for (const std::int32_t v : settings.values) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(static_cast<char>((u >> shift) & 0xFFu));
    }
    return out;
}

save_result write_settings_file(std::string_view path, const window_settings& settings, file_io& io) {
    return replace_file(std::string(path), encode_settings(settings), io);
}

} // namespace kozenica
