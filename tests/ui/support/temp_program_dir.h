#pragma once
// A temporary program directory for one test: the list files written by the
// test, month files made in it, removed again at the end.

#include <QTemporaryDir>
#include <string>
#include <string_view>

namespace kozenica::testing {

class temp_program_dir {
  public:
    temp_program_dir();
    // The directory, ending in its separator, as the program sees it.
    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] std::string file(std::string_view name) const { return path_ + std::string(name); }
    void write(std::string_view name, std::string_view bytes) const;
    [[nodiscard]] std::string read(std::string_view name) const;
    [[nodiscard]] bool exists(std::string_view name) const;
    // Makes the folders of a relative path (UTF-8, as the file system names
    // them) below the directory and takes the deepest as the directory.
    void enter(std::string_view relative_utf8);

  private:
    QTemporaryDir dir_;
    std::string path_;
};

// Shift-JIS bytes of a UTF-8 text, for readable expectations.
[[nodiscard]] std::string sjis(std::string_view utf8);

} // namespace kozenica::testing
