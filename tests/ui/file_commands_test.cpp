// The file menu: new, open, save as and overwrite, and the year/month dialog
// they share, driven through a scripted dialog runner and message recorder.
#include "support/temp_program_dir.h"
#include "ui/f_name_window/file_name_form.h"
#include "ui/main/main_form.h"
#include "ui/platform/message_box.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"
#include "ui/platform/sjis.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

static void PrintTo(const QString& text, std::ostream* os) {
    *os << text.toStdString();
}

namespace kozenica {
namespace {

using testing::sjis;
using testing::temp_program_dir;

// What the dialog showed when it was run.
struct dialog_seen {
    QString caption;
    QString title;
    QString year;
    int month_index = -1;
    int format_item = -1;
    QPoint place; // where the outer frame stands
};

struct choice {
    QString year;
    int month;       // 1 to 12
    int format_item; // 0 KZN, 1 CSV
};

class file_commands : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("kindlist.dat", "1\r\nfood\r\n");
        form = std::make_unique<main_form>(dir.path(), notify, runner);
        notify.messages.clear();
    }

    file_name_form& dialog() { return *form->file_name_window(); }

    // Records the dialog as shown, fills it with the choice and presses OK or
    // cancel.
    void answer(std::optional<choice> c, bool ok = true) {
        runner.push([this, c, ok](QDialog& d) {
            auto& f = dynamic_cast<file_name_form&>(d);
            seen.push_back({f.windowTitle(), f.title()->text(), f.year()->text(), f.month()->currentIndex(),
                            f.format_item(), f.pos()});
            if (c) {
                f.year()->setText(c->year);
                f.month()->setCurrentIndex(c->month - 1);
                f.select_format_item(c->format_item);
            }
            return ok ? QDialog::Accepted : QDialog::Rejected;
        });
    }

    std::string path_of(std::string_view name) const { return dir.file(name); }

    temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
    std::vector<dialog_seen> seen;
};

// Puts a window's outer frame exactly at the given rectangle, whatever frame
// the platform draws around it.
void set_outer_geometry(QWidget& w, const QRect& outer) {
    w.setGeometry(outer);
    const QRect inner = w.geometry();
    const QRect frame = w.frameGeometry();
    w.setGeometry(outer.adjusted(inner.left() - frame.left(), inner.top() - frame.top(),
                                 inner.right() - frame.right(), inner.bottom() - frame.bottom()));
}

std::string le32(std::int32_t v) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[std::size_t(i)] = char((std::uint32_t(v) >> (8 * i)) & 0xFF);
    return out;
}

std::string text_field(std::string_view text) {
    std::string out(1, char(text.size()));
    out += text;
    out.resize(21, '\0');
    return out;
}

// One 80-byte KZN record.
std::string kzn_record(int day, std::string_view shop, std::string_view item, int kind, int income,
                       int expense, std::string_view memo) {
    std::string r(1, char(day));
    r += text_field(shop);
    r += text_field(item);
    r += '\0';
    r += le32(kind) + le32(income) + le32(expense);
    r += text_field(memo);
    r.resize(80, '\0');
    return r;
}

std::string kzn_file(const std::vector<std::string>& records, std::string_view header = "kozenic file") {
    std::string out(header);
    out += le32(std::int32_t(records.size() + 1));
    for (const auto& r : records)
        out += r;
    return out;
}

// ---- pure parts of the dialog ----

