#include "storable_text.h"

#include <QLineEdit>
#include <QStringEncoder>
#include <algorithm>
#include <utility>

namespace kozenica {

namespace {

// Characters an input method may give in their Unicode form where the code
// page holds a look-alike under another code point (the wave dash of や～めた
// among them): each is stored as the code page's form.
constexpr std::pair<char32_t, char32_t> code_page_forms[] = {
    {0x301C, 0xFF5E}, // wave dash
    {0x2212, 0xFF0D}, // minus sign
    {0x2014, 0x2015}, // em dash
    {0x2016, 0x2225}, // double vertical line
    {0x00A2, 0xFFE0}, // cent sign
    {0x00A3, 0xFFE1}, // pound sign
    {0x00AC, 0xFFE2}, // not sign
};

char32_t code_page_form(char32_t c) {
    for (const auto& [unicode, code_page] : code_page_forms)
        if (c == unicode) return code_page;
    return c;
}

bool in_code_page(const QString& character) {
    QStringEncoder encoder("windows-31j");
    // The encoding runs only when its result is taken.
    [[maybe_unused]] const QByteArray bytes = encoder.encode(character);
    return !encoder.hasError();
}

// The storable form of the text, and of a caret position in it.
QString storable(const QString& text, int* pos) {
    if (in_code_page(text)) return text;
    QString kept;
    kept.reserve(text.size());
    int kept_pos = pos ? *pos : 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const char32_t c = code_page_form(QStringView(text).mid(i, width).toUcs4().value(0));
        const QString character = QString::fromUcs4(&c, 1);
        const bool keep = in_code_page(character);
        if (keep) kept += character;
        if (pos && i < *pos) kept_pos += int((keep ? character.size() : 0) - width);
        i += width;
    }
    if (pos) *pos = std::clamp(kept_pos, 0, int(kept.size()));
    return kept;
}

} // namespace

QString storable_text(const QString& text) {
    return storable(text, nullptr);
}

QValidator::State storable_text_validator::validate(QString& input, int& pos) const {
    QString kept = storable(input, &pos);
    if (kept != input) input = std::move(kept);
    return Acceptable;
}

void keep_storable(QLineEdit* box) {
    box->setValidator(new storable_text_validator(box));
}

} // namespace kozenica
