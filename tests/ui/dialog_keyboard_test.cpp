// The two month dialogs: what their year boxes and item box take however text arrives, the period
// dialog's outer size, cancel text and first focus. (Tab through them: the journeys.)
#include "window_testing.h"

namespace kozenica::testing {
namespace {

void show_active(QDialog& d) {
    d.show();
    QApplication::setActiveWindow(&d);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
}

class dialogs : public ::testing::Test {
  protected:
    file_name_form file_form{nullptr};
    term_input_form term_form{nullptr};
};

// Every year box holds "2023", all selected, when the text arrives; no file name may leave the
// program's folder, and an input method's commit never empties the box.
TEST_F(dialogs, every_year_box_takes_digits_only_however_they_arrive) {
    using enum arrival;
    // clang-format off
    const std::tuple<const char*, arrival, const char*> cases[] = {
        {"1999", typed, "1999"}, {"1999", pasted, "1999"}, {"-19 9", typed, "199"}, {"-19 9", pasted, "2023"},
        {"../x", typed, "2023"}, {"4/../../etc", pasted, "2023"}, {"２０", typed, "2023"}, {"２０", pasted, "2023"},
        {"２０２４", stray, "2023"}, {"ねん", stray, "2023"}};
    // clang-format on
    for (QLineEdit* box : {file_form.year(), term_form.start_year_box(), term_form.end_year_box()}) {
        EXPECT_FALSE(box->inputMethodQuery(Qt::ImEnabled).toBool()); // no input method reaches it
        for (const auto& [text, how, expected] : cases) {
            box->setText(u"2023"_s);
            box->selectAll();
            offer(box, QString::fromUtf8(text), how);
            EXPECT_EQ(box->text(), QString::fromUtf8(expected)) << text << " " << int(how);
        }
    }
}

TEST_F(dialogs, the_item_box_takes_only_what_the_month_files_can_hold) {
    show_active(term_form);
    QLineEdit* box = term_form.name_box();
    for (const arrival how : {arrival::typed, arrival::pasted, arrival::committed}) {
        box->clear();
        box->setFocus();
        offer(box, u"牛é€😀𠮷乳"_s, how);
        EXPECT_EQ(box->text(), u"牛乳"_s) << int(how);
        EXPECT_EQ(term_form.query().item_name.str(), sjis("牛乳")) << int(how);
    }
}

TEST_F(dialogs, the_period_dialog_grows_with_its_label_cancels_with_a_wave_dash_and_opens_on_the_month) {
    QWidget owner;
    term_input_form form(&owner);
    form.set_command_texts(u"期間変動"_s, u"の変動を調べる"_s);
    EXPECT_EQ(form.outer_size(), QSize(123 + form.Label7()->width() + 21, 276));
    EXPECT_TRUE(form.csv_item()->isChecked());
    // "や～めた" with the wave dash that Shift-JIS 0x81 0x60 stands for.
    EXPECT_EQ(to_sjis(form.cancel_button()->text()), "\x82\xe2\x81\x60\x82\xdf\x82\xbd");
    show_active(form);
    EXPECT_EQ(QApplication::focusWidget(), form.start_month_box()); // first in tab order
}

} // namespace
} // namespace kozenica::testing
