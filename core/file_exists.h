#pragma once

#include <string_view>

namespace kozenica {

// True when the file at the path is a regular file that can be opened for
// reading and closed again. A read-only file exists (saving over it is what
// fails); a missing, unreadable or unreachable file, a folder, a pipe or a
// device gives false, and only a regular file is ever opened.
[[nodiscard]] bool file_exists(std::string_view path);

// True when the path, its links followed, names a folder, a pipe, a socket or
// a device: something is there, but no month file.
[[nodiscard]] bool other_than_a_file_at(std::string_view path);

} // namespace kozenica