TEST(month_file_path, joins_directory_year_month_and_extension) {
    struct {
        QString year, month;
        bool csv;
        std::string expected;
    } cases[] = {
        {QStringLiteral("2024"), QStringLiteral("5"), false, "/p/2024_5.kzn"},
        {QStringLiteral("2024"), QStringLiteral("12"), true, "/p/2024_12.csv"},
        {QStringLiteral("02024"), QStringLiteral("5"), false, "/p/02024_5.kzn"},
        {QString(), QStringLiteral("5"), true, "/p/_5.csv"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(month_file_path("/p/", c.year, c.month, c.csv), c.expected) << c.expected;
}

TEST(month_file_path, is_cut_to_253_bytes) {
    const std::string dir = "/" + std::string(249, 'd') + "/";
    const std::string path = month_file_path(dir, QStringLiteral("2024"), QStringLiteral("5"), false);
    EXPECT_EQ(path.size(), 253u);
    EXPECT_EQ(path, dir + "20");
}

TEST(year_of_text, takes_the_low_16_bits_or_keeps_the_year) {
    struct {
        QString text;
        std::uint16_t expected;
    } cases[] = {
        {QStringLiteral("2024"), 2024},   {QStringLiteral("02024"), 2024}, {QStringLiteral("0"), 0},
        {QStringLiteral("65536"), 0},     {QStringLiteral("70000"), 4464}, {QString(), 1999},
        {QStringLiteral("65535"), 65535},
    };
    for (const auto& c : cases)
        EXPECT_EQ(year_of_text(c.text, 1999), c.expected) << c.text.toStdString();
}

TEST(yearKeyPress, lets_only_digits_in) {
    struct {
        QString typed;
        bool passes;
    } cases[] = {
        {QStringLiteral("0123456789"), true}, {QString(), true},
        {QStringLiteral("a"), false},         {QStringLiteral("../x"), false},
        {QStringLiteral("12/"), false},       {QStringLiteral("２０２４"), false}, // full-width digits
        {QStringLiteral("-1"), false},        {QStringLiteral(" 1"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(yearKeyPress(c.typed), c.passes) << c.typed.toStdString();
}

// ---- the dialog as a window ----

TEST_F(file_commands, dialog_components_stand_where_the_layout_puts_them) {
    answer(std::nullopt, false);
    form->file_loadClick();
    file_name_form& f = dialog();
    struct {
        QWidget* w;
        int left, top;
    } cases[] = {
        {f.title(), 44, 5},         {f.Label3(), 8, 43},      {f.year(), 16, 65},
        {f.month(), 120, 65},       {f.Label1(), 96, 70},     {f.Label2(), 176, 70},
        {f.file_format(), 20, 105}, {f.ok_button(), 16, 154}, {f.cancel_button(), 108, 154},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.w->x(), c.left) << c.w->metaObject()->className() << " at " << c.top;
        EXPECT_EQ(c.w->y(), c.top) << c.w->metaObject()->className() << " at " << c.top;
    }
    EXPECT_EQ(f.title()->height(), 28);
    EXPECT_EQ(f.width(), 214);
    EXPECT_EQ(f.height(), 229);
    EXPECT_EQ(f.ok_button()->text(), QStringLiteral("OK"));
    EXPECT_EQ(f.cancel_button()->text(), QStringLiteral("やっぱやめる"));
    EXPECT_EQ(f.file_format()->title(), QStringLiteral("ファイル形式"));
    EXPECT_EQ(f.month()->count(), 12);
}

TEST_F(file_commands, dialog_tab_order_is_year_format_month_ok_cancel) {
    file_name_form& f = dialog();
    const std::vector<QWidget*> expected = {f.year(),  f.kzn_item(),  f.csv_item(),
                                            f.month(), f.ok_button(), f.cancel_button()};
    // The next widget that Tab reaches: the focus chain holds every widget,
    // also those that take no focus from Tab.
    auto next_tab_stop = [](QWidget* w) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    };
    for (std::size_t i = 0; i + 1 < expected.size(); ++i)
        EXPECT_EQ(next_tab_stop(expected[i]), expected[i + 1]) << "after step " << i;
}

TEST_F(file_commands, first_open_proposes_today_and_csv_at_a_eleventh_of_the_main_window) {
    set_outer_geometry(*form, {0, 0, 635, 450});
    answer(std::nullopt, false);
    form->file_loadClick();
    ASSERT_EQ(seen.size(), 1u);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(seen[0].caption, QStringLiteral("読み込み"));
    EXPECT_EQ(seen[0].title, QStringLiteral("読み込み"));
    EXPECT_EQ(seen[0].year, QString::number(today.year()));
    EXPECT_EQ(seen[0].month_index, today.month() - 1);
    EXPECT_EQ(seen[0].format_item, 1);
    EXPECT_EQ(seen[0].place, QPoint(57, 40));
}

TEST_F(file_commands, dialog_follows_the_main_window) {
    set_outer_geometry(*form, {100, 50, 700, 500});
    answer(std::nullopt, false);
    form->file_saveClick();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].place, QPoint(100 + 63, 50 + 45));
    EXPECT_EQ(seen[0].caption, QStringLiteral(" 保　存"));
}

TEST_F(file_commands, year_box_refuses_typed_and_pasted_letters) {
    QLineEdit* year = dialog().year();
    year->setText(QStringLiteral("2024"));
    year->setCursorPosition(4);
    QTest::keyClicks(year, QStringLiteral("a/."));
    EXPECT_EQ(year->text(), QStringLiteral("2024"));
    QTest::keyClicks(year, QStringLiteral("5"));
    EXPECT_EQ(year->text(), QStringLiteral("20245"));

    year->setText(QStringLiteral("20"));
    year->setCursorPosition(2);
    QApplication::clipboard()->setText(QStringLiteral("24/../../etc"));
    year->paste();
    year->insert(QStringLiteral("/tmp/x"));
    EXPECT_EQ(year->text(), QStringLiteral("20"));
    year->insert(QStringLiteral("24"));
    EXPECT_EQ(year->text(), QStringLiteral("2024"));
}

// ---- open ----

TEST_F(file_commands, open_reads_a_kzn_month) {
    dir.write("2024_5.kzn", kzn_file({kzn_record(1, "", sjis("繰越"), 0, 5000, 0, ""),
                                      kzn_record(3, sjis("スーパー"), sjis("牛乳"), 2, 0, 198, "memo")}));
    form->table().lines[1].expense = 77;
    form->state().changed_flag = true;
    answer(choice{QStringLiteral("2024"), 5, 0});
    form->file_loadClick();

    EXPECT_TRUE(notify.messages.empty());
    const shuushi_data& t = form->table();
    ASSERT_EQ(t.row_count, 3);
    EXPECT_EQ(t.lines[1].income, 5000);
    EXPECT_EQ(t.lines[1].expense, 0);
    EXPECT_EQ(t.lines[2].day, 3);
    EXPECT_EQ(t.lines[2].shop.view(), sjis("スーパー"));
    EXPECT_EQ(t.lines[2].expense, 198);
    EXPECT_EQ(t.lines[2].memo.view(), "memo");
    EXPECT_EQ(form->state().open_path.view(), path_of("2024_5.kzn"));
    EXPECT_EQ(form->state().open_name.view(), "2024_5.kzn");
    EXPECT_EQ(form->state().open_year, 2024);
    EXPECT_EQ(form->state().open_month, 5);
    EXPECT_FALSE(form->state().changed_flag);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kozenica [2024_5.kzn]"));
}

TEST_F(file_commands, open_reads_a_csv_month_and_the_next_dialog_proposes_it) {
    dir.write("2023_12.csv", sjis("1,,繰越,0,0,0,\r\n24,八百屋,大根,4,0,150,安い\r\n"));
    answer(choice{QStringLiteral("2023"), 12, 1});
    form->file_loadClick();
    ASSERT_EQ(form->table().row_count, 3);
    EXPECT_EQ(form->table().lines[2].item.view(), sjis("大根"));
    EXPECT_EQ(form->table().lines[2].kind, 4);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kozenica [2023_12.csv]"));

    answer(std::nullopt, false);
    form->file_loadClick();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].year, QStringLiteral("2023"));
    EXPECT_EQ(seen[1].month_index, 11);
    EXPECT_EQ(form->table().row_count, 3) << "a cancelled open keeps the month";
}

