#pragma once
// The one crossing between the core's Shift-JIS bytes and Qt's QString,
// through the core's code page 932 converter (0x81 0x60 is the wave dash).

#include "core/notifier.h"

#include <QString>
#include <string>
#include <string_view>

namespace kozenica {

[[nodiscard]] QString to_qstring(std::string_view sjis);
// A character the code page lacks becomes '?': a text box that stores or
// searches keeps such characters out first (storable_text).
[[nodiscard]] std::string to_sjis(const QString& text);

// A path as the file system's bytes, in the system's local 8-bit encoding (a
// folder named 家計簿 shows as 家計簿, whatever Shift-JIS would make of it).
[[nodiscard]] QString path_to_qstring(std::string_view path);
// A message that names a file: each part decoded with its own encoding.
[[nodiscard]] QString to_qstring(const path_message& text);

// For the few ASCII texts of the program (file names, digits).
[[nodiscard]] inline QString ascii(std::string_view text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace kozenica
