#pragma once
// The window fonts. The program asks for "ＭＳ Ｐゴシック" (12 px) and, for the
// manual, "ＭＳ 明朝" (13 px); fontconfig knows neither name, so both are
// mapped to the IPA faces that Debian ships.

#include <QFont>
#include <QStringList>

namespace kozenica {

void install_font_substitutions();
[[nodiscard]] QFont window_font();
[[nodiscard]] QFont manual_font();

} // namespace kozenica
