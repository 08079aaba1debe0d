#include "hyou_form.h"

namespace kozenica {

hyou_form::hyou_form(QWidget* owner) : QWidget(owner, Qt::Window) {}

} // namespace kozenica
