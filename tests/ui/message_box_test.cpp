// The real message boxes: buttons, the default that Return presses, and what
// Escape answers.
#include "ui/platform/message_box.h"
#include "ui/platform/sjis.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

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
    const std::function<bool()> ask = [&] { return boxes.ask_yes_no(message_kind::plain, text); };
    const std::function<bool()> careful = [&] {
        return boxes.ask_yes_no_default_no(message_kind::warning, text);
    };
    const std::function<bool()> stop = [&] {
        return boxes.tell_path_or_stop(message_kind::error, {text, "/x", {}});
    };
    const QString yes = u"はい(&Y)"_s, no = u"いいえ(&N)"_s;
    // clang-format off
    const std::tuple<const std::function<bool()>*, int, bool, QStringList> cases[] = {
        {&ask, Qt::Key_Return, true, {yes + u'*', no}},     {&ask, Qt::Key_Escape, false, {yes + u'*', no}},
        {&careful, Qt::Key_Return, false, {yes, no + u'*'}}, {&careful, Qt::Key_Escape, false, {yes, no + u'*'}},
        {&careful, Qt::Key_Y, true, {yes, no + u'*'}},
        {&stop, Qt::Key_Return, false, {u"OK*"_s, u"中止"_s}}, {&stop, Qt::Key_Escape, true, {u"OK*"_s, u"中止"_s}}};
    // clang-format on
    for (const auto& [show, key, answer, buttons] : cases) {
        QStringList seen;
        EXPECT_EQ(press_in_next_box(*show, key, seen), answer) << key;
        EXPECT_EQ(seen, buttons) << key;
    }
}

} // namespace
} // namespace kozenica
