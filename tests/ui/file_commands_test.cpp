// The file menu: new, open, save as and overwrite, and the year/month dialog
// they share, driven through a scripted dialog runner and message recorder.
#include "core/month_file.h"
#include "support/temp_program_dir.h"
#include "ui/f_name_window/file_name_form.h"
#include "ui/main/main_form.h"
#include "ui/platform/message_box.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"

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
#include <optional>
#include <ostream>

static void PrintTo(const QString& text, std::ostream* os) {
    *os << text.toStdString();
}

namespace kozenica {
namespace {

using testing::sjis;
using testing::temp_program_dir;

struct dialog_seen {
    QString caption, title, year, year_selected;
    int month_index, format_item;
    QPoint place; // where the outer frame stands
};

struct choice {
    QString year;
    int month;       // 1 to 12
    int format_item; // 0 KZN, 1 CSV
};

// Puts a window's outer frame exactly at the rectangle, whatever frame the
// platform draws around it.
void set_outer_geometry(QWidget& w, const QRect& outer) {
    w.setGeometry(outer);
    const QRect in = w.geometry(), frame = w.frameGeometry();
    w.setGeometry(outer.adjusted(in.left() - frame.left(), in.top() - frame.top(), in.right() - frame.right(),
                                 in.bottom() - frame.bottom()));
}

class file_commands : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("kindlist.dat", "1\r\nfood\r\n");
        form = std::make_unique<main_form>(dir.path(), notify, runner);
        notify.messages.clear();
    }

    // Records the dialog as shown, fills in the choice (if any), then OK or cancel.
    void answer(std::optional<choice> c, bool ok = true) {
        runner.push([this, c, ok](QDialog& d) {
            auto& f = dynamic_cast<file_name_form&>(d);
            seen.push_back({f.windowTitle(), f.title()->text(), f.year()->text(), f.year()->selectedText(),
                            f.month()->currentIndex(), f.format_item(), f.pos()});
            if (c) {
                f.year()->setText(c->year);
                f.month()->setCurrentIndex(c->month - 1);
                f.select_format_item(c->format_item);
            }
            return ok ? QDialog::Accepted : QDialog::Rejected;
        });
    }
    const month_state& state() const { return form->state(); }

    temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
    std::vector<dialog_seen> seen;
};

TEST(year_month_rules, path_year_and_year_box_text) {
    EXPECT_EQ(month_file_path("/p/", QStringLiteral("2024"), QStringLiteral("5"), false), "/p/2024_5.kzn");
    EXPECT_EQ(month_file_path("/p/", QStringLiteral("02024"), QStringLiteral("12"), true), "/p/02024_12.csv");
    EXPECT_EQ(month_file_path("/p/", QString(), QStringLiteral("5"), true), "/p/_5.csv");
    const std::string deep = "/" + std::string(249, 'd') + "/";
    EXPECT_EQ(month_file_path(deep, QStringLiteral("2024"), QStringLiteral("5"), false), deep + "20");

    const std::pair<QString, int> years[] = {{QStringLiteral("2024"), 2024},
                                             {QStringLiteral("02024"), 2024},
                                             {QStringLiteral("65535"), 65535},
                                             {QStringLiteral("70000"), 4464},
                                             {QString(), 1999}}; // an empty box keeps the year
    for (const auto& [text, year] : years)
        EXPECT_EQ(year_of_text(text, 1999), year) << text.toStdString();

    const std::pair<QString, bool> typed[] = {
        {QStringLiteral("0123456789"), true}, {QString(), true},
        {QStringLiteral("a"), false},         {QStringLiteral("../x"), false},
        {QStringLiteral("２０"), false},      {QStringLiteral("-1"), false}};
    for (const auto& [text, passes] : typed)
        EXPECT_EQ(yearKeyPress(text), passes) << text.toStdString();
}

