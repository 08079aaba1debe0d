#pragma once
// The two halves of a period command, for commands that ask for a period the
// same way and for windows that draw a period's price graph again.

#include "core/month_walk.h"

#include <QString>
#include <optional>

namespace kozenica {

class main_form;

// Shows the period dialog with the command's caption and label, starting at
// the format of the month in hand's file where it has one; the query when the
// user pressed OK and the range is right, nothing otherwise (a wrong range
// has been told).
[[nodiscard]] std::optional<period_query> ask_period_query(main_form& form, const QString& caption,
                                                           const QString& label);

// The period price command over an asked query: the walk, then the graph
// window or the not-found message.
void show_period_graph(main_form& form, const period_query& query);

} // namespace kozenica
