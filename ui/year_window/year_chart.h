#pragma once
// The chart of the year table painted: the bars in the pie's colours, last
// year's line in red, the scale lines light grey. The window and the printed
// page paint the same chart into a rectangle of their own.

#include "core/year_table.h"

#include <QWidget>

class QPainter;

namespace kozenica {

// Paints the chart (core/year_chart_geometry) into area with the font given,
// whose size sets the texts' and so the chart's proportions.
void paint_year_chart(QPainter& painter, const QRect& area, const year_table& table, const QFont& font);

// The chart as a widget that fills the space it is given.
class year_chart : public QWidget {
    Q_OBJECT
  public:
    explicit year_chart(QWidget* parent);
    void set_table(const year_table* table);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const year_table* table_ = nullptr;
};

} // namespace kozenica
