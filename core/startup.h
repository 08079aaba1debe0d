#pragma once
// What the main window reads from the program's directory when it starts.

#include "lists.h"
#include "settings.h"

#include <string_view>

namespace kozenica {

struct startup_files {
    window_settings settings;
    kind_list kinds;     // sorted by number
    corresp_list corresp; // in file order
    bool kind_list_missing = false;
};

// Reads "kozenic.int", "kindlist.dat" and "corresp.dat" from program_dir
// (ending in its separator). Never throws: a file that cannot be read counts
// as missing or short. Column widths come within 1 and 4096 pixels.
[[nodiscard]] startup_files read_startup_files(std::string_view program_dir);

} // namespace kozenica
