#include "month_choice.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFocusEvent>
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

// A line edit tells an input method that it takes input whatever its
// attribute says; a year box says no, so that an input method left on never
// composes full-width digits there that the box would refuse.
class year_box : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
        if (query == Qt::ImEnabled) return false;
        return QLineEdit::inputMethodQuery(query);
    }
};

// Tab and Shift+Tab into the group land on the chosen item, as in any radio
// group; Qt on its own enters at whichever item had the focus last. The
// arrows move between the items and choose, as Qt does.
class tab_to_chosen : public QObject {
  public:
    explicit tab_to_chosen(QButtonGroup* items) : QObject(items), items_(items) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            QAbstractButton* chosen = items_->checkedButton();
            if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && chosen &&
                chosen != watched)
                chosen->setFocus(reason);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QButtonGroup* items_;
};

} // namespace

QLineEdit* make_year_box(QWidget* parent) {
    auto* box = new year_box(parent);
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
    auto* tab = new tab_to_chosen(choice.items);
    choice.kzn->installEventFilter(tab);
    choice.csv->installEventFilter(tab);
    choice.csv->setChecked(true);
    return choice;
}

} // namespace kozenica
