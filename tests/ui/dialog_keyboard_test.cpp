// The two month dialogs by keyboard: Tab into the format group lands on the
// chosen item, a year arrives however it is typed, and the period dialog's
// item box takes only what the month files can hold.
#include "window_testing.h"

#include <functional>

namespace kozenica::testing {
namespace {

// One dialog's parts as the keyboard meets them.
struct dialog_parts {
    QDialog* dialog;
    QWidget* before_format; // Tab from here goes into the format group
    QWidget* after_format;  // and Tab from the group goes here
    QRadioButton* kzn;
    QRadioButton* csv;
};

void show_active(QDialog& d) {
    d.show();
    QApplication::setActiveWindow(&d);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
}

void send_input(QWidget* to, const QString& preedit, const QString& commit) {
    QInputMethodEvent event(preedit, {});
    event.setCommitString(commit);
    QApplication::sendEvent(to, &event);
}

class dialogs : public ::testing::Test {
  protected:
    file_name_form file_form{nullptr};
    term_input_form term_form{nullptr};
    std::vector<dialog_parts> both() {
        return {{&file_form, file_form.year(), file_form.month(), file_form.kzn_item(), file_form.csv_item()},
                {&term_form, term_form.end_month_box(), term_form.ok_button(), term_form.kzn_item(),
                 term_form.csv_item()}};
    }
};

TEST_F(dialogs, tab_into_the_format_group_lands_on_the_chosen_item_and_the_arrows_choose) {
    for (const dialog_parts& d : both()) {
        show_active(*d.dialog);
        for (QRadioButton* chosen : {d.csv, d.kzn}) {
            chosen->setChecked(true);
            d.before_format->setFocus();
            QTest::keyClick(d.before_format, Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), chosen) << chosen->text().toStdString();
            QTest::keyClick(chosen, Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), d.after_format) << "one Tab stop for the group";
            QTest::keyClick(d.after_format, Qt::Key_Backtab);
            EXPECT_EQ(QApplication::focusWidget(), chosen) << "Shift+Tab comes back to the chosen item";
        }
        // On CSV, Left chooses KZN; Right goes back to CSV.
        d.csv->setChecked(true);
        d.csv->setFocus();
        QTest::keyClick(d.csv, Qt::Key_Left);
        EXPECT_TRUE(d.kzn->isChecked());
        EXPECT_EQ(QApplication::focusWidget(), d.kzn);
        QTest::keyClick(d.kzn, Qt::Key_Right);
        EXPECT_TRUE(d.csv->isChecked());
        EXPECT_EQ(QApplication::focusWidget(), d.csv);
        d.dialog->hide();
    }
}

TEST_F(dialogs, year_boxes_have_no_input_method_and_a_stray_commit_never_empties_them) {
    // what arrives in a year box holding 2023, all selected; the box then
    const std::tuple<const char*, std::function<void(QLineEdit*)>, const char*> cases[] = {
        {"half-width digits typed", [](QLineEdit* b) { QTest::keyClicks(b, u"1999"_s); }, "1999"},
        {"full-width digits committed", [](QLineEdit* b) { send_input(b, {}, u"２０２４"_s); }, "2023"},
        {"kana committed", [](QLineEdit* b) { send_input(b, {}, u"ねん"_s); }, "2023"},
    };
    std::vector<QLineEdit*> boxes = {file_form.year(), term_form.start_year_box(), term_form.end_year_box()};
    for (QLineEdit* box : boxes) {
        // An input method reaches only widgets that answer this with true.
        EXPECT_FALSE(box->inputMethodQuery(Qt::ImEnabled).toBool());
        for (const auto& [how, enter, expected] : cases) {
            box->setText(u"2023"_s);
            box->selectAll();
            enter(box);
            EXPECT_EQ(box->text(), QString::fromUtf8(expected)) << how;
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

} // namespace
} // namespace kozenica::testing