TEST_F(file_commands, first_open_dialog_proposes_today_and_csv_laid_out_at_an_eleventh_of_the_main_window) {
    set_outer_geometry(*form, {0, 0, 635, 450});
    answer(std::nullopt, false);
    form->file_loadClick();
    ASSERT_EQ(seen.size(), 1u);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(seen[0].caption, QStringLiteral("読み込み"));
    EXPECT_EQ(seen[0].title, QStringLiteral("読み込み"));
    EXPECT_EQ(seen[0].year, QString::number(today.year()));
    EXPECT_EQ(seen[0].year_selected, seen[0].year) << "typing replaces the proposed year";
    EXPECT_EQ(seen[0].month_index, today.month() - 1);
    EXPECT_EQ(seen[0].format_item, 1);
    EXPECT_EQ(seen[0].place, QPoint(57, 40));

    file_name_form& f = *form->file_name_window();
    const std::tuple<QWidget*, int, int> places[] = {
        {f.title(), 44, 5},         {f.Label3(), 8, 43},      {f.year(), 16, 65},
        {f.month(), 120, 65},       {f.Label1(), 96, 70},     {f.Label2(), 176, 70},
        {f.file_format(), 20, 105}, {f.ok_button(), 16, 154}, {f.cancel_button(), 108, 154}};
    for (const auto& [w, left, top] : places)
        EXPECT_EQ(w->pos(), QPoint(left, top)) << left << "," << top;
    EXPECT_EQ(f.size(), QSize(214, 229));
    EXPECT_EQ(f.title()->height(), 28);
}

TEST_F(file_commands, dialog_tab_order_is_year_format_month_ok_cancel) {
    file_name_form& f = *form->file_name_window();
    auto next_tab_stop = [](QWidget* w) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    };
    const QWidget* order[] = {f.year(),  f.kzn_item(),  f.csv_item(),
                              f.month(), f.ok_button(), f.cancel_button()};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        EXPECT_EQ(next_tab_stop(const_cast<QWidget*>(order[i])), order[i + 1]) << "after stop " << i;
}

TEST_F(file_commands, year_box_refuses_typed_and_pasted_letters) {
    QLineEdit* year = form->file_name_window()->year();
    year->setText(QStringLiteral("20"));
    QTest::keyClicks(year, QStringLiteral("a/.2"));
    QApplication::clipboard()->setText(QStringLiteral("4/../../etc"));
    year->paste();
    year->insert(QStringLiteral("/tmp/x"));
    EXPECT_EQ(year->text(), QStringLiteral("202"));
}

TEST_F(file_commands, open_reads_either_format_names_the_month_and_clears_the_flag) {
    shuushi_data month;
    month.lines[1] = carried_forward_line();
    month.lines[2] = {3, line_text(sjis("スーパー")), line_text(sjis("牛乳")), 2, 0, 198, line_text("memo")};
    month.row_count = 3;
    const std::tuple<int, const char*, std::string> cases[] = {{0, "2024_5.kzn", encode_kzn(month)},
                                                               {1, "2024_5.csv", encode_csv(month)}};
    for (const auto& [format, name, bytes] : cases) {
        SCOPED_TRACE(name);
        dir.write(name, bytes);
        form->state().changed_flag = true;
        answer(choice{QStringLiteral("2024"), 5, format});
        form->file_loadClick();
        EXPECT_TRUE(notify.messages.empty());
        ASSERT_EQ(form->table().row_count, 3);
        EXPECT_EQ(form->table().lines[2], month.lines[2]);
        EXPECT_EQ(state().open_path.view(), dir.file(name));
        EXPECT_EQ(state().open_name.view(), name);
        EXPECT_EQ(state().open_year, 2024);
        EXPECT_EQ(state().open_month, 5);
        EXPECT_FALSE(state().changed_flag);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Kozenica [%1]").arg(QString::fromLatin1(name)));
    }
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

    form->file_overwriteClick();
    EXPECT_EQ(runner.runs(), 1) << "a named month is overwritten without a dialog";
    EXPECT_EQ(dir.read("2024_5.csv"), sjis("1,,繰越,0,0,0,\r\n"));
}

TEST_F(file_commands, open_of_a_damaged_kzn_leaves_an_empty_unnamed_month) {
    dir.write("2024_5.kzn", "kozenic filX" + std::string("\x02\0\0\0", 4) + std::string(80, '\0'));
    answer(choice{QStringLiteral("2024"), 5, 0});
    form->file_loadClick();
    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_EQ(notify.messages[0].text,
              QStringLiteral("Kozenicaのデータではないか、もしくはファイルが壊れています\n") +
                  QString::fromStdString(dir.file("2024_5.kzn")));
    EXPECT_EQ(form->table().row_count, 2);
    EXPECT_EQ(form->table().lines[1], carried_forward_line());
    EXPECT_TRUE(state().open_path.empty() && state().open_name.empty());
    EXPECT_EQ(state().open_year, 0);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kozenica"));
}

