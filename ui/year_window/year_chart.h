#pragma once
// The chart of the year table: twelve bars, each stacked by kind in the pie's
// colours, last year's monthly expense totals as a line with marks, a scale
// with the "0," amounts and a legend. The window and the printed page paint
// the same chart into a rectangle of their own.

#include "core/year_table.h"

#include <QWidget>

class QPainter;

namespace kozenica {

// A step between scale lines of 1, 2 or 5 times a power of ten that divides
// the range up to top into at most `lines` parts.
[[nodiscard]] std::int64_t year_chart_step(std::int64_t top, int lines);

// Paints the chart into area with the font given (its size sets the texts').
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
