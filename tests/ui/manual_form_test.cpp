// The manual window: manual.txt from the program's directory, one window per
// use, and the program's own manual file.
#include "support/temp_program_dir.h"
#include "ui/help_window/manual_form.h"
#include "ui/main/main_form.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/scripted_notifier.h"
#include "ui/platform/sjis.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
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

TEST(manual_text, decodes_shift_jis_and_ends_lines_at_cr_lf_or_both) {
    struct {
        std::string bytes;
        QString expected;
    } cases[] = {
        {"a\r\nb\r\n", QStringLiteral("a\nb\n")},
        {"a\rb", QStringLiteral("a\nb")},
        {"a\nb", QStringLiteral("a\nb")},
        {"a\r\n\r\nb\n\rc", QStringLiteral("a\n\nb\n\nc")},
        {"", QString()},
        {sjis("マニュアル\r\n繰越"), QStringLiteral("マニュアル\n繰越")},
        {"\x81\x60", QStringLiteral("\uff5e")}, // the wave dash of code page 932
    };
    for (const auto& c : cases)
        EXPECT_EQ(manual_text(QByteArray(c.bytes.data(), qsizetype(c.bytes.size()))), c.expected);
}

// Puts a window's outer frame exactly at the given rectangle, whatever frame
// the platform draws around it.
void set_outer_geometry(QWidget& w, const QRect& outer) {
    w.setGeometry(outer);
    const QRect inner = w.geometry();
    const QRect frame = w.frameGeometry();
    w.setGeometry(outer.adjusted(inner.left() - frame.left(), inner.top() - frame.top(),
                                 inner.right() - frame.right(), inner.bottom() - frame.bottom()));
}

class manual_window : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("kindlist.dat", "1\r\nfood\r\n");
        form = std::make_unique<main_form>(dir.path(), notify, runner);
        set_outer_geometry(*form, {0, 0, 635, 450});
        notify.messages.clear();
    }
    QList<manual_form*> windows() const { return form->findChildren<manual_form*>(); }

    temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
};

