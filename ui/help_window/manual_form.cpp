#include "manual_form.h"

namespace kozenica {

manual_form::manual_form(QWidget* owner) : QWidget(owner, Qt::Window) {}

} // namespace kozenica
