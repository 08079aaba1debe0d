#include "support/temp_program_dir.h"
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
    EXPECT_GE(form.Label7()->width(), form.Label7()->fontMetrics().horizontalAdvance(form.Label7()->text()));
    EXPECT_EQ(form.outer_size().height(), 276);
    EXPECT_EQ(form.outer_size().width(), 123 + form.Label7()->width() + 21);
    EXPECT_TRUE(form.csv_item()->isChecked());
    // "や～めた" with the wave dash that Shift-JIS 0x81 0x60 stands for.
    EXPECT_EQ(to_sjis(form.cancel_button()->text()), "\x82\xe2\x81\x60\x82\xdf\x82\xbd");
}

TEST(TermInputForm, tabOrderStartsAtTheStartMonth) {
    QWidget owner;
    term_input_form form(&owner);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), form.start_month_box());
    const std::vector<QWidget*> order{form.start_year_box(), form.end_year_box(),   form.end_month_box(),
                                      form.file_format(),    form.ok_button(),      form.cancel_button(),
                                      form.name_box(),       form.start_month_box()};
    for (QWidget* expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // The format group is one stop, on one of its two items.
        if (focus && focus->parentWidget() == form.file_format()) focus = form.file_format();
        EXPECT_EQ(focus, expected) << expected->metaObject()->className();
    }
}

// Types each character as a key press carrying its text, as an input method
// or a keyboard layout would deliver it.
void type_text(QWidget* box, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(box, &press);
    }
}

struct typing_case {
    QString typed;
    QString kept;
};

TEST(TermInputForm, yearBoxesTakeDigitsOnlyTypedOrPasted) {
    const typing_case typed[] = {
        {QStringLiteral("2000"), QStringLiteral("2000")},
        {QStringLiteral("20a0"), QStringLiteral("200")},
        {QStringLiteral("-19 9"), QStringLiteral("199")},
        {QStringLiteral("２０"), QString()},
        {QStringLiteral("../x"), QString()},
    };
    QWidget owner;
    term_input_form form(&owner);
    for (QLineEdit* box : {form.start_year_box(), form.end_year_box()}) {
        for (const auto& c : typed) {
            box->clear();
            type_text(box, c.typed);
            EXPECT_EQ(box->text(), c.kept) << c.typed.toStdString();
        }
        const typing_case pasted[] = {
            {QStringLiteral("1999"), QStringLiteral("1999")},
            {QStringLiteral("19x9"), QString()},
            {QStringLiteral("../../etc"), QString()},
            {QStringLiteral("１９９９"), QString()},
        };
        for (const auto& c : pasted) {
            box->clear();
            QApplication::clipboard()->setText(c.typed);
            box->paste();
            EXPECT_EQ(box->text(), c.kept) << c.typed.toStdString();
        }
        EXPECT_FALSE(box->testAttribute(Qt::WA_InputMethodEnabled));
    }
}

struct query_case {
    QString name, start_year, end_year;
    int start_month_index, end_month_index;
    bool kzn;
    period_query expected;
};

period_query q(std::uint16_t sy, std::uint16_t sm, std::uint16_t ey, std::uint16_t em, std::int32_t format,
               std::string_view item) {
    period_query p;
    p.start_year = sy;
    p.start_month = sm;
    p.end_year = ey;
    p.end_month = em;
    p.file_format = format;
    p.item_name.assign(item);
    return p;
}

TEST(TermInputForm, queryTakesTheFieldsAsTheWalkNeedsThem) {
    const std::string twenty = testing::sjis("あいうえおかきくけこ");
    const query_case cases[] = {
        {QStringLiteral("牛乳"), QStringLiteral("1999"), QStringLiteral("2000"), 10, 1, false,
         q(1999, 11, 2000, 2, 1, testing::sjis("牛乳"))},
        {QStringLiteral("milk"), QString(), QStringLiteral("2000"), 0, 11, true,
         q(0, 1, 2000, 12, 0, "milk")},
        {QStringLiteral("あいうえおかきくけこさ"), QStringLiteral("70000"), QStringLiteral("0065535"), 0, 0,
         false, q(0, 1, 65535, 1, 1, twenty)},
        {QString(), QStringLiteral("1"), QStringLiteral("1"), 0, 0, false, q(1, 1, 1, 1, 1, "")},
    };
    for (const auto& c : cases) {
        QWidget owner;
        term_input_form form(&owner);
        form.name_box()->setText(c.name);
        form.start_year_box()->setText(c.start_year);
        form.end_year_box()->setText(c.end_year);
        form.start_month_box()->setCurrentIndex(c.start_month_index);
        form.end_month_box()->setCurrentIndex(c.end_month_index);
        if (c.kzn) form.kzn_item()->setChecked(true);
        const period_query got = form.query();
        EXPECT_EQ(got.start_year, c.expected.start_year);
        EXPECT_EQ(got.start_month, c.expected.start_month);
        EXPECT_EQ(got.end_year, c.expected.end_year);
        EXPECT_EQ(got.end_month, c.expected.end_month);
        EXPECT_EQ(got.file_format, c.expected.file_format);
        EXPECT_EQ(got.item_name.view(), c.expected.item_name.view());
    }
}

} // namespace
} // namespace kozenica
