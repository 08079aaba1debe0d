#include "ui/platform/sjis.h"
#include "ui/term_window/term_input_form.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace kozenica {
namespace {

TEST(TermInputForm, controlsStandWhereTheLayoutPutsThem) {
    QWidget owner;
    term_input_form form(&owner);
    form.set_command_texts(QStringLiteral("期間変動"), QStringLiteral("の変動を調べる"));
    const std::pair<QWidget*, QRect> cases[] = {
        {form.name_box(), {7, 10, 123, 20}},         {form.start_year_box(), {11, 67, 84, 20}},
        {form.start_month_box(), {126, 67, 65, 20}}, {form.end_year_box(), {11, 114, 84, 20}},
        {form.end_month_box(), {126, 114, 65, 20}},  {form.file_format(), {30, 154, 148, 42}},
        {form.ok_button(), {20, 216, 78, 20}},       {form.cancel_button(), {116, 216, 78, 20}},
    };
    for (const auto& [control, geometry] : cases)
        EXPECT_EQ(control->geometry(), geometry) << control->metaObject()->className();
    EXPECT_EQ(form.Label7()->pos(), QPoint(135, 15));
    EXPECT_EQ(form.outer_size(), QSize(123 + form.Label7()->width() + 21, 276));
    EXPECT_TRUE(form.csv_item()->isChecked());
    // "や～めた" with the wave dash that Shift-JIS 0x81 0x60 stands for.
    EXPECT_EQ(to_sjis(form.cancel_button()->text()), "\x82\xe2\x81\x60\x82\xdf\x82\xbd");

    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), form.start_month_box()); // first in tab order
}

TEST(TermInputForm, yearBoxesTakeDigitsOnlyTypedOrPasted) {
    const struct {
        QString text, typed_keeps, pasted_keeps;
    } cases[] = {
        {QStringLiteral("2000"), QStringLiteral("2000"), QStringLiteral("2000")},
        {QStringLiteral("-19 9"), QStringLiteral("199"), QString()},
        {QStringLiteral("../x"), QString(), QString()},
        {QStringLiteral("２０"), QString(), QString()},
    };
    QWidget owner;
    term_input_form form(&owner);
    for (QLineEdit* box : {form.start_year_box(), form.end_year_box()}) {
        for (const auto& c : cases) {
            box->clear();
            for (const QChar ch : c.text) { // as an input method or keyboard layout delivers it
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
                QApplication::sendEvent(box, &press);
            }
            EXPECT_EQ(box->text(), c.typed_keeps) << c.text.toStdString();
            box->clear();
            QApplication::clipboard()->setText(c.text);
            box->paste();
            EXPECT_EQ(box->text(), c.pasted_keeps) << c.text.toStdString();
        }
    }
}

} // namespace
} // namespace kozenica
