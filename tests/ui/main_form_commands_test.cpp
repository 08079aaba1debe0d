// The main window's texts and commands that the other suites leave alone: the start-up message,
// new, version, captions and headers, the bottom row and grid at any size, a year with leading
// zeros, and an open that fails while reading.
#include "ui/list_window/list_form.h"
#include "ui/platform/sjis.h"
#include "window_testing.h"

#include "ui/hyou_windows/hyou_form.h"

#include <QTableView>
#include <QTableWidget>
#include <cerrno>
#include <unistd.h>

namespace kozenica::testing {
namespace {

using quiet_window = program_window_test; // never shown, so no drawing sets the changed flag
using commands = main_form_test;

// Every message as "kind text", a question marked with "?" after its kind.
QStringList told(const scripted_notifier& notify) {
    QStringList out;
    for (const recorded_message& m : notify.messages)
        out << QString::number(int(m.kind)) + (m.question ? u"? "_s : u" "_s) + m.text;
    return out;
}
QString told(message_kind kind, const char* utf8, bool question = false) {
    return QString::number(int(kind)) + (question ? u"? "_s : u" "_s) + QString::fromUtf8(utf8);
}

void name_month(month_state& s, const std::string& path, const char* name, int year, int month) {
    s.open_path.assign(path), s.open_name.assign(name);
    std::tie(s.open_year, s.open_month, s.changed_flag) = std::tuple(year, month, true);
}

TEST_F(quiet_window, a_missing_kind_list_is_told_once_and_new_drops_the_named_month_and_its_balance) {
    form = std::make_unique<main_form>(dir.path(), notify, runner); // start() would forget the message
    form->show_list_form();
    form->show_list_form();
    EXPECT_EQ(told(notify),
              QStringList{told(message_kind::error, "種類リストファイル(kindlist.dat)がありません")});
    notify.messages.clear();
    form->table().lines[2] = {3, line_text("shop"), line_text("item"), 1, 0, 500, {}};
    form->table().row_count = 3;
    name_month(form->state(), dir.file("2024_5.kzn"), "2024_5.kzn", 2024, 5);
    form->zandaka_box()->setText(u"-500"_s);
    form->disp_data();
    notify.choices = {yes_no_cancel::no}; // the month was never saved
    form->file_createClick();
    EXPECT_EQ(std::tuple(form->table().row_count, form->table().lines[1], form->table().lines[2]),
              std::tuple(2, carried_forward_line(), shuushi_line{}));
    const month_state& s = form->state();
    EXPECT_EQ(std::tuple(s.open_path.str(), s.open_name.str(), s.open_year, s.open_month, s.changed_flag),
              std::tuple(std::string(), std::string(), std::uint16_t(0), std::uint16_t(0), false));
    EXPECT_EQ(std::tuple(form->windowTitle(), form->zandaka_box()->text(), notify.messages.size()),
              std::tuple(u"Kozenica"_s, QString(), std::size_t(1)));
}

TEST_F(quiet_window, version_message_list_caption_and_ledger_headers) {
    form->versionClick();
    EXPECT_EQ(told(notify), QStringList{told(message_kind::plain, "Kozenica Ver 0.31")});
    EXPECT_EQ(form->list_window()->windowTitle(), u"List"_s); // the manual's caption: the font command's test
    QStringList headers;
    for (int c = 0; c < 8; ++c)
        headers << form->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(headers.join(u'|'), u"|日付|店名|品名|種類|収入|支出|メモ"_s);
}

// The balance button and box keep to the bottom right corner and the grid fills the rest, at
// any client size, also one narrower than the bottom row.
TEST_F(commands, bottom_row_and_grid_follow_the_client_size) {
    const auto* button = form->findChild<QPushButton*>(u"zandaka_button"_s);
    ASSERT_NE(button, nullptr);
    for (const QSize size : {QSize(635, 450), QSize(900, 700), QSize(200, 150)}) {
        form->resize(size);
        QApplication::processEvents();
        const int cw = form->centralWidget()->width(), ch = form->centralWidget()->height();
        EXPECT_EQ(button->geometry(), QRect(cw - 96 - 125 - 4, ch - 21, 96, 21)) << cw << "x" << ch;
        EXPECT_EQ(form->zandaka_box()->geometry(), QRect(cw - 125, ch - 21, 125, 21)) << cw << "x" << ch;
        EXPECT_EQ(grid().geometry(), QRect(0, 27, cw, ch - 50)) << cw << "x" << ch;
    }
}

// The file name takes the year as typed, the month state its number.
TEST_F(quiet_window, a_year_typed_with_a_leading_zero_names_the_file_so_and_keeps_the_number) {
    answer(choice{"02024", 5, 0}), form->file_saveClick();
    EXPECT_EQ(std::tuple(form->state().open_path.str(), form->state().open_year, dir.exists("02024_5.kzn")),
              std::tuple(dir.file("02024_5.kzn"), 2024, true));
}

// A month file that opens but cannot be read: the process's own memory, whose first page is
// never mapped, so reading it fails with EIO.
TEST_F(quiet_window, an_open_that_fails_while_reading_leaves_an_empty_unnamed_month) {
    ASSERT_EQ(::symlink("/proc/self/mem", dir.file("2024_5.kzn").c_str()), 0);
    form->table().row_count = 3;
    name_month(form->state(), dir.file("2023_1.kzn"), "2023_1.kzn", 2023, 1);
    notify.choices = {yes_no_cancel::no};
    answer(choice{"2024", 5, 0}), form->file_loadClick();
    EXPECT_EQ(notify.texts(), QStringList({u"現在のデータは保存されていません\n保存しますか?"_s,
                                           general_io_error_text(EIO)}));
    EXPECT_EQ(std::tuple(form->table().row_count, form->state().open_path.str(),
                         form->state().open_name.str(), form->windowTitle()),
              std::tuple(2, "", "", u"Kozenica"_s));
}

// The current cell, empty or not, shows a frame in the focus colour, and the cell after it none: the
// ledger's (drawn by its editor, reached by the Enter walk), the kind list's and the result table's.
TEST_F(commands, the_current_cell_alone_is_framed_in_the_focus_colour_in_every_grid) {
    form->show_list_form();
    hyou_form& results = *form->hyou_window();
    results.set_col_count(3), results.set_row_count(3), results.show();
    grid().set_current_cell(1, 1);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(focus(), Qt::Key_Return); // to the carried-forward line's empty kind
    for (QTableView* g : {form->draw_shuushi(), static_cast<QTableView*>(form->list_window()->draw_klist()),
                          static_cast<QTableView*>(results.hyou_disp())}) {
        if (g != form->draw_shuushi())
            g->selectionModel()->setCurrentIndex(g->model()->index(1, 0), QItemSelectionModel::NoUpdate);
        QApplication::processEvents();
        const QImage shot = g->viewport()->grab().toImage();
        const QModelIndex at = g->currentIndex();
        const auto framed = [&](const QModelIndex& cell) {
            return shot.pixelColor(g->visualRect(cell).topLeft() + QPoint(1, 1)) ==
                   g->palette().color(QPalette::Active, QPalette::Highlight);
        };
        EXPECT_EQ(std::pair(framed(at), framed(at.siblingAtColumn(at.column() + 1))), std::pair(true, false))
            << g->objectName().toStdString() << " " << at.column();
    }
}

// The desktop's keys for the file commands, pressed in the grid's cell editor; Ctrl+Q closes through the
// close query, which writes the settings.
TEST_F(commands, ctrl_keys_run_the_file_commands) {
    const auto C = Qt::ControlModifier;
    // text typed into line 1's shop, the key, its dialog (0 none, 1 2024/5 CSV, -1 cancelled); then the
    // caption and the dialogs run so far
    const std::tuple<const char*, Qt::Key, Qt::KeyboardModifiers, int, const char*, int> rows[] = {
        {"", Qt::Key_O, C, -1, "Kozenica", 1},
        {"", Qt::Key_S, C | Qt::ShiftModifier, 1, "Kozenica [2024_5.csv]", 2},
        {"x", Qt::Key_S, C, 0, "Kozenica [2024_5.csv]", 2},
        {"", Qt::Key_N, C, 0, "Kozenica", 2},
        {"", Qt::Key_S, C, -1, "Kozenica", 3}};
    for (const auto& [typed, key, modifiers, dialog, caption, dialogs] : rows) {
        grid().set_current_cell(1, 2);
        QTest::keyClicks(focus(), QString::fromUtf8(typed));
        if (dialog) answer(choice{"2024", 5, 1}, dialog > 0);
        QTest::keyClick(focus(), key, modifiers);
        EXPECT_EQ(std::pair(form->windowTitle(), runner.runs()),
                  std::pair(QString::fromUtf8(caption), dialogs));
    }
    EXPECT_TRUE(dir.read("2024_5.csv").starts_with("1,x,") && notify.messages.empty());
    QTest::keyClick(focus(), Qt::Key_Q, C);
    EXPECT_TRUE(!form->isVisible() && dir.exists("kozenic.int"));
}

} // namespace
} // namespace kozenica::testing
