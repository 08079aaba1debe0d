#pragma once
// What the main window reads from the program's directory when it starts.

#include "lists.h"
#include "settings.h"

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace kozenica {

struct startup_files {
    window_settings settings;
    kind_list kinds;      // sorted by number
    corresp_list corresp; // in file order
    bool kind_list_missing = false;
    // Shift-JIS texts to show as warnings, one for each list file whose text
    // could not be read as it was meant.
    std::vector<std::string> warnings;
};

// Reads "kozenic.int", "kindlist.dat" and "corresp.dat" from program_dir
// (ending in its separator). Never throws: a file that cannot be read counts
// as missing or short. Column widths come within 1 and 4096 pixels.
[[nodiscard]] startup_files read_startup_files(std::string_view program_dir);

// Removes the temporary files of saves cut short by a killed program, a day
// old or older (remove_stale_temporaries): in program_dir and in each folder
// that a month or settings link of program_dir leads a save to. The number of
// files removed.
int remove_stale_save_temporaries(std::string_view program_dir, std::time_t now);

} // namespace kozenica
