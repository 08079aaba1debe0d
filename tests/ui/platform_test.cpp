// The real message boxes: their buttons, the default one, and what Return, Escape and Y answer.
#include "ui/platform/message_box.h"
#include "ui/platform/session_bus.h"
#include "ui/platform/sjis.h"

#include <QApplication>
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
