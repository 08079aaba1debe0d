// The main window's texts and commands that the other suites leave alone: the start-up message,
// new, version, captions and headers, the bottom row and grid at any size, the font command, an
// insert above line 1 and a refused copy, a year with leading zeros, an open that fails while
// reading, and closing on a full disk; where every grid puts its text, header rows 20 pixels high, and
// the row and column borders the user drags.
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
#include <fcntl.h>
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

// Cancelled, nothing changes; chosen, the font reaches the balance row and, at its next showing,
// the kind list, while the menu bar and the manual keep their own.
TEST_F(commands, font_command_reaches_the_balance_row_and_kind_list_but_not_menu_bar_or_manual) {
    const auto* button = form->findChild<QPushButton*>(u"zandaka_button"_s);
    const auto fonts = [&] {
        return std::vector<QFont>{grid().font(), form->zandaka_box()->font(), button->font(),
                                  form->menuBar()->font()};
    };
    const std::vector<QFont> before = fonts();
    QFont big = before[0];
    big.setPixelSize(30);
    for (const bool ok : {false, true})
        runner.push([&, ok](QDialog& d) {
            static_cast<QFontDialog&>(d).setCurrentFont(big);
            return ok ? int(QDialog::Accepted) : int(QDialog::Rejected);
        });
    form->font_menuClick();
    EXPECT_EQ(fonts(), before);
    run("font_menu");
    const std::vector<QFont> after = fonts();
    const int chosen = QFontInfo(after[0]).pixelSize(); // the dialog works in points: 30 or 31
    EXPECT_GE(chosen, 30);
    EXPECT_EQ(std::tuple(QFontInfo(after[1]).pixelSize(), QFontInfo(after[2]).pixelSize(), after[3]),
              std::tuple(chosen, chosen, before[3]));
    load_lines({{1, "a", 0, 0}, {2, "b", 0, 0}}); // the cell editor takes it, the rows keep their height
    EXPECT_EQ(std::pair(QFontInfo(editor()->font()).pixelSize(), grid().rowHeight(1)), std::pair(chosen, 20));
    form->show_list_form();
    EXPECT_EQ(QFontInfo(form->list_window()->draw_klist()->font()).pixelSize(), chosen);
    dir.write("manual.txt", "manual\r\n");
    form->manual_menuClick();
    const manual_form* manual = form->findChild<manual_form*>();
    ASSERT_NE(manual, nullptr);
    EXPECT_EQ(std::pair(manual->font(), manual->windowTitle()), std::pair(manual_font(), u"MANUAL"_s));
}

