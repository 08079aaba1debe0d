#include "term_input_form.h"

#include "ui/platform/fonts.h"
#include "ui/platform/outer_frame.h"
#include "ui/platform/placement.h"
#include "ui/platform/sjis.h"
#include "ui/platform/storable_text.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace kozenica {

namespace {

QLabel* make_label(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->adjustSize();
    return label;
}

void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(left, top, width, height);
}

// A label is at least as wide as its text needs, so that no font cuts it off,
// and as high as the dialog gives it.
void place_label(QLabel* label, int left, int top, int width, int height) {
    label->adjustSize();
    label->setGeometry(left, top, std::max(width, label->width()), height);
}

int bottom_of(const QWidget* w) {
    return w->y() + w->height();
}

} // namespace

term_input_form::term_input_form(QWidget* owner) : QDialog(owner) {
    setFont(window_font());
    build();
    lay_out();
    start_month_box_->setFocus();
}

void term_input_form::build() {
    name_box_ = new QLineEdit(this);
    keep_storable(name_box_);
    Label7_ = make_label(QString(), this);
    Label1_ = make_label(QStringLiteral("検索　開始月"), this);
    start_year_box_ = make_year_box(this);
    Label3_ = make_label(QStringLiteral("年"), this);
    start_month_box_ = make_month_box(this);
    Label5_ = make_label(QStringLiteral("月"), this);
    Label2_ = make_label(QStringLiteral("検索　終了月"), this);
    end_year_box_ = make_year_box(this);
    Label4_ = make_label(QStringLiteral("年"), this);
    end_month_box_ = make_month_box(this);
    Label6_ = make_label(QStringLiteral("月"), this);

    format_ = make_format_choice(this);
    auto* columns = new QHBoxLayout(format_.frame);
    columns->setContentsMargins(8, 0, 8, 0);
    columns->addWidget(format_.kzn);
    columns->addWidget(format_.csv);

    ok_button_ = new QPushButton(QStringLiteral("OK"), this);
    // "や～めた": the wave dash is the character that Shift-JIS 0x81 0x60 stands for.
    cancel_button_ = new QPushButton(to_qstring("\x82\xe2\x81\x60\x82\xdf\x82\xbd"), this);
    connect(ok_button_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);

    // The order of the keyboard: the start month first, the name box last.
    setTabOrder(start_month_box_, start_year_box_);
    setTabOrder(start_year_box_, end_year_box_);
    setTabOrder(end_year_box_, end_month_box_);
    setTabOrder(end_month_box_, format_.kzn);
    setTabOrder(format_.kzn, format_.csv);
    setTabOrder(format_.csv, ok_button_);
    setTabOrder(ok_button_, cancel_button_);
    setTabOrder(cancel_button_, name_box_);
}

void term_input_form::lay_out() {
    place(name_box_, 7, 10, 123, 20);
    place_label(Label7_, 135, name_box_->y() + 5, 0, 12);
    place_label(Label1_, 19, bottom_of(name_box_) + 20, 68, 12);
    place(start_year_box_, 11, bottom_of(Label1_) + 5, 84, 20);
    place_label(Label3_, 101, start_year_box_->y() + 5, 12, 12);
    place(start_month_box_, 126, start_year_box_->y(), 65, 20);
    place_label(Label5_, 197, start_year_box_->y() + 5, 12, 12);
    place_label(Label2_, 19, bottom_of(start_year_box_) + 10, 68, 12);
    place(end_year_box_, 11, bottom_of(Label2_) + 5, 84, 20);
    place_label(Label4_, 101, end_year_box_->y() + 5, 12, 12);
    place(end_month_box_, 126, end_year_box_->y(), 65, 20);
    place_label(Label6_, 197, end_year_box_->y() + 5, 12, 12);
    place(format_.frame, 30, bottom_of(end_year_box_) + 20, 148, 42);
    place(ok_button_, 20, bottom_of(format_.frame) + 20, 78, 20);
    place(cancel_button_, 116, ok_button_->y(), 78, 20);

    outer_size_ =
        QSize(name_box_->width() + Label7_->width() + 3 * name_box_->x(), bottom_of(ok_button_) + 40);
    outer_frame::of(*this, true).set_outer_size(outer_size_);
}

void term_input_form::set_command_texts(const QString& caption, const QString& label) {
    setWindowTitle(caption);
    Label7_->setText(label);
    lay_out();
}

void term_input_form::set_initial_month(int year, int month) {
    start_year_box_->setText(QString::number(year));
    end_year_box_->setText(QString::number(year));
    if (month < 1 || month > 12) return;
    start_month_box_->setCurrentIndex(month - 1);
    end_month_box_->setCurrentIndex(month - 1);
}

void term_input_form::place_over(const QWidget& main) {
    outer_frame::of(*this, true).place_at(opening_point(main.frameGeometry(), 3, 3));
}

period_query term_input_form::query() const {
    period_query q;
    q.start_year = year_of_text(to_sjis(start_year_box_->text()));
    q.start_month = static_cast<std::uint16_t>(start_month_box_->currentIndex() + 1);
    q.end_year = year_of_text(to_sjis(end_year_box_->text()));
    q.end_month = static_cast<std::uint16_t>(end_month_box_->currentIndex() + 1);
    q.file_format = format_.chosen();
    q.item_name.assign(to_sjis(name_box_->text()));
    return q;
}

} // namespace kozenica