TEST_F(file_commands, save_as_writes_the_chosen_format_or_nothing_on_cancel) {
    struct {
        bool ok;
        int format;
        const char* name;
        std::size_t bytes;  // 0: no file
        bool changed_after; // only a KZN save clears the flag
    } cases[] = {{false, 0, "2024_5.kzn", 0, true},
                 {true, 0, "2024_5.kzn", 96, false},
                 {true, 1, "2024_6.csv", 16, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const month_state before = state();
        form->state().changed_flag = true;
        answer(choice{QStringLiteral("2024"), c.name[5] - '0', c.format}, c.ok);
        form->file_saveClick();
        EXPECT_EQ(seen.back().caption, QStringLiteral(" 保　存"));
        EXPECT_EQ(dir.read(c.name).size(), c.bytes);
        EXPECT_EQ(state().open_path.view(), c.ok ? dir.file(c.name) : before.open_path.str());
        EXPECT_EQ(state().changed_flag, c.changed_after);
        if (c.ok) {
            EXPECT_EQ(form->windowTitle(), QStringLiteral("Kozenica [%1]").arg(QString::fromLatin1(c.name)));
        }
    }
    EXPECT_TRUE(notify.messages.empty());
}

TEST_F(file_commands, overwrite_without_a_name_is_save_as) {
    answer(choice{QStringLiteral("2025"), 1, 0});
    form->file_overwriteClick();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, QStringLiteral(" 保　存"));
    EXPECT_EQ(dir.read("2025_1.kzn").size(), 96u);
}

TEST_F(file_commands, next_dialog_proposes_the_month_and_format_last_chosen) {
    answer(choice{QStringLiteral("2023"), 12, 0});
    form->file_saveClick();
    answer(std::nullopt, false);
    form->file_loadClick();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].year, QStringLiteral("2023"));
    EXPECT_EQ(seen[1].month_index, 11);
    EXPECT_EQ(seen[1].format_item, 0);
    EXPECT_EQ(state().open_name.view(), "2023_12.kzn") << "a cancelled open changes nothing";
}

TEST_F(file_commands, empty_year_box_names_the_file_from_the_month_alone_and_keeps_the_year) {
    answer(choice{QStringLiteral("2023"), 12, 1});
    form->file_saveClick();
    answer(choice{QString(), 3, 1});
    form->file_saveClick();
    EXPECT_EQ(state().open_path.view(), dir.file("_3.csv"));
    EXPECT_EQ(state().open_year, 2023);
    EXPECT_EQ(state().open_month, 3);
}

TEST_F(file_commands, failed_save_reports_the_error_and_keeps_the_changed_flag) {
    // A directory where the month file should go makes the replacement fail.
    ASSERT_TRUE(QDir(QString::fromStdString(dir.path())).mkdir(QStringLiteral("2024_7.kzn")));
    form->state().changed_flag = true;
    answer(choice{QStringLiteral("2024"), 7, 0});
    form->file_saveClick();
    ASSERT_EQ(notify.messages.size(), 1u);
    EXPECT_EQ(notify.messages[0].kind, message_kind::error);
    EXPECT_EQ(notify.messages[0].text, general_io_error_text(EISDIR));
    EXPECT_TRUE(state().changed_flag);
}

TEST_F(file_commands, new_month_drops_the_month_in_hand_without_a_question) {
    answer(choice{QStringLiteral("2024"), 5, 0});
    form->file_saveClick();
    form->table().row_count = 3;
    form->zandaka_box()->setText(QStringLiteral("1,000"));
    form->file_createClick();
    EXPECT_TRUE(notify.messages.empty());
    EXPECT_EQ(form->table().row_count, 2);
    EXPECT_TRUE(state().open_path.empty());
    EXPECT_TRUE(form->zandaka_box()->text().isEmpty());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kozenica"));
}

} // namespace
} // namespace kozenica
