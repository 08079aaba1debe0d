// The manual window: manual.txt from the program's directory, one window per
// use, and the manual file that ships with the program.
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

TEST(manual_text, decodes_shift_jis_and_ends_lines_at_cr_lf_or_both) {
    const std::pair<std::string, QString> cases[] = {
        {"a\r\nb\r\n", QStringLiteral("a\nb\n")},
        {"a\rb\nc", QStringLiteral("a\nb\nc")},
        {"a\r\n\r\nb\n\rc", QStringLiteral("a\n\nb\n\nc")},
        {sjis("マニュアル\r\n繰越"), QStringLiteral("マニュアル\n繰越")},
        {"\x81\x60", QStringLiteral("\uff5e")}, // the wave dash of code page 932
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(manual_text(QByteArray(bytes.data(), qsizetype(bytes.size()))), expected);
}

class manual_window : public ::testing::Test {
  protected:
    void start(std::optional<std::string> manual) {
        if (manual) dir.write("manual.txt", *manual);
        form = std::make_unique<main_form>(dir.path(), notify, runner);
        // Shown, so that its frame is known; the outer frame at 0,0, 635 by 450.
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->setGeometry(0, 0, 635, 450);
        const QRect in = form->geometry(), frame = form->frameGeometry();
        form->setGeometry(QRect(0, 0, 635, 450)
                              .adjusted(in.left() - frame.left(), in.top() - frame.top(),
                                        in.right() - frame.right(), in.bottom() - frame.bottom()));
        notify.messages.clear();
    }
    QList<manual_form*> windows() const { return form->findChildren<manual_form*>(); }

    temp_program_dir dir;
    scripted_notifier notify;
    scripted_modal_runner runner;
    std::unique_ptr<main_form> form;
};

TEST_F(manual_window, each_use_opens_one_more_window_at_a_tenth_of_the_main_window) {
    start(sjis("使い方\r\n一行目\r\n"));
    form->manual_menuClick();
    form->manual_menuClick();
    ASSERT_EQ(windows().size(), 2);
    for (manual_form* m : windows()) {
        EXPECT_TRUE(m->isVisible());
        EXPECT_EQ(m->pos(), QPoint(63, 45));
        EXPECT_EQ(m->size(), QSize(504, 360));
        EXPECT_EQ(m->windowTitle(), QStringLiteral("MANUAL"));
        EXPECT_EQ(m->disp_manual()->toPlainText(), QStringLiteral("使い方\n一行目\n"));
        EXPECT_TRUE(m->disp_manual()->isReadOnly());
        EXPECT_EQ(m->disp_manual()->font().pixelSize(), 13);
    }
    EXPECT_TRUE(notify.messages.empty());

    QPointer<manual_form> first = windows()[0];
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()) << "a closed manual window is destroyed";
    ASSERT_EQ(windows().size(), 1);
    EXPECT_TRUE(windows()[0]->isVisible());
}

TEST_F(manual_window, empty_file_gives_an_empty_window) {
    start(std::string());
    form->manual_menuClick();
    ASSERT_EQ(windows().size(), 1);
    EXPECT_TRUE(windows()[0]->disp_manual()->toPlainText().isEmpty());
}

TEST_F(manual_window, missing_or_unreadable_file_names_the_full_path_and_shows_no_window) {
    for (const bool directory_in_its_place : {false, true}) {
        SCOPED_TRACE(directory_in_its_place);
        if (directory_in_its_place) {
            ASSERT_TRUE(QDir(QString::fromStdString(dir.path())).mkdir(QStringLiteral("manual.txt")));
        }
        start(std::nullopt);
        form->manual_menuClick();
        ASSERT_EQ(notify.messages.size(), 1u);
        EXPECT_EQ(notify.messages[0].kind, message_kind::error);
        EXPECT_EQ(notify.messages[0].text,
                  QStringLiteral("ﾌｧｲﾙ %1 は開けません").arg(QString::fromStdString(dir.file("manual.txt"))));
        EXPECT_TRUE(windows().isEmpty());
    }
}

// The manual that ships with the program: Shift-JIS with CR LF line ends, and
// it explains every menu command and the files.
TEST(shipped_manual, is_shift_jis_with_cr_lf_and_covers_every_command) {
    const QString here = QFileInfo(QString::fromUtf8(__FILE__)).absolutePath(); // tests/ui
    QFile file(here + QStringLiteral("/../../data/manual.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\r'));
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
    const QString text = manual_text(bytes);
    EXPECT_EQ(to_sjis(text).size(), std::size_t(bytes.size() - bytes.count('\r'))) << "decodes without loss";
    for (const char* topic : {"新規作成",
                              "開く",
                              "上書き保存する",
                              "名前をつけて保存する",
                              "終了",
                              "先頭へ移動",
                              "最終行へ移動",
                              "種類リストの表示",
                              "フォントの変更",
                              "行の挿入",
                              "行の削除",
                              "１行上をコピー",
                              "残高算出",
                              "日付順に並び替え",
                              "月内集計グラフの表示",
                              "期間変動グラフの表示",
                              "最安値探索",
                              "マニュアル",
                              "バージョン",
                              "kindlist.dat",
                              "corresp.dat",
                              "kozenic.int",
                              "2024_5.kzn",
                              "2024_5.csv",
                              "日付,店名,品名,種類,収入,支出,メモ"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(topic))) << topic;
}

} // namespace
} // namespace kozenica
