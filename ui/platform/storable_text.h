#pragma once
// What a text box whose text is stored or searched may hold: only characters
// that code page 932 has, since every such text ends up as Shift-JIS bytes in
// a month file or is compared with them. Anything else would be saved as a
// character the user never typed.

#include <QString>
#include <QValidator>

class QLineEdit;

namespace kozenica {

// The text with every character that code page 932 lacks left out, and every
// other one as it will show once stored: the few characters that Unix input
// methods give in their JIS form (the wave dash 〜, the minus sign −, the em
// dash —, the double vertical line ‖, the cent, pound and not signs) become
// the code page's look-alikes (～ － ― ∥ ￠ ￡ ￢), which are what the files hold.
[[nodiscard]] QString storable_text(const QString& text);

// Keeps a text box storable however text arrives: typed, pasted, dropped or
// committed by an input method. The rest of what arrived does enter, and the
// caret stays behind it.
class storable_text_validator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Gives the box a storable_text_validator.
void keep_storable(QLineEdit* box);

} // namespace kozenica
