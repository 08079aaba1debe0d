// File menu commands and the close query.
#include "main_form.h"

namespace kozenica {

void main_form::file_createClick() {}
void main_form::file_loadClick() {}
void main_form::file_overwriteClick() {}
void main_form::file_saveClick() {}
void main_form::ExitClick() { close(); }
bool main_form::FormCloseQuery() { return true; }
void main_form::show_list_form() {}
void main_form::manual_menuClick() {}

} // namespace kozenica
