// Edit menu commands: row operations, balance, font, version.
#include "main_form.h"

namespace kozenica {

void main_form::go_top_line() {}
void main_form::go_bottom_line() {}
void main_form::font_menuClick() {}
void main_form::insert_lineClick() {}
void main_form::delete_lineClick() {}
void main_form::copy_befor_line() {}
void main_form::zandaka_calc_and_disp() {}
void main_form::date_sort() {}
void main_form::versionClick() {}

} // namespace kozenica