TEST_F(manual_window, opens_at_a_tenth_of_the_main_window_showing_the_file) {
    dir.write("manual.txt", sjis("使い方\r\n一行目\r\n"));
    form->manual_menuClick();
    ASSERT_EQ(windows().size(), 1);
    manual_form* m = windows()[0];
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(m->pos(), QPoint(63, 45));
    EXPECT_EQ(m->size(), QSize(504, 360));
    EXPECT_EQ(m->windowTitle(), QStringLiteral("MANUAL"));
    EXPECT_EQ(m->disp_manual()->toPlainText(), QStringLiteral("使い方\n一行目\n"));
    EXPECT_TRUE(m->disp_manual()->isReadOnly());
    EXPECT_EQ(m->disp_manual()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(m->disp_manual()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(m->disp_manual()->geometry(), m->rect()) << "the text fills the window";
    EXPECT_TRUE(notify.messages.empty());
}

TEST_F(manual_window, geometry_follows_the_main_window_by_whole_tenths) {
    dir.write("manual.txt", "x");
    struct {
        QRect main;
        QRect expected;
    } cases[] = {
        {{100, 50, 640, 480}, {164, 98, 512, 384}},
        {{0, 0, 639, 459}, {63, 45, 504, 360}},
        {{5, 7, 9, 9}, {5, 7, 0, 0}},
    };
    for (const auto& c : cases) {
        set_outer_geometry(*form, c.main);
        form->manual_menuClick();
        manual_form* newest = windows().back();
        EXPECT_EQ(newest->pos(), c.expected.topLeft());
        if (c.expected.width() > 0) {
            EXPECT_EQ(newest->size(), c.expected.size());
        }
    }
}

TEST_F(manual_window, keeps_its_own_font_whatever_the_main_window_uses) {
    dir.write("manual.txt", "x");
    QFont big = form->font();
    big.setPixelSize(30);
    form->setFont(big);
    form->manual_menuClick();
    ASSERT_EQ(windows().size(), 1);
    EXPECT_EQ(windows()[0]->font().pixelSize(), 13);
    EXPECT_EQ(windows()[0]->disp_manual()->font().pixelSize(), 13);
    EXPECT_EQ(windows()[0]->font().family(), QStringLiteral("ＭＳ 明朝"));
}

TEST_F(manual_window, two_uses_give_two_windows_each_closed_on_its_own) {
    dir.write("manual.txt", "text");
    form->manual_menuClick();
    form->manual_menuClick();
    ASSERT_EQ(windows().size(), 2);
    QPointer<manual_form> first = windows()[0];
    QPointer<manual_form> second = windows()[1];
    EXPECT_NE(first, second);
    EXPECT_EQ(first->disp_manual()->toPlainText(), QStringLiteral("text"));
    EXPECT_EQ(second->disp_manual()->toPlainText(), QStringLiteral("text"));

    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()) << "a closed manual window is destroyed";
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(second->isVisible());
}

TEST_F(manual_window, missing_or_unreadable_file_names_the_full_path_and_shows_no_window) {
    struct {
        const char* name;
        bool make_directory;
    } cases[] = {{"missing", false}, {"a directory in its place", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        temp_program_dir own;
        scripted_notifier n;
        scripted_modal_runner r;
        if (c.make_directory) {
            ASSERT_TRUE(QDir(QString::fromStdString(own.path())).mkdir(QStringLiteral("manual.txt")));
        }
        main_form f(own.path(), n, r);
        n.messages.clear();
        f.manual_menuClick();
        ASSERT_EQ(n.messages.size(), 1u);
        EXPECT_EQ(n.messages[0].kind, message_kind::error);
        EXPECT_EQ(n.messages[0].text, QStringLiteral("ﾌｧｲﾙ ") +
                                          QString::fromStdString(own.file("manual.txt")) +
                                          QStringLiteral(" は開けません"));
        EXPECT_TRUE(f.findChildren<manual_form*>().isEmpty());
    }
}

TEST_F(manual_window, empty_file_gives_an_empty_window) {
    dir.write("manual.txt", "");
    form->manual_menuClick();
    ASSERT_EQ(windows().size(), 1);
    EXPECT_TRUE(windows()[0]->isVisible());
    EXPECT_TRUE(windows()[0]->disp_manual()->toPlainText().isEmpty());
}

// The manual that ships with the program: Shift-JIS with CR LF line ends, and
// it explains every command of the menus.
class shipped_manual : public ::testing::Test {
  protected:
    void SetUp() override {
        // This file lies in tests/ui of the source tree.
        const QString here = QFileInfo(QString::fromUtf8(__FILE__)).absolutePath();
        QFile file(here + QStringLiteral("/../../data/manual.txt"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "data/manual.txt";
        bytes = file.readAll();
    }
    QByteArray bytes;
};

TEST_F(shipped_manual, is_shift_jis_with_cr_lf_line_ends) {
    ASSERT_FALSE(bytes.isEmpty());
    const QString text = manual_text(bytes);
    EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));
    EXPECT_EQ(to_sjis(text).size(), std::size_t(bytes.size() - bytes.count('\r')));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at byte " << i;
        }
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at byte " << i;
        }
    }
}

TEST_F(shipped_manual, explains_every_menu_command_and_the_files) {
    const QString text = manual_text(bytes);
    const QString topics[] = {
        QStringLiteral("新規作成"),
        QStringLiteral("開く"),
        QStringLiteral("上書き保存する"),
        QStringLiteral("名前をつけて保存する"),
        QStringLiteral("終了"),
        QStringLiteral("先頭へ移動"),
        QStringLiteral("最終行へ移動"),
        QStringLiteral("種類リストの表示"),
        QStringLiteral("フォントの変更"),
        QStringLiteral("行の挿入"),
        QStringLiteral("行の削除"),
        QStringLiteral("１行上をコピー"),
        QStringLiteral("残高算出"),
        QStringLiteral("日付順に並び替え"),
        QStringLiteral("月内集計グラフの表示"),
        QStringLiteral("期間変動グラフの表示"),
        QStringLiteral("最安値探索"),
        QStringLiteral("マニュアル"),
        QStringLiteral("バージョン"),
        QStringLiteral("kindlist.dat"),
        QStringLiteral("corresp.dat"),
        QStringLiteral("kozenic.int"),
        QStringLiteral("2024_5.kzn"),
        QStringLiteral("2024_5.csv"),
        QStringLiteral("日付,店名,品名,種類,収入,支出,メモ"),
        QStringLiteral("$"),
        QStringLiteral("99"),
        QStringLiteral("1999"),
        QStringLiteral("CR LF"),
    };
    for (const QString& topic : topics)
        EXPECT_TRUE(text.contains(topic)) << topic.toStdString();
}

} // namespace
} // namespace kozenica