TEST_F(file_commands, open_of_a_missing_month_keeps_its_name_and_overwrite_creates_it) {
    form->table().lines[1].income = 123;
    answer(choice{QStringLiteral("2024"), 5, 1});
    form->file_loadClick();

    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_EQ(notify.messages[0].kind, message_kind::error);
    EXPECT_EQ(notify.messages[0].text, QStringLiteral("ファイル(2024_5.csv)がありません"));
    EXPECT_EQ(form->table().row_count, 2);
    EXPECT_EQ(form->table().lines[1], carried_forward_line());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kozenica [2024_5.csv]"));
    EXPECT_EQ(form->state().open_year, 2024);

    form->file_overwriteClick();
    EXPECT_EQ(runner.runs(), 1) << "overwrite of a named month asks nothing";
    EXPECT_EQ(dir.read("2024_5.csv"), sjis("1,,繰越,0,0,0,\r\n"));
}

TEST_F(file_commands, open_of_a_damaged_kzn_leaves_an_empty_unnamed_month) {
    dir.write("2024_5.kzn", kzn_file({kzn_record(1, "", "x", 0, 0, 0, "")}, "kozenic filX"));
    answer(choice{QStringLiteral("2024"), 5, 0});
    form->file_loadClick();

    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_EQ(notify.messages[0].kind, message_kind::error);
    EXPECT_EQ(notify.messages[0].text,
              QStringLiteral("Kozenicaのデータではないか、もしくはファイルが壊れています\n") +
                  QString::fromStdString(path_of("2024_5.kzn")));
    EXPECT_EQ(form->table().row_count, 2);
    EXPECT_EQ(form->table().lines[1], carried_forward_line());
    EXPECT_TRUE(form->state().open_path.empty());
    EXPECT_TRUE(form->state().open_name.empty());
    EXPECT_EQ(form->state().open_year, 0);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kozenica"));
}

