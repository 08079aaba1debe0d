#pragma once
// The period dialog: an item name, a start and an end month, a file format.

#include <QDialog>

namespace kozenica {

class term_input_form : public QDialog {
    Q_OBJECT
  public:
    explicit term_input_form(QWidget* owner);
};

} // namespace kozenica
