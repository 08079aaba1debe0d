#include "graph_form.h"

#include <QTableWidget>

namespace kozenica {

graph_form::graph_form(int graph_mode, QWidget* owner)
    : QDialog(owner), graph_mode_(graph_mode), draw_Shuukei_(new QTableWidget(this)),
      taiou_list_box_(new QTableWidget(this)) {}

} // namespace kozenica
