#pragma once
// Tells when a widget has painted: the window benchmarks stop their clock at
// the first paint event of the view they watch.
#include <QEvent>
#include <QObject>

namespace kozenica::bench {

class paint_watch : public QObject {
  public:
    bool painted = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace kozenica::bench
