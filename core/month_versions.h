#pragma once
// Earlier versions of each month file. Before a save replaces a month file,
// the bytes it replaces are kept in the folder "versions" beside it, in a
// folder of the month file's name, under the local time of the replace:
// versions/2024_5.kzn/20261207-081530.kzn. A second version within the same
// second is 20261207-081530-2.kzn. The program reads these files only to list
// them for the user and to bring one back.

#include "atomic_file.h"
#include "ledger.h"
#include "line_difference.h"

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kozenica {

// Versions a save keeps for a month: the newest 30, and every version
// younger than 14 days whatever their number.
inline constexpr int versions_kept = 30;
inline constexpr std::time_t version_days_kept = 14;

// The folder of a month's versions, ending in its separator.
[[nodiscard]] std::string versions_folder(std::string_view month_path);

// When a version was kept: the time of the replace and, for the second and
// later versions within one second, their number from 2.
struct version_time {
    std::time_t time = 0;
    int sequence = 1;
    friend auto operator<=>(const version_time&, const version_time&) = default;
};

// The name of a version of a month file with the given extension (".kzn",
// ".csv", as the month file's name ends; empty for a name without one).
[[nodiscard]] std::string version_name(const version_time& when, std::string_view extension);
// The time a version's name stands for; nothing for any other name.
[[nodiscard]] std::optional<version_time> parse_version_name(std::string_view name,
                                                             std::string_view extension);

// The version step of a month file's save, taken once the new content is
// written and synced and before it replaces the file. `target` is the file
// the month's path leads to (a link's target). When its bytes differ from
// `content`, they become a version under a name of its own, synced: the file
// itself where it has no other name and can be linked there, else a copy,
// written to a hidden file, synced and renamed. The version's path is
// returned; equal bytes keep no version (empty result). Any failure throws
// std::system_error and leaves no part of the version behind. The version's
// bytes are on the disk when it returns; its name is made to last by
// sync_version_name.
[[nodiscard]] std::string keep_month_version(file_io& io, const std::string& month_path,
                                             const std::string& target, std::string_view content,
                                             std::time_t now);

// Syncs the folder of a version kept by keep_month_version, right after the
// month file's rename and before the sync of the month's own folder. On a
// journaling file system the version's name goes into the journal before the
// month's new name, so this one commit carries both, and a save that keeps a
// version waits for the disk no more often than one without.
void sync_version_name(file_io& io, const std::string& version_path);

// After a save of the month: removes its versions beyond the newest 30 that
// are 14 days old or older, oldest first. Only files named as this month's
// versions are ever removed; a folder or file that cannot be read or removed
// is left alone. The number removed.
int prune_month_versions(file_io& io, const std::string& month_path, std::time_t now);

// One entry of a month's versions folder, as the versions window lists it.
struct month_version {
    std::string path;
    std::string name;
    std::optional<version_time> when; // nothing for a file not named as a version
    bool readable = false;            // a version whose lines could be read
    std::unique_ptr<shuushi_data> table;
    std::int64_t income = 0;
    std::int64_t expense = 0;
    line_difference difference; // from the version to the month in hand
};

// Every file in the month's versions folder, newest version first, then the
// files named otherwise by name. A version that is damaged or not a regular
// file is listed unreadable and never read into a table; so is every file
// not named as a version of this month.
[[nodiscard]] std::vector<month_version> list_month_versions(const std::string& month_path,
                                                             const shuushi_data& in_hand);

} // namespace kozenica
