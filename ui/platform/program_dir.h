#pragma once

#include <string>

namespace kozenica {

// The directory of the running executable, ending in its separator, as the
// bytes the file system uses. Every file of the program lies there.
[[nodiscard]] std::string program_directory();

} // namespace kozenica
