// The main window's texts and commands that the other suites leave alone: the start-up message, new,
// version, captions, the bottom row at any size, the font command, a year with leading zeros, a failed read,
// closing on a full disk; where every grid puts its text, 20-pixel header rows, the borders the user drags.
#include "core/texts.h"
#include "ui/graph_window/graph_cells.h"
#include "ui/graph_window/graph_form.h"
#include "ui/help_window/manual_form.h"
#include "ui/hyou_windows/hyou_form.h"
#include "ui/list_window/list_form.h"
#include "ui/platform/fonts.h"
#include "ui/platform/sjis.h"
#include "window_testing.h"

#include <QFontDialog>
#include <QHeaderView>
#include <QMenuBar>
#include <QTableView>
#include <QTableWidget>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
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

// The box of dark pixels inside a rectangle of the image, its border lines left out.
QRect ink(const QImage& image, const QRect& r) {
    QRect box;
    for (int y = r.top() + 1; y < r.bottom(); ++y)
        for (int x = r.left() + 1; x < r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 96) box |= QRect(x, y, 1, 1);
    return box;
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

// Chosen (not cancelled), the font reaches the balance row, cell editor and kind list; not menu bar or
// manual.
TEST_F(commands, font_command_reaches_the_balance_row_and_kind_list_but_not_menu_bar_or_manual) {
    const auto sizes = [&, button = form->findChild<QPushButton*>(u"zandaka_button"_s)] {
        return std::tuple(QFontInfo(grid().font()).pixelSize(),
                          QFontInfo(form->zandaka_box()->font()).pixelSize(),
                          QFontInfo(button->font()).pixelSize(), form->menuBar()->font());
    };
    const auto before = sizes();
    QFont big = grid().font();
    big.setPixelSize(30);
    for (const bool ok : {false, true})
        runner.push([&, ok](QDialog& d) {
            static_cast<QFontDialog&>(d).setCurrentFont(big);
            return ok ? int(QDialog::Accepted) : int(QDialog::Rejected);
        });
    form->font_menuClick();
    EXPECT_EQ(sizes(), before);
    run("font_menu");
    const int chosen = std::max(30, std::get<0>(sizes())); // the dialog works in points: 30 or 31
    EXPECT_EQ(sizes(), std::tuple(chosen, chosen, chosen, std::get<3>(before)));
    load_lines({{1, "a", 0, 0}, {2, "b", 0, 0}}); // the rows keep their height
    EXPECT_EQ(std::pair(QFontInfo(editor()->font()).pixelSize(), grid().rowHeight(1)), std::pair(chosen, 20));
    form->show_list_form();
    EXPECT_EQ(QFontInfo(form->list_window()->draw_klist()->font()).pixelSize(), chosen);
    dir.write("manual.txt", "manual\r\n");
    form->manual_menuClick();
    const manual_form* manual = form->findChild<manual_form*>();
    ASSERT_NE(manual, nullptr);
    EXPECT_EQ(std::pair(manual->font(), manual->windowTitle()), std::pair(manual_font(), u"MANUAL"_s));
}

// A disk with no room left: a small tmpfs over the program directory, filled up.
TEST_F(quiet_window, closing_on_a_full_disk_keeps_an_unsaved_month_open_and_the_old_settings_file) {
    if (::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs: " << std::strerror(errno);
    const std::shared_ptr<void> unmount(nullptr, [&](void*) { ::umount2(dir.path().c_str(), MNT_DETACH); });
    const std::string old_settings(88, '\x01');
    dir.write("kozenic.int", old_settings);
    dir.write("filler", std::string(64 * 1024, 'x')); // as much as fits
    start();
    form->state().changed_flag = true;
    notify.answers = {true, false};
    answer(choice{"2024", 5, 0});
    EXPECT_TRUE(!form->close() && form->state().changed_flag);
    EXPECT_TRUE(form->close());
    const QString question = u"現在のデータを保存しますか?"_s;
    EXPECT_EQ(notify.texts(), QStringList({question, to_qstring(texts::disk_full), question,
                                           u"ディスクがいっぱいで、初期化ファイルを保存できませんでした\n"
                                           u"kozenic.intを削除してください"_s}));
    EXPECT_EQ(std::pair(dir.exists("2024_5.kzn"), dir.read("kozenic.int")), std::pair(false, old_settings));
}

// Where each grid puts a cell's text, by grid, row (0 the header) and column: left, centred or
// right, always on the top line.
TEST(grid_cells, every_grid_aligns_its_header_and_cells_on_the_top_line) {
    // header row, data rows (columns 0 to 7); the graph table's data rows by mode (columns 0 to 3), legend
    const char *const ledger[2] = {"cccccccc", "rcllrrrl"}, *const result_table[2] = {"cccccccc", "lcllrrrl"},
                      *const graph_table[3] = {"", "rlrrl", "rrrrr"};
    const auto letter = [](Qt::Alignment a) {
        return !(a & Qt::AlignTop) ? '?' : a & Qt::AlignLeft ? 'l' : a & Qt::AlignHCenter ? 'c' : 'r';
    };
    for (int row : {0, 1, 5})
        for (int c = 0; c < 8; ++c)
            EXPECT_EQ(std::pair(letter(ledger_cell_alignment(row, c)), letter(hyou_cell_alignment(c, row))),
                      std::pair(ledger[row > 0][c], result_table[row > 0][c]))
                << "ledger and result table " << row << "," << c;
    for (int mode : {1, 2})
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(letter(c < 4 ? table_cell_alignment(mode, c) : legend_cell_alignment(mode)),
                      graph_table[mode][c])
                << "graph " << mode << "," << c;
    const klist_cell_layout number = draw_klistDrawCell(0, QRect(0, 0, 40, 20)),
                            name = draw_klistDrawCell(1, QRect(10, 20, 80, 20));
    EXPECT_EQ(std::tuple(letter(number.alignment), letter(name.alignment), name.text_rect),
              std::tuple('c', 'l', QRect(12, 22, 76, 16)));
}

// Where the text sits, by its ink: a ledger cell's 2 pixels from the cell's sides (a left-aligned
// shop's ink starts 2 or 3 pixels in, the glyph's own bearing; a right-aligned amount's ends so). A
// small font in a header row shows it at the top: centred in 20 pixels its ink would start 6 or 7
// pixels down; at the top it starts 2 to 4 down (the inset, then the face's own leading).
TEST_F(commands, ledger_text_keeps_2_pixels_in_and_every_header_row_is_20_high_with_its_text_at_the_top) {
    const auto between = [](int at, int low, int high) { return at >= low && at <= high; };
    load_lines({{1, "", 0, 0}, {2, "HHHH", 0, 8888}});
    grid().set_current_cell(1, 1);
    QApplication::processEvents();
    const QImage cells = grid().viewport()->grab().toImage();
    const QRect shop = grid().visualRect(form->model()->index(1, 2)),
                expense = grid().visualRect(form->model()->index(1, 6));
    const QRect shop_ink = ink(cells, shop), expense_ink = ink(cells, expense);
    EXPECT_TRUE(between(shop_ink.left() - shop.left(), 2, 3) &&
                between(expense.right() - expense_ink.right(), 2, 4) && shop_ink.top() - shop.top() >= 2)
        << shop_ink.left() - shop.left() << " " << expense.right() - expense_ink.right();
    list_form kinds(nullptr);
    kinds.show_kinds(kind_list{}, form->settings(), {0, 0});
    graph_form graph(1, nullptr);
    graph.set_table_size(4, 2), graph.set_table_text(1, 0, u"比率"_s), graph.show();
    hyou_form table(nullptr);
    table.set_col_count(8), table.set_row_count(3), table.set_col_width(0, 40);
    table.set_cell(2, 0, u"店名"_s), table.set_cell(0, 1, u"ab"_s), table.show();
    // grid, its window, header, section, whether its text is left-aligned
    const std::tuple<const char*, QWidget*, QHeaderView*, int, bool> cases[] = {
        {"ledger", form.get(), form->ledger_grid()->horizontalHeader(), 1, false},
        {"kind list, number", &kinds, kinds.draw_klist()->horizontalHeader(), 0, false},
        {"kind list, name", &kinds, kinds.draw_klist()->horizontalHeader(), 1, true},
        {"graph table", &graph, graph.draw_Shuukei()->horizontalHeader(), 1, false},
        {"result table, row 0", &table, table.hyou_disp()->horizontalHeader(), 1, false},
        {"result table, column 0", &table, table.hyou_disp()->verticalHeader(), 0, true}};
    for (const auto& [name, window, header, section, left_aligned] : cases) {
        QFont font = window_font();
        const bool across = header->orientation() == Qt::Horizontal;
        for (const int pixels : {30, 8}) {
            font.setPixelSize(pixels);
            window->setFont(font);
            QApplication::processEvents();
            EXPECT_EQ(across ? header->height() : header->sectionSize(section), 20)
                << name << ", font " << pixels;
        }
        const int at = header->sectionViewportPosition(section), size = header->sectionSize(section);
        const QRect rect =
            across ? QRect(at, 0, size, header->height()) : QRect(0, at, header->width(), size);
        const QPoint in = ink(header->grab().toImage(), rect).topLeft() - rect.topLeft();
        EXPECT_TRUE(between(in.y(), 2, 4) && (!left_aligned || between(in.x(), 2, 4)))
            << name << ": text " << in.y() << " pixels down, " << in.x() << " in";
    }
}

void drag(QWidget& widget, QPoint from, QPoint to) {
    for (const auto& [type, at] : {std::pair(QEvent::MouseButtonPress, from),
                                   {QEvent::MouseMove, to},
                                   {QEvent::MouseButtonRelease, to}}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }
}

// The ledger's and kind list's rows at their borders in the first column; the result table's column 0
// at its right border, also in the corner button above it.
TEST_F(commands, ledger_and_kind_list_rows_and_result_column_0_are_dragged_at_their_borders) {
    load_lines({{1, "a", 0, 0}, {2, "b", 0, 0}});
    form->show_list_form();
    for (QTableView* g : {static_cast<QTableView*>(form->ledger_grid()),
                          static_cast<QTableView*>(form->list_window()->draw_klist())}) {
        drag(*g->viewport(), {5, 19}, {5, 35});          // the border under the first row
        drag(*g->viewport(), {5, 36 + 19}, {5, 36 + 9}); // just above the border under the second
        drag(*g->viewport(), {5, 10}, {5, 30});          // inside a row: no border taken
        EXPECT_EQ(std::pair(g->rowHeight(0), g->rowHeight(1)), std::pair(36, 10))
            << g->objectName().toStdString();
    }
    hyou_form table(nullptr);
    table.set_col_count(8), table.set_row_count(3), table.set_col_width(0, 10), table.show();
    QHeaderView& side = *table.hyou_disp()->verticalHeader();
    QWidget* corner = table.hyou_disp()->findChild<QAbstractButton*>();
    ASSERT_NE(corner, nullptr);
    // where, from, to; then column 0's width (the corner as wide): away from the border a row is taken
    const std::tuple<QWidget*, int, int, int> drags[] = {
        {side.viewport(), 9, 39, 40}, {corner, 39, 14, 15}, {side.viewport(), 5, 60, 15}};
    for (const auto& [where, from, to, width] : drags) {
        drag(*where, {from, 5}, {to, 5});
        EXPECT_EQ(table.col_width(0), width) << from << " to " << to;
    }
}

} // namespace
} // namespace kozenica::testing
