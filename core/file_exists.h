#pragma once

#include <string_view>

namespace kozenica {

// True when the file at the path can be opened for reading and writing and
// closed again. A missing, read-only or unreachable file gives false. The path
// is cut to 253 bytes first, as every path of the program is.
[[nodiscard]] bool file_exists(std::string_view path);

} // namespace kozenica
