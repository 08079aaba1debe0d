#pragma once
// Test helpers for the file code: a fresh directory per test, whole-file
// reads and writes, and a notifier that records what it was told.

#include "core/notifier.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kozenica::testing {

// A new empty directory under the system's temporary directory, removed with
// everything in it at the end of the test. path() ends in '/'.
class temp_dir {
  public:
    temp_dir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kozenica-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir_ = pattern + "/";
    }
    ~temp_dir() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    temp_dir(const temp_dir&) = delete;
    temp_dir& operator=(const temp_dir&) = delete;

    [[nodiscard]] const std::string& path() const { return dir_; }
    [[nodiscard]] std::string file(std::string_view name) const { return dir_ + std::string(name); }

    // Names of everything in the directory, sorted.
    [[nodiscard]] std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(dir_))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

  private:
    std::string dir_;
};

inline void write_bytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

inline std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class recording_notifier : public notifier {
  public:
    void tell(message_kind kind, std::string_view text) override {
        told.emplace_back(kind, std::string(text));
    }
    bool ask_yes_no(message_kind kind, std::string_view text) override {
        asked.emplace_back(kind, std::string(text));
        return false;
    }
    std::vector<std::pair<message_kind, std::string>> told;
    std::vector<std::pair<message_kind, std::string>> asked;
};

} // namespace kozenica::testing
