#pragma once
// The graph window of both graph commands: paint box at the top left, legend
// grid at the top right, table grid across the lower half.

#include <QDialog>

class QTableWidget;

namespace kozenica {

class graph_form : public QDialog {
    Q_OBJECT
  public:
    // graph_mode 1: monthly summary pie; 2: period price graph.
    graph_form(int graph_mode, QWidget* owner);

    [[nodiscard]] int graph_mode() const { return graph_mode_; }
    [[nodiscard]] QTableWidget* draw_Shuukei() const { return draw_Shuukei_; }
    [[nodiscard]] QTableWidget* taiou_list_box() const { return taiou_list_box_; }

  private:
    int graph_mode_;
    QTableWidget* draw_Shuukei_ = nullptr;
    QTableWidget* taiou_list_box_ = nullptr;
};

} // namespace kozenica
