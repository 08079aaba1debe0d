#pragma once
// The period dialog: an item name, a start and an end month, a file format.
// Both period commands show it; they differ only in its two captions.

#include "core/month_walk.h"
#include "ui/platform/month_choice.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kozenica {

class term_input_form : public QDialog {
    Q_OBJECT
  public:
    explicit term_input_form(QWidget* owner);

    // The command's window caption and the text after the name box; the
    // controls are laid out again, since the label's width sets the window's.
    void set_command_texts(const QString& caption, const QString& label);
    // Both year boxes and both month lists; a month outside 1 to 12 leaves the
    // lists as they are.
    void set_initial_month(int year, int month);
    // Left a third of the main window's outer width in, top a third of its outer
    // height down.
    void place_over(const QWidget& main);

    // The answer as the walk takes it.
    [[nodiscard]] period_query query() const;

    [[nodiscard]] QLineEdit* name_box() const { return name_box_; }
    [[nodiscard]] QLabel* Label7() const { return Label7_; }
    [[nodiscard]] QLineEdit* start_year_box() const { return start_year_box_; }
    [[nodiscard]] QComboBox* start_month_box() const { return start_month_box_; }
    [[nodiscard]] QLineEdit* end_year_box() const { return end_year_box_; }
    [[nodiscard]] QComboBox* end_month_box() const { return end_month_box_; }
    [[nodiscard]] QGroupBox* file_format() const { return format_.frame; }
    [[nodiscard]] QRadioButton* kzn_item() const { return format_.kzn; }
    [[nodiscard]] QRadioButton* csv_item() const { return format_.csv; }
    [[nodiscard]] QPushButton* ok_button() const { return ok_button_; }
    [[nodiscard]] QPushButton* cancel_button() const { return cancel_button_; }

    // The outer size the layout asks for, before the window frame is taken off.
    [[nodiscard]] QSize outer_size() const { return outer_size_; }

  private:
    void build();
    void lay_out();

    QLineEdit* name_box_ = nullptr;
    QLabel* Label7_ = nullptr;
    QLabel* Label1_ = nullptr;
    QLineEdit* start_year_box_ = nullptr;
    QLabel* Label3_ = nullptr;
    QComboBox* start_month_box_ = nullptr;
    QLabel* Label5_ = nullptr;
    QLabel* Label2_ = nullptr;
    QLineEdit* end_year_box_ = nullptr;
    QLabel* Label4_ = nullptr;
    QComboBox* end_month_box_ = nullptr;
    QLabel* Label6_ = nullptr;
    format_choice format_;
    QPushButton* ok_button_ = nullptr;
    QPushButton* cancel_button_ = nullptr;
    QSize outer_size_;
};

} // namespace kozenica
