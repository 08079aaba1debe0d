#pragma once

#include <string_view>

namespace kozenica {

// True when the file at the path is a regular file that can be opened for
// reading and closed again. A read-only file exists (saving over it is what
// fails); a missing, unreadable or unreachable file, a folder, a pipe or a
// device gives false.
[[nodiscard]] bool file_exists(std::string_view path);

} // namespace kozenica
