#include "ui/platform/sjis.h"
#include "ui/term_window/term_input_form.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
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
    EXPECT_EQ(form.name_box()->geometry(), QRect(7, 10, 123, 20));
    EXPECT_EQ(form.end_month_box()->geometry(), QRect(126, 114, 65, 20));
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
    // The text, then what stays of it typed and pasted.
    const char* const cases[][3] = {
        {"2000", "2000", "2000"}, {"-19 9", "199", ""}, {"../x", "", ""}, {"２０", "", ""}};
    QWidget owner;
    term_input_form form(&owner);
    for (QLineEdit* box : {form.start_year_box(), form.end_year_box()}) {
        for (const auto& c : cases) {
            const QString text = QString::fromUtf8(c[0]);
            box->clear();
            for (const QChar ch : text) { // as an input method or keyboard layout delivers it
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
                QApplication::sendEvent(box, &press);
            }
            EXPECT_EQ(box->text(), QString::fromUtf8(c[1])) << c[0];
            box->clear();
            QApplication::clipboard()->setText(text);
            box->paste();
            EXPECT_EQ(box->text(), QString::fromUtf8(c[2])) << c[0];
        }
    }
}

} // namespace
} // namespace kozenica
