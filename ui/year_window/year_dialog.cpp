#include "year_dialog.h"

#include "core/month_walk.h"
#include "ui/platform/fonts.h"
#include "ui/platform/outer_frame.h"
#include "ui/platform/sjis.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kozenica {

year_dialog::year_dialog(QWidget* owner) : QDialog(owner) {
    setFont(window_font());
    setWindowTitle(QStringLiteral("年間集計"));
    prompt_ = new QLabel(QStringLiteral("集計する年とファイル形式を選択してください"), this);
    prompt_->adjustSize();
    prompt_->move(10, 10);
    year_box_ = make_year_box(this);
    year_box_->setGeometry(16, prompt_->y() + prompt_->height() + 10, 77, 20);
    year_label_ = new QLabel(QStringLiteral("年"), this);
    year_label_->adjustSize();
    year_label_->move(98, year_box_->y() + 4);

    format_ = make_format_choice(this);
    auto* columns = new QHBoxLayout(format_.frame);
    columns->setContentsMargins(8, 0, 8, 0);
    columns->addWidget(format_.kzn);
    columns->addWidget(format_.csv);
    format_.frame->setGeometry(16, year_box_->y() + 40, 148, 42);

    ok_button_ = new QPushButton(QStringLiteral("OK"), this);
    ok_button_->setGeometry(16, format_.frame->y() + 62, 78, 22);
    cancel_button_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel_button_->setGeometry(112, ok_button_->y(), 78, 22);
    connect(ok_button_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(year_box_, format_.kzn);
    setTabOrder(format_.kzn, format_.csv);
    setTabOrder(format_.csv, ok_button_);
    setTabOrder(ok_button_, cancel_button_);

    outer_frame::of(*this, true)
        .set_outer_size({std::max(prompt_->width() + 20, 210), ok_button_->y() + ok_button_->height() + 40});
}

void year_dialog::set_initial(int year, int file_format) {
    year_box_->setText(QString::number(year));
    (file_format == 0 ? format_.kzn : format_.csv)->setChecked(true);
    year_box_->setFocus();
    year_box_->selectAll();
}

std::uint16_t year_dialog::year() const {
    return year_of_text(to_sjis(year_box_->text()));
}

} // namespace kozenica
