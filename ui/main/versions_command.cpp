// The versions command: the window "以前の版" over the versions of the month
// in hand's file, and the chosen version taken back as the month in hand. The
// file is not written: the next save keeps what it replaces as a version in
// turn, so going back can itself be undone.
#include "core/month_file.h"
#include "core/month_versions.h"
#include "core/notifier.h"
#include "main_form.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/placement.h"
#include "ui/platform/sjis.h"
#include "ui/versions_window/versions_form.h"

#include <QLineEdit>
#include <algorithm>
#include <memory>
#include <system_error>

namespace kozenica {

namespace {

QString no_versions_text(const month_state& state) {
    if (state.open_path.empty())
        return QStringLiteral("この月はまだファイルに保存されていないので、以前の版はありません");
    return QStringLiteral("ファイル(") + to_qstring(state.open_name.view()) +
           QStringLiteral(")には、まだ以前の版がありません");
}

class quiet_notifier : public notifier {
  public:
    void tell(message_kind, std::string_view) override {}
    bool ask_yes_no(message_kind, std::string_view) override { return false; }
};

// Whether the month in hand holds just what its file holds. Drawing the grid
// marks a month as changed, so changed_flag cannot tell typed lines apart.
bool same_as_its_file(const shuushi_data& in_hand, const std::string& path) {
    auto on_disk = std::make_unique<shuushi_data>();
    quiet_notifier quiet;
    try {
        if (month_file_reader_if_present(path, *on_disk, quiet) != std::optional(true)) return false;
    } catch (const std::system_error&) {
        return false;
    }
    return std::ranges::equal(month_lines(in_hand), month_lines(*on_disk));
}

} // namespace

void main_form::versions_menuClick() {
    versions_form window(this);
    std::vector<month_version> versions;
    if (!state_.open_path.empty()) versions = list_month_versions(state_.open_path.str(), *data_);
    window.set_versions(std::move(versions), no_versions_text(state_));
    window.move(opening_point(frameGeometry(), 20, 10));
    if (runner().run(window) != QDialog::Accepted || !window.chosen()) return;
    // Lines typed since the last save exist nowhere else.
    if (!same_as_its_file(*data_, state_.open_path.str()) &&
        !notify().ask_yes_no_default_no(
            message_kind::warning,
            to_sjis(QStringLiteral("今のデータは保存されていません\nこの版に置きかえますか?"))))
        return;
    *data_ = *window.chosen();
    state_.changed_flag = true;
    zandaka_box_->clear();
    disp_data();
}

} // namespace kozenica
