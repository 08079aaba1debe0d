#include "storable_text.h"

#include "core/text_encoding.h"

#include <QLineEdit>
#include <algorithm>
#include <utility>

namespace kozenica {

namespace {

// The storable form of the text, and of a caret position in it.
QString storable(const QString& text, int* pos) {
    QString kept;
    kept.reserve(text.size());
    int kept_pos = pos ? *pos : 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const std::optional<char32_t> c = stored_character(QStringView(text).mid(i, width).toUcs4().value(0));
        const QString character = c ? QString::fromUcs4(&*c, 1) : QString();
        kept += character;
        if (pos && i < *pos) kept_pos += int(character.size() - width);
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
