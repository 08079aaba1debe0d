#pragma once
// The one crossing between the core's Shift-JIS bytes and Qt's QString
// (code page 932, "windows-31j": 0x81 0x60 is the wave dash).

#include <QString>
#include <string>
#include <string_view>

namespace kozenica {

[[nodiscard]] QString to_qstring(std::string_view sjis);
[[nodiscard]] std::string to_sjis(const QString& text);

// For the few ASCII texts of the program (file names, digits).
[[nodiscard]] inline QString ascii(std::string_view text) { return QString::fromLatin1(text.data(), qsizetype(text.size())); }

} // namespace kozenica
