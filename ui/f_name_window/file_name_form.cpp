#include "file_name_form.h"

#include "core/ledger.h"
#include "ui/platform/fonts.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/outer_frame.h"
#include "ui/platform/placement.h"
#include "ui/platform/sjis.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kozenica {

std::string month_file_path(std::string_view program_dir, const QString& year_text, const QString& month_text,
                            bool csv) {
    std::string path(program_dir);
    path += to_sjis(year_text);
    path += '_';
    path += to_sjis(month_text);
    path += csv ? ".csv" : ".kzn";
    return path;
}

std::uint16_t year_of_text(const QString& year_text, std::uint16_t earlier) {
    bool ok = false;
    const qlonglong value = year_text.toLongLong(&ok);
    return ok ? static_cast<std::uint16_t>(value & 0xFFFF) : earlier;
}

namespace {

QLabel* fixed_label(const QString& text, int left, int width, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(left, 0, width, 12);
    return label;
}

void place(QWidget* w, int top) {
    w->move(w->x(), top);
}
int bottom_of(const QWidget* w) {
    return w->y() + w->height();
}

} // namespace

file_name_form::file_name_form(QWidget* owner) : QDialog(owner) {
    setFont(window_font());

    title_ = new QLabel(this);
    QFont title_font = font();
    title_font.setBold(true);
    title_font.setPixelSize(28);
    title_->setFont(title_font);
    title_->setAlignment(Qt::AlignCenter);
    title_->move(44, 5);

    Label3_ = fixed_label(QStringLiteral("年月とファイル形式を選択してください"), 8, 190, this);

    year_ = make_year_box(this);
    year_->setGeometry(16, 0, 77, 20);

    Label1_ = fixed_label(QStringLiteral("年"), 96, 12, this);

    month_ = make_month_box(this);
    month_->setGeometry(120, 0, 53, 20);

    Label2_ = fixed_label(QStringLiteral("月"), 176, 12, this);

    format_ = make_format_choice(this);
    format_.frame->setGeometry(20, 0, 157, 29);
    // 29 pixels leave no room for a frame below the caption, so the caption
    // sits on the frame's top line and the items fit inside.
    format_.frame->setStyleSheet(
        QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
                       "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 2px; }"));
    format_.kzn->setGeometry(10, 12, 66, 15);
    format_.csv->setGeometry(84, 12, 66, 15);

    ok_button_ = new QPushButton(QStringLiteral("OK"), this);
    ok_button_->setGeometry(16, 0, 81, 25);
    cancel_button_ = new QPushButton(QStringLiteral("やっぱやめる"), this);
    cancel_button_->setGeometry(108, 0, 81, 25);
    connect(ok_button_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(year_, format_.kzn);
    setTabOrder(format_.kzn, format_.csv);
    setTabOrder(format_.csv, month_);
    setTabOrder(month_, ok_button_);
    setTabOrder(ok_button_, cancel_button_);

    lay_out();
}

void file_name_form::select_format_item(int item) {
    (item == 0 ? format_.kzn : format_.csv)->setChecked(true);
}

void file_name_form::prepare(const QString& title_text, const QRect& main_outer) {
    title_->setText(title_text);
    setWindowTitle(title_text);
    outer_frame::of(*this, true).place_at(opening_point(main_outer, 11, 11));
    lay_out();
    // Typing a year replaces the proposed one rather than adding to it.
    year_->setFocus();
    year_->selectAll();
}

void file_name_form::lay_out() {
    title_->adjustSize();
    title_->setGeometry(44, 5, title_->width(), 28);
    place(Label3_, bottom_of(title_) + 10);
    place(year_, bottom_of(Label3_) + 10);
    place(Label1_, year_->y() + 5);
    place(Label2_, year_->y() + 5);
    place(month_, year_->y());
    place(format_.frame, bottom_of(year_) + 20);
    place(ok_button_, bottom_of(format_.frame) + 20);
    place(cancel_button_, ok_button_->y());
    outer_frame::of(*this, true)
        .set_outer_size({Label3_->width() + 3 * Label3_->x(), bottom_of(ok_button_) + 50});
}

bool year_month_dialog(file_name_form& form, modal_runner& runner, const year_month_request& request,
                       std::string& path, std::uint16_t& year, std::uint16_t& month) {
    if (!request.month_named) {
        year = static_cast<std::uint16_t>(request.today.year());
        month = static_cast<std::uint16_t>(request.today.month());
    }
    form.year()->setText(QString::number(year));
    if (month >= 1 && month <= 12) form.month()->setCurrentIndex(month - 1);
    form.prepare(request.title, request.main_outer);

    const bool ok = runner.run(form) == QDialog::Accepted;
    if (ok)
        path = month_file_path(request.program_dir, form.year()->text(), form.month()->currentText(),
                               form.format_item() == 1);
    year = year_of_text(form.year()->text(), year);
    month = static_cast<std::uint16_t>(form.month()->currentIndex() + 1);
    return ok;
}

} // namespace kozenica
