#pragma once
// The kind list window "List": kind numbers and names beside the ledger.

#include <QWidget>

namespace kozenica {

class list_form : public QWidget {
    Q_OBJECT
  public:
    // Created hidden at start-up, owned by the main window, kept for the run.
    explicit list_form(QWidget* owner);
};

} // namespace kozenica
