#include "startup.h"

#include "atomic_file.h"
#include "file_exists.h"
#include "texts.h"
#include "window_limits.h"

#include <dirent.h>
#include <memory>
#include <set>
#include <string>
#include <sys/stat.h>
#include <system_error>

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

// The names a save writes through: the settings file and the month files.
bool saved_name(std::string_view name) {
    return name == "kozenic.int" || name.ends_with(".kzn") || name.ends_with(".csv");
}

// The folders that the program's own links lead its saves to, each once.
std::set<std::string> link_target_folders(const std::string& dir) {
    std::set<std::string> folders;
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(dir.empty() ? "." : dir.c_str()), ::closedir);
    if (!folder) return folders;
    while (const dirent* entry = ::readdir(folder.get())) {
        struct stat st {};
        const std::string path = dir + entry->d_name;
        if (!saved_name(entry->d_name) || ::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) continue;
        try {
            const std::string target = link_target(path);
            folders.insert(target.substr(0, target.rfind('/') + 1));
        } catch (const std::system_error&) {
            // a link no save would follow
        }
    }
    return folders;
}

} // namespace

int remove_stale_save_temporaries(std::string_view program_dir, std::time_t now) {
    const std::string dir(program_dir);
    int removed = remove_stale_temporaries(dir, now);
    for (const std::string& folder : link_target_folders(dir))
        if (folder != dir) removed += remove_stale_temporaries(folder, now);
    return removed;
}

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
