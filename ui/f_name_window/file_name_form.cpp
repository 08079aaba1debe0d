#include "file_name_form.h"

namespace kozenica {

file_name_form::file_name_form(QWidget* owner) : QDialog(owner) {}

} // namespace kozenica
