// The monthly summary command.
#include "main_form.h"

namespace kozenica {

void main_form::show_graph_window() {}

} // namespace kozenica
