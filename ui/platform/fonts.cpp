#include "fonts.h"

namespace kozenica {

namespace {
const QString gothic = QStringLiteral("ＭＳ Ｐゴシック");
const QString mincho = QStringLiteral("ＭＳ 明朝");
} // namespace

void install_font_substitutions() {
    QFont::insertSubstitutions(gothic, QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    QFont::insertSubstitutions(mincho, QStringList{QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho")});
}

QFont window_font() {
    QFont f(gothic);
    f.setPixelSize(12);
    return f;
}

QFont manual_font() {
    QFont f(mincho);
    f.setPixelSize(13);
    return f;
}

} // namespace kozenica
