#include "list_form.h"

namespace kozenica {

list_form::list_form(QWidget* owner) : QWidget(owner, Qt::Window) { setWindowTitle(QStringLiteral("List")); }

} // namespace kozenica
