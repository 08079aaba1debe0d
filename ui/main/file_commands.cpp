// File menu commands, the close query, the kind list and the manual command.
#include "core/csv_safe_text.h"
#include "core/file_exists.h"
#include "core/file_stamp.h"
#include "core/month_file.h"
#include "core/month_walk.h"
#include "core/notifier.h"
#include "core/texts.h"
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

// declined: the user answered No to a question before writing; nothing was
// written. At closing, any outcome but saved keeps the window open.
enum class save_outcome { saved, cancelled, declined, failed };

// A few lines of the manual with their scroll bar.
constexpr QSize manual_minimum(120, 80);

// The file-name part of a path (what the caption shows), at most 80 bytes.
std::string_view file_name_part(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return cut_bytes(slash == std::string_view::npos ? path : path.substr(slash + 1), name_bytes);
}

// "ファイル(" name ")" and the rest: the file's name as its bytes stand.
std::string file_text(std::string_view path, const QString& rest) {
    return to_sjis(QStringLiteral("ファイル(")) + std::string(file_name_part(path)) + to_sjis(rest);
}

std::string other_file_exists_text(std::string_view path) {
    return file_text(path, QStringLiteral(")はすでにあります\n今のデータで上書きしますか?"));
}

std::string lines_left_out_text(std::string_view path) {
    return file_text(path, QStringLiteral(")には1999行目より後にも行があります\n"
                                          "上書きすると、その行はなくなります。上書きしますか?"));
}

std::string changed_on_disk_text(std::string_view path) {
    return file_text(path, QStringLiteral(")は、読みこむか保存した後に、ほかで変更されています\n"
                                          "上書きすると、その変更はなくなります。上書きしますか?"));
}

std::string too_many_lines_text(std::string_view path) {
    return file_text(path,
                     QStringLiteral(")には、1か月に入る1999行より多くの行があります\n"
                                    "1999行目までを読みこみました。上書きすると、残りの行はなくなります"));
}

QString field_name(text_field field) {
    switch (field) {
    case text_field::shop:
        return QStringLiteral("店名");
    case text_field::item:
        return QStringLiteral("品名");
    case text_field::memo:
        break;
    }
    return QStringLiteral("メモ");
}

