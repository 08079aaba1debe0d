// The year table command: the dialog "年間集計", then the year's table in its
// own result window, which follows the month in hand as it is edited.
#include "core/month_file.h"
#include "core/month_walk.h"
#include "core/year_table.h"
#include "ledger_model.h"
#include "main_form.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/outer_frame.h"
#include "ui/platform/placement.h"
#include "ui/year_window/year_dialog.h"
#include "ui/year_window/year_form.h"

#include <QDate>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace kozenica {

namespace {

// The month in hand counts once it has a file: a new month never saved
// belongs to no year.
std::optional<month_in_hand> in_hand_of(main_form& form) {
    const month_state& state = form.state();
    if (state.open_path.empty() || state.open_month < 1 || state.open_month > 12) return std::nullopt;
    return month_in_hand{state.open_year, state.open_month, walked_lines(form.table())};
}

// The window is made once and kept; an edit of the month in hand builds the
// table again a moment after the typing pauses, while the window is shown.
year_form& year_window_of(main_form& form) {
    if (auto* shown = form.findChild<year_form*>(QString(), Qt::FindDirectChildrenOnly)) return *shown;
    auto* made = new year_form(&form, form.program_dir(), form.notify(), form.runner());
    auto* pause = new QTimer(made);
    pause->setSingleShot(true);
    pause->setInterval(300);
    QObject::connect(pause, &QTimer::timeout, made, [made] {
        if (made->isVisible()) made->refresh();
    });
    const auto follow = [pause] { pause->start(); };
    ledger_model* ledger = form.model();
    QObject::connect(ledger, &QAbstractItemModel::dataChanged, pause, follow);
    QObject::connect(ledger, &QAbstractItemModel::modelReset, pause, follow);
    QObject::connect(ledger, &QAbstractItemModel::rowsInserted, pause, follow);
    QObject::connect(ledger, &QAbstractItemModel::rowsRemoved, pause, follow);
    QObject::connect(ledger, &QAbstractItemModel::layoutChanged, pause, follow);
    return *made;
}

} // namespace

void main_form::show_year_table() {
    const bool named = !state_.open_path.empty();
    year_dialog dialog(this);
    outer_frame::of(dialog, true).place_at(opening_point(frameGeometry(), 3, 3));
    dialog.set_initial(named ? state_.open_year : QDate::currentDate().year(),
                       named && format_of_path(state_.open_path.view()) == month_format::kzn ? 0 : 1);
    if (runner_.run(dialog) != QDialog::Accepted) return;
    period_query range;
    range.start_year = range.end_year = dialog.year();
    range.end_month = 12;
    if (!check_range(range, notify_)) return;

    year_form& window = year_window_of(*this);
    const std::uint16_t year = dialog.year();
    const int file_format = dialog.file_format();
    window.set_source([this, year, file_format] {
        return build_year_table(year, file_format, program_dir_, kinds_, in_hand_of(*this));
    });
    // Inset over the main window as the other result windows open, pulled
    // back where the wide table would otherwise run off the screen.
    QPoint at = opening_point(frameGeometry(), 3, 10);
    if (const QScreen* shown_on = screen()) {
        const QRect area = shown_on->availableGeometry();
        const QSize outer = window.frameGeometry().size();
        at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - outer.width())));
        at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - outer.height())));
    }
    window.move(at);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace kozenica
