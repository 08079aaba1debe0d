#pragma once
// The year/month dialog of the open and save-as commands.

#include <QDialog>

namespace kozenica {

class file_name_form : public QDialog {
    Q_OBJECT
  public:
    // Created once at start-up and reused, so its choices carry over.
    explicit file_name_form(QWidget* owner);
};

} // namespace kozenica
