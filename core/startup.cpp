#include "startup.h"

#include "file_exists.h"
#include "texts.h"
#include "window_limits.h"

#include <string>

namespace kozenica {

namespace {

// The list's entries; a text problem adds its warning, naming the file.
std::vector<list_entry> read_list(const std::string& dir, const char* name,
                                  std::vector<std::string>& warnings) {
    list_file list = read_list_file(dir + name);
    const char* problem = list.problem == list_text_problem::unknown_encoding ? texts::list_unknown_encoding
                          : list.problem == list_text_problem::unmappable_character
                              ? texts::list_unmappable_character
                              : nullptr;
    if (problem) warnings.push_back(texts::list_file_named + std::string(name) + problem);
    return std::move(list.entries);
}

} // namespace

startup_files read_startup_files(std::string_view program_dir) {
    const std::string dir(program_dir);
    startup_files files;
    set_initial_data(files.settings);
    if (const std::string path = dir + "kozenic.int"; file_exists(path))
        files.settings = read_settings_file(path);
    // A damaged or hand-edited file must not leave a grid without columns.
    keep_column_widths_usable(files.settings);

    if (file_exists(dir + "kindlist.dat"))
        files.kinds = read_list(dir, "kindlist.dat", files.warnings);
    else
        files.kind_list_missing = true;
    sort_kind_list(files.kinds);

    if (file_exists(dir + "corresp.dat")) files.corresp = read_list(dir, "corresp.dat", files.warnings);
    return files;
}

} // namespace kozenica
