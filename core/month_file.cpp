// What the two month file formats share: opening a month file, choosing the
// format by the path, and the save through replace_file with its rules.
#include "month_file.h"

#include "month_file_io.h"
#include "texts.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kozenica {

opened open_regular(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return {-1, errno};
    struct stat st {};
    const int error = ::fstat(fd, &st) != 0  ? errno
                      : S_ISDIR(st.st_mode)  ? EISDIR
                      : !S_ISREG(st.st_mode) ? EINVAL
                                             : 0;
    if (error == 0) return {fd, 0};
    ::close(fd);
    return {-1, error};
}

std::size_t lines_to_write(const shuushi_data& table) {
    if (table.row_count < 1) return 0;
    return static_cast<std::size_t>(table.row_count > max_rows ? max_lines : table.row_count - 1);
}

month_format format_of_path(std::string_view path) {
    return path.ends_with(".csv") ? month_format::csv : month_format::kzn;
}

bool month_file_reader(std::string_view path, shuushi_data& table, notifier& notify) {
    month_read_info ignored;
    return month_file_reader(path, table, notify, ignored);
}

namespace {

bool read_opened(opened file, const std::string& path, shuushi_data& table, notifier& notify,
                 month_read_info& info) {
    info = {};
    if (format_of_path(path) == month_format::csv) {
        info.lines_left_out = read_csv(file, table);
        return true;
    }
    return read_kzn(file, path, table, notify);
}

} // namespace

bool month_file_reader(std::string_view path, shuushi_data& table, notifier& notify, month_read_info& info) {
    const std::string p(path);
    return read_opened(open_regular(p), p, table, notify, info);
}

std::optional<bool> month_file_reader_if_present(std::string_view path, shuushi_data& table,
                                                 notifier& notify) {
    month_read_info ignored;
    return month_file_reader_if_present(path, table, notify, ignored);
}

std::optional<bool> month_file_reader_if_present(std::string_view path, shuushi_data& table, notifier& notify,
                                                 month_read_info& info) {
    const std::string p(path);
    const opened file = open_regular(p);
    if (file.fd < 0) return std::nullopt;
    return read_opened(file, p, table, notify, info);
}

bool month_file_writer(const shuushi_data& table, month_state& state, notifier& notify, file_io& io) {
    const std::string path = state.open_path.str();
    if (path.empty()) throw std::system_error(ENOENT, std::generic_category());
    const std::time_t now = std::time(nullptr);
    if (format_of_path(path) == month_format::csv) {
        // A CSV save has always reported a full disk as an I/O error.
        if (replace_file(path, encode_csv(table), io, now) == save_result::disk_full)
            throw std::system_error(ENOSPC, std::generic_category());
        return true;
    }
    if (replace_file(path, encode_kzn(table), io, now) == save_result::disk_full) {
        notify.tell(message_kind::error, texts::disk_full);
        return false;
    }
    state.changed_flag = false;
    return true;
}

} // namespace kozenica
