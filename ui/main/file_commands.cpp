// File menu commands, the close query, the kind list and the manual command.
#include "core/file_exists.h"
#include "core/month_file.h"
#include "core/month_walk.h"
#include "core/notifier.h"
#include "main_form.h"
#include "ui/f_name_window/file_name_form.h"
#include "ui/help_window/manual_form.h"
#include "ui/list_window/list_form.h"
#include "ui/platform/message_box.h"
#include "ui/platform/outer_frame.h"
#include "ui/platform/placement.h"
#include "ui/platform/sjis.h"

#include <QTableView>
#include <system_error>

namespace kozenica {

namespace {

enum class save_outcome { saved, cancelled, failed };

// A few lines of the manual with their scroll bar.
constexpr QSize manual_minimum(120, 80);

// The file-name part of a path (what the caption shows), at most 80 bytes.
std::string_view file_name_part(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return cut_bytes(slash == std::string_view::npos ? path : path.substr(slash + 1), name_bytes);
}

void name_month(month_state& state, const std::string& path, std::uint16_t year, std::uint16_t month) {
    state.open_path.assign(path);
    state.open_name.assign(file_name_part(state.open_path.view()));
    state.open_year = year;
    state.open_month = month;
}

// Runs the year/month dialog from the month in hand. On OK the chosen path,
// year and month are handed back; on Cancel they are not to be used.
bool choose_month_file(main_form& form, const QString& title, std::string& path, std::uint16_t& year,
                       std::uint16_t& month) {
    const month_state& state = form.state();
    year = state.open_year;
    month = state.open_month;
    const year_month_request request{title, form.frameGeometry(), form.program_dir(),
                                     !state.open_path.empty()};
    return year_month_dialog(*form.file_name_window(), form.runner(), request, path, year, month);
}

// Writes the month in hand to its file. The file is replaced atomically, so a
// failed save leaves the previous file whole and the month marked as changed.
save_outcome write_month(main_form& form) {
    try {
        return month_file_writer(form.table(), form.state(), form.notify()) ? save_outcome::saved
                                                                            : save_outcome::failed;
    } catch (const std::system_error& failure) {
        tell_io_error(form.notify(), failure);
        return save_outcome::failed;
    }
}

save_outcome save_as(main_form& form) {
    std::string path;
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    if (!choose_month_file(form, QStringLiteral(" 保　存"), path, year, month))
        return save_outcome::cancelled;
    name_month(form.state(), path, year, month);
    form.setWindowTitle(main_caption(form.state()));
    return write_month(form);
}

// Fills the table from the chosen file; a damaged file leaves an empty,
// unnamed month (the reader has told why).
void read_named_month(main_form& form) {
    const std::string path = form.state().open_path.str();
    if (!file_exists(path)) {
        form.notify().tell_path(message_kind::error, missing_file_text(form.state().open_name.view()));
        return;
    }
    if (!month_file_reader(path, form.table(), form.notify())) form.reset_month();
}

} // namespace

void main_form::file_createClick() {
    reset_month();
    disp_data();
}

void main_form::file_loadClick() {
    std::string path;
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    if (!choose_month_file(*this, QStringLiteral("読み込み"), path, year, month)) return;
    reset_month();
    name_month(state_, path, year, month);
    try {
        read_named_month(*this);
    } catch (const std::system_error& failure) {
        // Half a month must not stay under the file's name, where an overwrite
        // save would replace the whole file with it.
        reset_month();
        tell_io_error(notify_, failure);
    }
    state_.changed_flag = false;
    disp_data();
}

void main_form::file_saveClick() {
    (void)save_as(*this);
}

void main_form::file_overwriteClick() {
    if (state_.open_path.empty())
        (void)save_as(*this);
    else
        (void)write_month(*this);
}

void main_form::ExitClick() {
    close();
}

bool main_form::FormCloseQuery() {
    if (state_.changed_flag &&
        notify_.ask_yes_no(message_kind::plain, to_sjis(QStringLiteral("現在のデータを保存しますか?")))) {
        // A month that could not be saved keeps the window open, so nothing is
        // lost; the next close asks again.
        if (save_as(*this) == save_outcome::failed) return false;
    }

    for (int c = 0; c < 8; ++c)
        settings_[setting::ledger_column0 + c] = draw_shuushi()->columnWidth(c);
    settings_[setting::main_top] = y();
    settings_[setting::main_left] = x();
    const QSize outer = outer_size_of(*this);
    settings_[setting::main_width] = outer.width();
    settings_[setting::main_height] = outer.height();
    list_form_->take_back(settings_);

    try {
        if (write_settings_file(program_dir_ + "kozenic.int", settings_) == save_result::disk_full)
            notify_.tell(message_kind::error,
                         to_sjis(QStringLiteral("ディスクがいっぱいで、初期化ファイルを保存できませんでした\n"
                                                "kozenic.intを削除してください")));
    } catch (const std::system_error& failure) {
        tell_io_error(notify_, failure);
    }
    return true;
}

void main_form::show_list_form() {
    list_form_->setFont(font());
    list_form_->show_kinds(kinds_, settings_, opening_point(frameGeometry(), 11, 11));
}

void main_form::manual_menuClick() {
    const std::string path = program_dir_ + "manual.txt";
    const std::optional<QByteArray> bytes = read_manual_file(path);
    if (!bytes) {
        notify_.tell_path(message_kind::error,
                          {to_sjis(QStringLiteral("ﾌｧｲﾙ ")), path, to_sjis(QStringLiteral(" は開けません"))});
        return;
    }
    auto* window = new manual_form(this);
    const QRect outer = frameGeometry();
    outer_frame::of(*window).place(
        {opening_point(outer, 10, 10), QSize(outer.width() / 10 * 8, outer.height() / 10 * 8)},
        manual_minimum);
    window->set_manual(manual_text(*bytes));
    window->show();
}

} // namespace kozenica