TEST_F(file_commands, open_of_an_unreadable_name_reports_it_as_missing) {
    QDir(QString::fromStdString(dir.path())).mkdir(QStringLiteral("2024_6.kzn"));
    answer(choice{QStringLiteral("2024"), 6, 0});
    form->file_loadClick();
    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_EQ(notify.messages[0].text, QStringLiteral("ファイル(2024_6.kzn)がありません"));
}

TEST_F(file_commands, new_month_drops_the_month_in_hand) {
    dir.write("2024_5.csv", "3,a,b,1,2,3,c\r\n4,a,b,1,2,3,c\r\n");
    answer(choice{QStringLiteral("2024"), 5, 1});
    form->file_loadClick();
    ASSERT_EQ(form->table().row_count, 3);
    form->zandaka_box()->setText(QStringLiteral("1,000"));
    form->state().changed_flag = true;

    form->file_createClick();
    EXPECT_TRUE(notify.messages.empty()) << "no question is asked";
    EXPECT_EQ(form->table().row_count, 2);
    EXPECT_EQ(form->table().lines[1], carried_forward_line());
    EXPECT_TRUE(form->state().open_path.empty());
    EXPECT_FALSE(form->state().changed_flag);
    EXPECT_TRUE(form->zandaka_box()->text().isEmpty());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kozenica"));
}

// ---- save as and overwrite ----

TEST_F(file_commands, save_as_cancelled_writes_nothing_and_changes_nothing) {
    form->state().changed_flag = true;
    answer(choice{QStringLiteral("2024"), 5, 0}, false);
    form->file_saveClick();
    EXPECT_TRUE(QDir(QString::fromStdString(dir.path())).entryList({QStringLiteral("2024_*")}).isEmpty());
    EXPECT_TRUE(form->state().open_path.empty());
    EXPECT_EQ(form->state().open_year, 0);
    EXPECT_TRUE(form->state().changed_flag);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kozenica"));
}