// Names the first text, and how many there are when more than one.
std::string csv_unsafe_text(const text_place& first, int count) {
    QString where = QStringLiteral("%1行目の%2").arg(first.line).arg(field_name(first.field));
    if (count > 1) where += QStringLiteral("など%1か所").arg(count);
    return to_sjis(where + QStringLiteral("に、CSVファイルに書けない文字(カンマ、改行など)があります\n"
                                          "カンマを全角の「，」(20バイトをこえる欄では半角の「､」)に、"
                                          "ほかを空白にかえて保存しますか?"));
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

bool ask_careful(main_form& form, const std::string& text) {
    return form.notify().ask_yes_no_default_no(message_kind::warning, text);
}

// Before the month replaces its own file: a file that held more lines than
// the month could take, or that another program changed since this one read
// or wrote it, is replaced only when the user says so.
bool may_replace_own_file(main_form& form, const std::string& path) {
    const month_file_seen& seen = form.file_seen();
    if (seen.lines_left_out && !ask_careful(form, lines_left_out_text(path))) return false;
    if (file_changed_since(path, seen) && !ask_careful(form, changed_on_disk_text(path))) return false;
    return true;
}

// A CSV line has no quoting, so texts holding a comma, CR, LF or 0x1A are
// written changed, with the user's consent, or not at all. The month in hand
// takes the same change, so that it shows what the file will read back as.
bool csv_texts_may_be_written(main_form& form, const std::string& path) {
    if (format_of_path(path) != month_format::csv) return true;
    const std::optional<text_place> place = find_csv_unsafe_text(form.table());
    if (!place) return true;
    if (!form.notify().ask_yes_no(message_kind::warning,
                                  csv_unsafe_text(*place, count_csv_unsafe_texts(form.table()))))
        return false;
    make_texts_csv_safe(form.table());
    form.state().changed_flag = true;
    form.show_table_texts();
    return true;
}

// Writes the month in hand to its file. The file is replaced atomically, so a
// failed save leaves the previous file whole and the month marked as changed.
save_outcome write_month(main_form& form) {
    const std::string path = form.state().open_path.str();
    try {
        if (!month_file_writer(form.table(), form.state(), form.notify())) return save_outcome::failed;
    } catch (const std::system_error& failure) {
        tell_io_error(form.notify(), failure);
        return save_outcome::failed;
    }
    // The file now holds exactly the month.
    const bytes_hash written = month_hash(form.table(), path);
    form.file_seen() = {stamp_of(path), written, written, false};
    return save_outcome::saved;
}

save_outcome overwrite_own_file(main_form& form) {
    const std::string path = form.state().open_path.str();
    if (!may_replace_own_file(form, path) || !csv_texts_may_be_written(form, path))
        return save_outcome::declined;
    return write_month(form);
}

save_outcome save_as(main_form& form) {
    std::string path;
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    if (!choose_month_file(form, QStringLiteral(" 保　存"), path, year, month))
        return save_outcome::cancelled;
    const bool own_file = !form.state().open_path.empty() && form.state().open_path.view() == path;
    if (own_file ? !may_replace_own_file(form, path)
                 : regular_file_at(path) && !ask_careful(form, other_file_exists_text(path)))
        return save_outcome::declined;
    if (!csv_texts_may_be_written(form, path)) return save_outcome::declined;
    // The user has chosen to replace what is there now: that is the file the
    // month goes to, even when the write below fails.
    if (!own_file) {
        month_file_seen& seen = form.file_seen();
        seen = {stamp_of(path), hash_of_file(path), seen.month, false};
    }
    name_month(form.state(), path, year, month);
    form.setWindowTitle(main_caption(form.state()));
    return write_month(form);
}

// Fills the table from the chosen file; a damaged file leaves an empty,
// unnamed month (the reader has told why). The file's stamp and bytes are
// taken before reading, so a change made while it is read is noticed at the
// next save.
void read_named_month(main_form& form) {
    const std::string path = form.state().open_path.str();
    month_file_seen seen = seen_now(form.table(), path);
    form.file_seen() = seen;
    if (!file_exists(path)) {
        // A pipe, device or folder under a month's name is no month: told as a
        // damaged file, and the month left unnamed so that no save aims there.
        if (other_than_a_file_at(path)) {
            form.notify().tell_path(message_kind::error, {texts::damaged_file, path, {}});
            form.reset_month();
            return;
        }
        form.notify().tell_path(message_kind::error, missing_file_text(form.state().open_name.view()));
        return;
    }
    month_read_info info;
    if (!month_file_reader(path, form.table(), form.notify(), info)) {
        form.reset_month();
        return;
    }
    seen.month = month_hash(form.table(), path);
    seen.lines_left_out = info.lines_left_out;
    form.file_seen() = seen;
    if (info.lines_left_out) {
        form.notify().tell(message_kind::warning, too_many_lines_text(path));
    }
}

// Before new or open replaces the month in hand: a month that holds anything
// its file does not (a month never saved: anything beyond its carried-forward
// line) is saved, dropped or kept as the user answers. True when the command
// may go on.
bool may_drop_month(main_form& form) {
    if (!month_changed_since(form.table(), form.state().open_path.view(), form.file_seen())) return true;
    const yes_no_cancel answer = form.notify().ask_yes_no_cancel(
        message_kind::confirmation,
        to_sjis(QStringLiteral("現在のデータは保存されていません\n保存しますか?")));
    if (answer != yes_no_cancel::yes) return answer == yes_no_cancel::no;
    const save_outcome outcome = form.state().open_path.empty() ? save_as(form) : overwrite_own_file(form);
    return outcome == save_outcome::saved;
}

} // namespace

void main_form::file_createClick() {
    if (!may_drop_month(*this)) return;
    reset_month();
    disp_data();
}

void main_form::file_loadClick() {
    if (!may_drop_month(*this)) return;
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
        (void)overwrite_own_file(*this);
}

void main_form::ExitClick() {
    close();
}

bool main_form::FormCloseQuery() {
    if (state_.changed_flag &&
        notify_.ask_yes_no(message_kind::plain, to_sjis(QStringLiteral("現在のデータを保存しますか?")))) {
        // A month that was not saved (the save failed, the user chose not to
        // write over a file, or cancelled the dialog) keeps the window open,
        // so nothing is lost; the next close asks again.
        if (save_as(*this) != save_outcome::saved) return false;
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
