#include "term_input_form.h"

namespace kozenica {

term_input_form::term_input_form(QWidget* owner) : QDialog(owner) {}

} // namespace kozenica
