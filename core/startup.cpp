#include "startup.h"

#include "file_exists.h"
#include "window_limits.h"

#include <string>

namespace kozenica {

startup_files read_startup_files(std::string_view program_dir) {
    const std::string dir(program_dir);
    startup_files files;
    set_initial_data(files.settings);
    if (const std::string path = dir + "kozenic.int"; file_exists(path))
        files.settings = read_settings_file(path);
    // A damaged or hand-edited file must not leave a grid without columns.
    keep_column_widths_usable(files.settings);

    if (const std::string path = dir + "kindlist.dat"; file_exists(path))
        files.kinds = read_list_file(path);
    else
        files.kind_list_missing = true;
    sort_kind_list(files.kinds);

    if (const std::string path = dir + "corresp.dat"; file_exists(path)) files.corresp = read_list_file(path);
    return files;
}

} // namespace kozenica
