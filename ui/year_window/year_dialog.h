#pragma once
// The dialog "年間集計": the year to sum up and the format of its month files.

#include "ui/platform/month_choice.h"

#include <QDialog>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kozenica {

class year_dialog : public QDialog {
    Q_OBJECT
  public:
    explicit year_dialog(QWidget* owner);

    // The year and the format (0 KZN, 1 CSV) the dialog starts from; the year
    // box has the focus with its text selected, so typing replaces it.
    void set_initial(int year, int file_format);

    // The year box's year: 0 when it holds no year (as the other year boxes).
    [[nodiscard]] std::uint16_t year() const;
    [[nodiscard]] int file_format() const { return format_.chosen(); }

    [[nodiscard]] QLineEdit* year_box() const { return year_box_; }
    [[nodiscard]] QRadioButton* kzn_item() const { return format_.kzn; }
    [[nodiscard]] QRadioButton* csv_item() const { return format_.csv; }
    [[nodiscard]] QPushButton* ok_button() const { return ok_button_; }
    [[nodiscard]] QPushButton* cancel_button() const { return cancel_button_; }

  private:
    QLabel* prompt_ = nullptr;
    QLineEdit* year_box_ = nullptr;
    QLabel* year_label_ = nullptr;
    format_choice format_;
    QPushButton* ok_button_ = nullptr;
    QPushButton* cancel_button_ = nullptr;
};

} // namespace kozenica
