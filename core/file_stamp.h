#pragma once
// What the program knows of a month file on disk at the moment it read or
// wrote it, so that a later save can tell whether another program (a second
// copy of this one, a sync tool) changed or replaced the file meanwhile.

#include <cstdint>
#include <string>

namespace kozenica {

struct file_stamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t mtime_ns = 0;

    friend bool operator==(const file_stamp&, const file_stamp&) = default;
};

// What the program last saw of the month's own file: its stamp when it was
// read or written, and whether it held lines beyond what a month can take.
struct month_file_seen {
    file_stamp stamp;
    bool lines_left_out = false;
};

// The stamp of the file at the path, following a symbolic link to the file it
// names; a path where nothing can be found gives the stamp of no file.
[[nodiscard]] file_stamp stamp_of(const std::string& path);

// True when the path names a regular file (through a link too): a file whose
// content a save would replace.
[[nodiscard]] bool regular_file_at(const std::string& path);

} // namespace kozenica
