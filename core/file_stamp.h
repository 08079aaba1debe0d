#pragma once
// What the program knows of a month file on disk at the moment it read or
// wrote it, so that a later save can tell whether another program (a second
// copy of this one, a sync tool) changed or replaced the file meanwhile, and
// a new or open command whether the month in hand holds anything its file
// does not.

#include "ledger.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kozenica {

struct file_stamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t mtime_ns = 0;
    // A file rewritten in place with its old modification time put back
    // still shows a new change time.
    std::int64_t ctime_ns = 0;

    friend bool operator==(const file_stamp&, const file_stamp&) = default;
};

// Equal bytes give equal hashes; different bytes give different ones but
// for a chance far below any a household meets.
using bytes_hash = std::uint64_t;
[[nodiscard]] bytes_hash hash_of(std::string_view bytes);

// The hash of the whole file at the path; nothing when no file can be read
// there.
[[nodiscard]] std::optional<bytes_hash> hash_of_file(const std::string& path);

// The hash of the month as a file of the path's format would hold it.
[[nodiscard]] bytes_hash month_hash(const shuushi_data& table, std::string_view path);

// What the program last saw of the month's own file: its stamp and bytes
// when it was read or written, the month as it stood then, and whether the
// file held lines beyond what a month can take.
struct month_file_seen {
    file_stamp stamp;
    std::optional<bytes_hash> file_bytes; // nothing: there was no file
    bytes_hash month = 0;
    bool lines_left_out = false;
};

// What is seen of a new month, or of a month just read: the file's stamp
// and bytes as they are now, and the month as the table holds it.
[[nodiscard]] month_file_seen seen_now(const shuushi_data& table, const std::string& path);

// True when the file is no longer what the program last read or wrote there.
// A file only touched, or written again with the same bytes (a backup or sync
// tool), has not changed.
[[nodiscard]] bool file_changed_since(const std::string& path, const month_file_seen& seen);

// True when the month holds anything that was not in its file when it was
// last read or written (for a new month: anything beyond its carried-forward
// line). Cells that were only shown are no change.
[[nodiscard]] bool month_changed_since(const shuushi_data& table, std::string_view path,
                                       const month_file_seen& seen);

// The stamp of the file at the path, following a symbolic link to the file it
// names; a path where nothing can be found gives the stamp of no file.
[[nodiscard]] file_stamp stamp_of(const std::string& path);

// True when the path names a regular file (through a link too): a file whose
// content a save would replace.
[[nodiscard]] bool regular_file_at(const std::string& path);

} // namespace kozenica
