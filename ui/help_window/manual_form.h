#pragma once
// The manual window "MANUAL": manual.txt, read-only, one window per use.

#include <QWidget>

namespace kozenica {

class manual_form : public QWidget {
    Q_OBJECT
  public:
    explicit manual_form(QWidget* owner);
};

} // namespace kozenica
