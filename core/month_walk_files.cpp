// The walk's real month files, kept apart from the walk itself so that a
// program that hands the walk its own source does not link the file readers.
#include "file_exists.h"
#include "month_file.h"
#include "month_walk.h"

namespace kozenica {

namespace {

class system_source : public month_source {
  public:
    bool exists(std::string_view path) override { return file_exists(path); }
    bool read(std::string_view path, shuushi_data& table, notifier& notify) override {
        return month_file_reader(path, table, notify);
    }
    std::optional<bool> read_if_present(std::string_view path, shuushi_data& table, notifier& notify) override {
        return month_file_reader_if_present(path, table, notify);
    }
};

} // namespace

month_source& system_month_source() {
    static system_source source;
    return source;
}

} // namespace kozenica
