#pragma once
// The controls a month file is chosen with, shared by the year/month dialog
// and the period dialog: a year box, a month list and the two format items.

#include <QString>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace kozenica {

// Whether text may enter a year box, typed or pasted: digits 0 to 9 only, so
// that the file name made from it never leaves the program's directory.
// Backspace and escape are editing keys, not text, and always work.
[[nodiscard]] bool yearKeyPress(const QString& typed);

// A year holds 16 bits, five digits, and may carry leading zeros; eight
// characters leave room for those and keep a month file's path short enough
// that the path cut never takes its extension.
inline constexpr int year_box_max_length = 8;

// A year box: digits only however the text arrives, no input method, at most
// year_box_max_length characters.
[[nodiscard]] QLineEdit* make_year_box(QWidget* parent);

// The month list, items "1" to "12", no input method.
[[nodiscard]] QComboBox* make_month_box(QWidget* parent);

// The "ファイル形式" frame with its KZN (id 0) and CSV (id 1) items, CSV
// chosen. The caller places the frame and its items.
struct format_choice {
    QGroupBox* frame = nullptr;
    QRadioButton* kzn = nullptr;
    QRadioButton* csv = nullptr;
    QButtonGroup* items = nullptr;

    // 0 for KZN, 1 for CSV.
    [[nodiscard]] int chosen() const;
};

// The items belong to `parent`, which frees them with the frame.
[[nodiscard]] format_choice make_format_choice(QWidget* parent);

} // namespace kozenica