TEST_F(file_commands, save_as_names_the_month_and_writes_it_in_the_chosen_format) {
    struct {
        int format_item;
        const char* name;
        bool changed_after; // only a KZN save clears the flag
        std::size_t bytes;
    } cases[] = {{0, "2024_5.kzn", false, 96}, {1, "2024_5.csv", true, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form->state().changed_flag = true;
        answer(choice{QStringLiteral("2024"), 5, c.format_item});
        form->file_saveClick();
        EXPECT_EQ(dir.read(c.name).size(), c.bytes);
        EXPECT_EQ(form->state().open_path.view(), path_of(c.name));
        EXPECT_EQ(form->state().open_name.view(), c.name);
        EXPECT_EQ(form->state().open_month, 5);
        EXPECT_EQ(form->state().changed_flag, c.changed_after);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Kozenica [") + QString::fromLatin1(c.name) + u']');
    }
    EXPECT_TRUE(notify.messages.empty());
}

TEST_F(file_commands, save_as_replaces_an_existing_file_without_asking) {
    dir.write("2024_5.csv", "old content that is long\r\n");
    answer(choice{QStringLiteral("2024"), 5, 1});
    form->file_saveClick();
    EXPECT_EQ(dir.read("2024_5.csv"), sjis("1,,繰越,0,0,0,\r\n"));
    EXPECT_TRUE(notify.messages.empty());
}

TEST_F(file_commands, overwrite_without_a_name_is_save_as) {
    answer(choice{QStringLiteral("2025"), 1, 0});
    form->file_overwriteClick();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, QStringLiteral(" 保　存"));
    EXPECT_EQ(dir.read("2025_1.kzn").size(), 96u);

    form->table().lines[1].income = 1000;
    form->file_overwriteClick();
    EXPECT_EQ(runner.runs(), 1) << "the named month is overwritten without a dialog";
    EXPECT_EQ(dir.read("2025_1.kzn").substr(16 + 48, 4), le32(1000));
}

TEST_F(file_commands, format_choice_carries_over_between_open_and_save_as) {
    answer(choice{QStringLiteral("2024"), 5, 0});
    form->file_saveClick();
    answer(std::nullopt, false);
    form->file_loadClick();
    answer(std::nullopt, false);
    form->file_saveClick();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].format_item, 1) << "CSV at first";
    EXPECT_EQ(seen[1].format_item, 0);
    EXPECT_EQ(seen[2].format_item, 0);
}

TEST_F(file_commands, empty_year_box_names_the_file_from_the_month_alone_and_keeps_the_year) {
    answer(choice{QStringLiteral("2023"), 12, 1});
    form->file_saveClick();
    answer(choice{QString(), 3, 1});
    form->file_saveClick();
    EXPECT_EQ(form->state().open_path.view(), path_of("_3.csv"));
    EXPECT_EQ(form->state().open_year, 2023);
    EXPECT_EQ(form->state().open_month, 3);
    EXPECT_TRUE(dir.exists("_3.csv"));
}

TEST_F(file_commands, year_with_leading_zeros_names_the_file_as_typed) {
    answer(choice{QStringLiteral("02024"), 5, 0});
    form->file_saveClick();
    EXPECT_EQ(form->state().open_name.view(), "02024_5.kzn");
    EXPECT_EQ(form->state().open_year, 2024);
}

TEST_F(file_commands, failed_save_keeps_the_previous_file_and_the_changed_flag) {
    // A directory where the month file should go makes the replacement fail.
    QDir(QString::fromStdString(dir.path())).mkdir(QStringLiteral("2024_7.kzn"));
    form->state().changed_flag = true;
    answer(choice{QStringLiteral("2024"), 7, 0});
    form->file_saveClick();
    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_EQ(notify.messages[0].kind, message_kind::error);
    EXPECT_EQ(notify.messages[0].text, general_io_error_text(EISDIR));
    EXPECT_TRUE(form->state().changed_flag);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(path_of("2024_7.kzn"))).isDir());
}

} // namespace
} // namespace kozenica
