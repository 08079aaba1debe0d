#pragma once
// A grid's header row (or header column) drawn as the grid's cells are: the
// text on one line, 2 pixels in from the top and the sides, aligned per
// section and never centred vertically. A header row is 20 pixels high
// whatever the font, as the rows below it.

#include <QHeaderView>
#include <functional>

namespace kozenica {

class grid_header : public QHeaderView {
  public:
    static constexpr int row_height = 20;
    // The alignment of a section's text, by its logical index.
    using alignment_rule = std::function<Qt::Alignment(int section)>;

    grid_header(Qt::Orientation orientation, alignment_rule alignment, QWidget* parent);

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logical_index) const override;

  private:
    alignment_rule alignment_;
};

} // namespace kozenica
