#include "month_choice.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QValidator>
#include <algorithm>

namespace kozenica {

bool yearKeyPress(const QString& typed) {
    return std::all_of(typed.begin(), typed.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

namespace {

// Guards a year box against every way text can arrive: typing, pasting and
// dropping alike.
class year_validator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override {
        return yearKeyPress(input) ? Acceptable : Invalid;
    }
};

} // namespace

QLineEdit* make_year_box(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setValidator(new year_validator(box));
    box->setMaxLength(year_box_max_length);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->setInputMethodHints(Qt::ImhDigitsOnly);
    return box;
}

QComboBox* make_month_box(QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (int m = 1; m <= 12; ++m)
        box->addItem(QString::number(m));
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    return box;
}

int format_choice::chosen() const {
    return items->checkedId() == 0 ? 0 : 1;
}

format_choice make_format_choice(QWidget* parent) {
    format_choice choice;
    choice.frame = new QGroupBox(QStringLiteral("ファイル形式"), parent);
    choice.kzn = new QRadioButton(QStringLiteral("KZN"), choice.frame);
    choice.csv = new QRadioButton(QStringLiteral("CSV"), choice.frame);
    choice.items = new QButtonGroup(parent);
    choice.items->addButton(choice.kzn, 0);
    choice.items->addButton(choice.csv, 1);
    choice.csv->setChecked(true);
    return choice;
}

} // namespace kozenica
