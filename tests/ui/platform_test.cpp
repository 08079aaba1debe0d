// The platform layer: outer sizes on a platform that draws a frame (the offscreen one draws 2
// pixels a side), the real message boxes' buttons and keys, and the session bus start-up joins.
#include "ui/platform/message_box.h"
#include "ui/platform/outer_frame.h"
#include "ui/platform/session_bus.h"
#include "ui/platform/sjis.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kozenica {
namespace {

using namespace Qt::StringLiterals;

void show_and_wait(QWidget& w) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();
}

// A size asked for comes out as the outer size, before and after the frame is known, and gives
// back what it was asked, so nothing grows or shrinks from one run to the next.
TEST(outer_frame, a_size_asked_for_is_the_outer_size_once_shown_and_comes_back_the_same) {
    QSize stored(300, 200);
    for (int run = 1; run <= 6; ++run) {
        QWidget main;
        outer_frame::of(main).set_outer_size(stored);
        EXPECT_EQ(outer_size_of(main), stored) << "run " << run << ", not shown yet";
        show_and_wait(main);
        EXPECT_EQ(main.frameGeometry().size(), stored) << "run " << run;
        EXPECT_NE(main.size(), stored) << "the platform draws no frame: this test shows nothing";
        stored = outer_size_of(main);
    }
    EXPECT_EQ(stored, QSize(300, 200));
}

TEST(outer_frame, a_window_takes_its_owners_frame_before_it_is_shown_and_keeps_a_size_the_user_gave) {
    QWidget main;
    outer_frame::of(main).set_outer_size({400, 300});
    show_and_wait(main);
    const QMargins frame(main.geometry().left() - main.frameGeometry().left(), 0, 0, 0);
    QDialog dialog(&main);
    outer_frame::of(dialog, true).set_outer_size({214, 229});
    EXPECT_EQ(dialog.size(), QSize(214 - 2 * frame.left(), 229 - 2 * frame.left())) << "the owner's frame";
    show_and_wait(dialog);
    EXPECT_EQ(dialog.frameGeometry().size(), QSize(214, 229));
    main.resize(500, 350);
    QApplication::processEvents();
    EXPECT_EQ(outer_size_of(main), QSize(500, 350) + QSize(2 * frame.left(), 2 * frame.left()));
}

// The offscreen screen is 800x800.
TEST(outer_frame, place_keeps_the_window_on_the_screen_and_usable_values_as_they_are) {
    // clang-format off
    const std::tuple<const char*, QRect, QRect> cases[] = {
        {"inside every limit", {40, 30, 500, 400}, {40, 30, 500, 400}}, {"no width", {10, 10, 0, 300}, {10, 10, 200, 300}},
        {"off the screen", {5000, 3000, 635, 450}, {165, 350, 635, 450}}, {"huge", {0, 0, 100000, 100000}, {0, 0, 800, 800}}};
    // clang-format on
    for (const auto& [what, wanted, expected] : cases) {
        QWidget w;
        outer_frame::of(w).place(wanted, {200, 100});
        show_and_wait(w);
        EXPECT_EQ(w.frameGeometry(), expected) << what;
    }
}

// Presses the key in the next box that opens, noting its buttons (the default
// one marked with *).
bool press_in_next_box(const std::function<bool()>& show, int key, QStringList& buttons) {
    QTimer::singleShot(0, [&, key] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        for (QAbstractButton* b : box->buttons())
            buttons << b->text() + (b == box->defaultButton() ? u"*"_s : QString());
        QTest::keyClick(box, Qt::Key(key));
    });
    return show();
}

TEST(message_boxes, defaults_and_escape_of_each_kind_of_question) {
    message_boxes boxes;
    const std::string text = to_sjis(u"テスト"_s);
    const QString yes = u"はい(&Y)"_s, no = u"いいえ(&N)"_s;
    // Each box: its buttons (the default marked), the answers to Return, Escape and Y (none: not pressed).
    // clang-format off
    const std::tuple<std::function<bool()>, QStringList, bool, bool, std::optional<bool>> cases[] = {
        {[&] { return boxes.ask_yes_no(message_kind::plain, text); }, {yes + u'*', no}, true, false, {}},
        {[&] { return boxes.ask_yes_no_default_no(message_kind::warning, text); }, {yes, no + u'*'}, false, false, true},
        {[&] { return boxes.tell_path_or_stop(message_kind::error, {text, "/x", {}}); }, {u"OK*"_s, u"中止"_s}, false, true, {}},
        {[&] { return boxes.ask_yes_no_cancel(message_kind::confirmation, text) != yes_no_cancel::cancel; },
         {u"ｷｬﾝｾﾙ*"_s, yes, no}, false, false, true}};
    // clang-format on
    for (const auto& [show, buttons, on_return, on_escape, on_y] : cases)
        for (const auto& [key, answer] : {std::pair(Qt::Key_Return, std::optional(on_return)),
                                          {Qt::Key_Escape, on_escape},
                                          {Qt::Key_Y, on_y}}) {
            QStringList seen;
            if (!answer) continue;
            EXPECT_EQ(std::pair(press_in_next_box(show, key, seen), seen), std::pair(*answer, buttons));
        }
}

// The bus library finds a session bus by the variable, by a socket of this user at the standard
// place, or through the X server: there the input method and the accessibility bus reach it, so
// start-up pins nothing. Only where the library would start a bus of its own is the place pinned.
TEST(session_bus, pinned_only_where_the_library_would_start_a_bus) {
    QTemporaryDir listening, plain_file, nothing;
    const std::string socket_dir = listening.path().toStdString(), file_dir = plain_file.path().toStdString(),
                      none = nothing.path().toStdString();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s/bus", socket_dir.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(fd, 1), 0);
    std::ofstream(file_dir + "/bus") << ""; // no socket: the library passes it by
    const std::tuple<const char*, std::string, bool, std::string> cases[] = {
        {"unix:path=/run/user/1000/bus", none, false, ""}, // the session names it
        {nullptr, socket_dir, false, ""},                  // it listens at the standard place
        {nullptr, none, true, ""},                         // the X server knows it (dbus-launch)
        {nullptr, none, false, "unix:path=" + none + "/bus"},
        {"", file_dir, false, "unix:path=" + file_dir + "/bus"}};
    for (const auto& [named, runtime_dir, x11_bus, pinned] : cases)
        EXPECT_EQ(session_bus_to_pin(named, runtime_dir, x11_bus), pinned)
            << (named ? named : "(unset)") << " " << runtime_dir << " " << x11_bus;
    ::close(fd);
}

} // namespace
} // namespace kozenica
