// The period commands: price-change graph and cheapest-price search.
#include "main_form.h"

namespace kozenica {

void main_form::term_graph() {}
void main_form::search_bottom_price() {}

} // namespace kozenica