TEST_F(commands, insert_above_line_1_moves_the_carried_forward_line_down_and_a_refused_copy_changes_nothing) {
    grid().set_current_cell(1, 3);
    run("inser_line_button");
    EXPECT_EQ(std::tuple(form->table().row_count, line(1), line(2)),
              std::tuple(3, shuushi_line{}, carried_forward_line()));
    EXPECT_EQ(cell(1, 3) + u'|' + cell(2, 1) + u'|' + cell(2, 3), u"|1|繰越"_s);
    EXPECT_EQ(current(), (cell_pos{1, 1}));

    load_lines({{1, "a", 0, 100}, {2, "b", 0, 200}});
    grid().set_current_cell(2, 6);
    notify.messages.clear(), notify.answers = {false};
    run("copy_befor_line_button");
    EXPECT_EQ(told(notify),
              QStringList{told(message_kind::warning, "１行上の行をコピーしてもよろしいですか?", true)});
    EXPECT_EQ(std::tuple(line(2).expense, cell(2, 2) + u'|' + cell(2, 6), current()),
              std::tuple(200, u"b|200"_s, cell_pos{6, 2}));
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

// A disk with no room left: a small tmpfs over the program directory, filled up.
TEST_F(quiet_window, closing_on_a_full_disk_keeps_an_unsaved_month_open_and_the_old_settings_file) {
    if (::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs: " << std::strerror(errno);
    const std::shared_ptr<void> unmount(nullptr, [&](void*) { ::umount2(dir.path().c_str(), MNT_DETACH); });
    const std::string old_settings(88, '\x01');
    dir.write("kozenic.int", old_settings);
    const int filler = ::open(dir.file("filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(filler, 0);
    const std::string block(4096, 'x');
    while (::write(filler, block.data(), block.size()) > 0) {
    }
    ::close(filler);
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
    const char* const ledger[2] = {"cccccccc", "rcllrrrl"};       // header row, data rows; columns 0 to 7
    const char* const kind_list = "cl";                           // every row alike; columns 0 and 1
    const char* const graph_table[3] = {"", "rlrr", "rrrr"};      // data rows, by mode; columns 0 to 3
    const char* const result_table[2] = {"cccccccc", "lcllrrrl"}; // header row, data rows; columns 0 to 7
    const auto letter = [](Qt::Alignment a) {
        if (!(a & Qt::AlignTop)) return '?';
        return a & Qt::AlignLeft ? 'l' : a & Qt::AlignHCenter ? 'c' : a & Qt::AlignRight ? 'r' : '?';
    };
    for (int row : {0, 1, 5})
        for (int c = 0; c < 8; ++c) {
            EXPECT_EQ(letter(ledger_cell_alignment(row, c)), ledger[row > 0][c])
                << "ledger " << row << "," << c;
            EXPECT_EQ(letter(hyou_cell_alignment(c, row)), result_table[row > 0][c])
                << "result " << row << "," << c;
        }
    for (int c = 0; c < 2; ++c)
        EXPECT_EQ(letter(draw_klistDrawCell(c, QRect(0, 0, 40, 20)).alignment), kind_list[c])
            << "kind list " << c;
    for (int mode : {1, 2}) {
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(letter(table_cell_alignment(mode, c)), graph_table[mode][c])
                << "graph " << mode << "," << c;
        EXPECT_EQ(letter(legend_cell_alignment(mode)), mode == 1 ? 'l' : 'r') << "legend " << mode;
    }
    EXPECT_EQ(draw_klistDrawCell(1, QRect(10, 20, 80, 20)).text_rect, QRect(12, 22, 76, 16));
}

// The text of a ledger cell keeps 2 pixels from the cell's sides: the ink of a left-aligned shop
// starts 2 or 3 pixels in (the glyph's own bearing), that of a right-aligned amount ends so.
TEST_F(commands, ledger_text_keeps_two_pixels_from_the_cell_sides) {
    load_lines({{1, "", 0, 0}, {2, "HHHH", 0, 8888}});
    grid().set_current_cell(1, 1);
    QApplication::processEvents();
    const QImage image = grid().viewport()->grab().toImage();
    const QRect shop = grid().visualRect(form->model()->index(1, 2));
    const QRect expense = grid().visualRect(form->model()->index(1, 6));
    const QRect shop_ink = ink(image, shop), expense_ink = ink(image, expense);
    ASSERT_FALSE(shop_ink.isEmpty() || expense_ink.isEmpty());
    const int shop_in = shop_ink.left() - shop.left(), expense_in = expense.right() - expense_ink.right();
    EXPECT_TRUE(shop_in >= 2 && shop_in <= 3) << shop_in;
    EXPECT_TRUE(expense_in >= 2 && expense_in <= 4) << expense_in;
    EXPECT_GE(shop_ink.top() - shop.top(), 2);
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

// A small font shows where the text sits: centred in 20 pixels its ink would start 6 or 7 pixels
// down; at the top it starts 2 to 4 pixels down (the inset, then the face's own leading).
TEST_F(main_form_test, every_header_row_is_20_pixels_high_with_its_text_at_the_top_2_pixels_in) {
    list_form kinds(nullptr);
    kind_list k;
    kinds.show_kinds(k, form->settings(), {0, 0});
    graph_form graph(1, nullptr);
    graph.set_table_size(4, 2);
    for (int c = 0; c < 4; ++c)
        graph.set_table_text(c, 0, u"比率"_s);
    graph.show();
    hyou_form table(nullptr);
    table.set_col_count(8), table.set_row_count(3);
    table.set_cell(2, 0, u"店名"_s), table.set_cell(0, 1, u"ab"_s);
    table.set_col_width(0, 40);
    table.show();
    // grid, its window, header, section, whether its text is left-aligned
    QHeaderView *kind_header = kinds.draw_klist()->horizontalHeader(),
                *result = table.hyou_disp()->horizontalHeader();
    // clang-format off
    const std::tuple<const char*, QWidget*, QHeaderView*, int, bool> cases[] = {
        {"ledger", form.get(), form->ledger_grid()->horizontalHeader(), 1, false},
        {"kind list, number", &kinds, kind_header, 0, false}, {"kind list, name", &kinds, kind_header, 1, true},
        {"graph table", &graph, graph.draw_Shuukei()->horizontalHeader(), 1, false},
        {"result table, row 0", &table, result, 1, false},
        {"result table, column 0", &table, table.hyou_disp()->verticalHeader(), 0, true}};
    // clang-format on
    for (const auto& [grid, window, header, section, left_aligned] : cases) {
        QFont font = window_font();
        font.setPixelSize(30);
        window->setFont(font);
        QApplication::processEvents();
        const bool across = header->orientation() == Qt::Horizontal;
        EXPECT_EQ(across ? header->height() : header->sectionSize(section), 20)
            << grid << " with a 30-pixel font";
        font.setPixelSize(8);
        window->setFont(font);
        QApplication::processEvents();
        const int at = header->sectionViewportPosition(section), size = header->sectionSize(section);
        const QRect rect =
            across ? QRect(at, 0, size, header->height()) : QRect(0, at, header->width(), size);
        const QPoint in = ink(header->grab().toImage(), rect).topLeft() - rect.topLeft();
        EXPECT_TRUE(in.y() >= 2 && in.y() <= 4) << grid << ": text starts " << in.y() << " pixels down";
        EXPECT_TRUE(!left_aligned || (in.x() >= 2 && in.x() <= 4)) << grid << ": " << in.x() << " pixels in";
    }
}

void drag(QWidget& widget, QPoint from, QPoint to) {
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// The ledger's and the kind list's rows at their borders in the first column; the result table's
// column 0 at its right border, also in the corner button above it.
TEST_F(commands, ledger_and_kind_list_rows_and_result_column_0_are_dragged_at_their_borders) {
    load_lines({{1, "a", 0, 0}, {2, "b", 0, 0}});
    form->show_list_form();
    const std::vector<QTableView*> grids{form->ledger_grid(), form->list_window()->draw_klist()};
    for (QTableView* grid : grids) {
        drag(*grid->viewport(), {5, 19}, {5, 35});          // the border under the first row
        drag(*grid->viewport(), {5, 36 + 19}, {5, 36 + 9}); // just above the border under the second
        drag(*grid->viewport(), {5, 10}, {5, 30});          // inside a row: no border taken
        EXPECT_EQ(std::pair(grid->rowHeight(0), grid->rowHeight(1)), std::pair(36, 10))
            << grid->objectName().toStdString();
    }
    hyou_form table(nullptr);
    table.set_col_count(8), table.set_row_count(3), table.set_col_width(0, 10);
    table.show();
    QHeaderView& side = *table.hyou_disp()->verticalHeader();
    drag(*side.viewport(), {9, 5}, {39, 5});
    EXPECT_EQ(table.col_width(0), 40);
    QWidget* corner = table.hyou_disp()->findChild<QAbstractButton*>();
    ASSERT_NE(corner, nullptr);
    drag(*corner, {corner->width() - 1, 5}, {corner->width() - 26, 5});
    EXPECT_EQ(table.col_width(0), 15);
    drag(*side.viewport(), {5, 5}, {60, 5}); // away from the border: a row is taken, not the border
    EXPECT_EQ(table.col_width(0), 15);
}

} // namespace
} // namespace kozenica::testing
