#pragma once
// The tool bar's small icons: pixel art in the 16 standard colours, drawn in
// code so that the program needs no image files.

#include <QImage>
#include <QString>

namespace kozenica {

// The icon of a tool button, by the button's object name ("file_load_button"
// and so on); a null image for a name without an icon.
[[nodiscard]] QImage tool_icon_image(const QString& button_name);

} // namespace kozenica
