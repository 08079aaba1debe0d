#pragma once
// The year/month dialog of the open and save-as commands. The user never types
// a file name: the month file's name follows from a year, a month and a format,
// so every month file lies in the program's directory.

#include "ui/platform/month_choice.h"

#include <QDate>
#include <QDialog>
#include <QRect>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kozenica {

class modal_runner;

// The month file's path: the program's directory (ending in its separator),
// the year text as typed, "_", the month text, ".kzn" or ".csv".
[[nodiscard]] std::string month_file_path(std::string_view program_dir, const QString& year_text,
                                          const QString& month_text, bool csv);

// The year box's text as a year: its low 16 bits, or the earlier year when the
// text is no number (an empty box).
[[nodiscard]] std::uint16_t year_of_text(const QString& year_text, std::uint16_t earlier);

class file_name_form : public QDialog {
    Q_OBJECT
  public:
    // Created once at start-up and reused, so its choices carry over.
    explicit file_name_form(QWidget* owner);

    [[nodiscard]] QLabel* title() const { return title_; }
    [[nodiscard]] QLabel* Label3() const { return Label3_; }
    [[nodiscard]] QLineEdit* year() const { return year_; }
    [[nodiscard]] QLabel* Label1() const { return Label1_; }
    [[nodiscard]] QComboBox* month() const { return month_; }
    [[nodiscard]] QLabel* Label2() const { return Label2_; }
    [[nodiscard]] QGroupBox* file_format() const { return format_.frame; }
    [[nodiscard]] QRadioButton* kzn_item() const { return format_.kzn; }
    [[nodiscard]] QRadioButton* csv_item() const { return format_.csv; }
    [[nodiscard]] QPushButton* ok_button() const { return ok_button_; }
    [[nodiscard]] QPushButton* cancel_button() const { return cancel_button_; }

    // 0 for KZN, 1 for CSV.
    [[nodiscard]] int format_item() const { return format_.chosen(); }
    void select_format_item(int item);

    // Sets the title, places the dialog from the main window's outer geometry
    // and lays the components out top to bottom.
    void prepare(const QString& title_text, const QRect& main_outer);

  private:
    void lay_out();

    QLabel* title_ = nullptr;
    QLabel* Label3_ = nullptr;
    QLineEdit* year_ = nullptr;
    QLabel* Label1_ = nullptr;
    QComboBox* month_ = nullptr;
    QLabel* Label2_ = nullptr;
    format_choice format_;
    QPushButton* ok_button_ = nullptr;
    QPushButton* cancel_button_ = nullptr;
};

struct year_month_request {
    QString title;
    QRect main_outer;         // the main window's outer geometry
    std::string program_dir;  // ending in its separator
    bool month_named = false; // the month in hand has a file (open_path is set)
    QDate today = QDate::currentDate();
};

// Asks for a year, a month and a format. On OK the path of the chosen month
// file is set and the result is true; otherwise the path is left alone. Year
// and month are updated from the dialog in both cases, as its boxes stand.
[[nodiscard]] bool year_month_dialog(file_name_form& form, modal_runner& runner,
                                     const year_month_request& request, std::string& path,
                                     std::uint16_t& year, std::uint16_t& month);

} // namespace kozenica
