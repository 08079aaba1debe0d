#pragma once
// The price book's result window "底値表結果": a filter box over a table of
// one row per item. A header click sorts, Enter or a double-click asks for the
// item's price graph, Ctrl+C copies the selected rows as tab-separated text.

#include "core/lists.h"
#include "core/month_walk.h"
#include "core/price_book.h"

#include <QWidget>

class QLineEdit;
class QTableView;

namespace kozenica {

class book_model;

class book_form : public QWidget {
    Q_OBJECT
  public:
    // A separate window owned by the main window; it keeps its size for the
    // run and stores nothing.
    explicit book_form(QWidget* owner);

    // Shows a new book, sorted by item and unfiltered; the query is the
    // period it came from, for the price graphs asked from it.
    void set_book(const price_book& book, const kind_list& kinds, const period_query& query);

    [[nodiscard]] QLineEdit* filter_box() const { return filter_box_; }
    [[nodiscard]] QTableView* book_disp() const { return book_disp_; }
    [[nodiscard]] book_model* model() const { return model_; }
    [[nodiscard]] const period_query& query() const { return query_; }

    // The selected rows, in the table's order, with the header line.
    [[nodiscard]] QString selection_as_tsv() const;
    // Puts selection_as_tsv on the clipboard.
    void copy_selection() const;

  signals:
    // The user asked for the price graph of an item over the book's period.
    void graph_requested(const kozenica::period_query& query);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void request_graph(int row);

    QLineEdit* filter_box_ = nullptr;
    QTableView* book_disp_ = nullptr;
    book_model* model_ = nullptr;
    period_query query_;
};

} // namespace kozenica
