// The real message boxes: their buttons, the default one, and what Return, Escape and Y answer.
#include "ui/platform/message_box.h"
#include "ui/platform/sjis.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

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
        {[&] { return boxes.tell_path_or_stop(message_kind::error, {text, "/x", {}}); }, {u"OK*"_s, u"中止"_s}, false, true, {}}};
    // clang-format on
    for (const auto& [show, buttons, on_return, on_escape, on_y] : cases)
        for (const auto& [key, answer] : {std::pair(Qt::Key_Return, std::optional(on_return)),
                                          {Qt::Key_Escape, on_escape},
                                          {Qt::Key_Y, on_y}}) {
            QStringList seen;
            if (answer)
                EXPECT_EQ(std::pair(press_in_next_box(show, key, seen), seen), std::pair(*answer, buttons));
        }
}

} // namespace
} // namespace kozenica
