#pragma once
// The kind list window "List": kind numbers and names beside the ledger, so the
// user can look up which number to type into the kind column. It only shows.

#include "core/lists.h"
#include "core/settings.h"

#include <QPoint>
#include <QRect>
#include <QWidget>

class QTableWidget;

namespace kozenica {

// Where a cell's text goes: the cell shrunk by 2 pixels on each side, the
// number column centred and the name column left-aligned, header row alike.
struct klist_cell_layout {
    QRect text_rect;
    Qt::Alignment alignment;
};
[[nodiscard]] klist_cell_layout draw_klistDrawCell(int column, const QRect& cell);

class list_form : public QWidget {
    Q_OBJECT
  public:
    // Created hidden at start-up, owned by the main window, kept for the run.
    explicit list_form(QWidget* owner);

    [[nodiscard]] QTableWidget* draw_klist() const { return draw_klist_; }

    // Fills the grid from the kind list and shows the window at top_left with
    // the stored outer size and column widths, in front. Moves and resizes made
    // by the user since the last showing are undone.
    void show_kinds(const kind_list& kinds, const window_settings& settings, QPoint top_left);

    // Its current column widths and size into the entries they came from.
    void take_back(window_settings& settings) const;

  private:
    void fill(const kind_list& kinds);

    QTableWidget* draw_klist_ = nullptr;
};

} // namespace kozenica
