#pragma once
// The result table window of the cheapest-price search.

#include <QWidget>

namespace kozenica {

class hyou_form : public QWidget {
    Q_OBJECT
  public:
    // Created hidden at start-up, owned by the main window, kept for the run.
    explicit hyou_form(QWidget* owner);
};

} // namespace kozenica
