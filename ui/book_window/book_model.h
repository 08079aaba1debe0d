#pragma once
// The price book as the result window shows it: one row per item, the cells
// decoded once, the rows in the order of the last header click and narrowed
// to those that hold the filter text.

#include "core/lists.h"
#include "core/price_book.h"

#include <QAbstractTableModel>
#include <array>
#include <memory>
#include <vector>

namespace kozenica {

// The column headings, in the order of book_column.
[[nodiscard]] QString book_heading(int column);

// Where a column's texts stand in their cells: amounts and the rise right,
// dates centred, texts left; always from the top of the cell.
[[nodiscard]] Qt::Alignment book_cell_alignment(int column);

class book_model : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    // A new book, in item order and unfiltered.
    void set_book(std::vector<price_book_entry> entries, const kind_list& kinds);
    // Rows whose item, kind or either shop holds the text; all rows when empty.
    void set_filter(const QString& text);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

    // The entry shown in a row of the model.
    [[nodiscard]] const price_book_entry& entry(int row) const;
    // The header line and the given rows, each cell as shown, tab-separated,
    // every line ended by a line feed.
    [[nodiscard]] QString rows_as_tsv(const std::vector<int>& rows) const;

  private:
    using row_texts = std::array<QString, price_book_columns>;
    // The shown texts of an entry, made when a row is first drawn or copied:
    // a long book opens without decoding rows nobody looks at.
    const row_texts& texts_of(std::size_t entry) const;
    // The texts the filter looks in (item, kind, both shops), made at the
    // first filter text.
    void make_filter_texts();
    void refilter();

    std::vector<price_book_entry> entries_;
    kind_list kinds_;
    mutable std::vector<std::unique_ptr<row_texts>> texts_;
    std::vector<std::array<QString, 4>> filter_texts_;
    std::vector<std::size_t> order_; // every entry, in the current sort order
    std::vector<std::size_t> shown_; // the entries of order_ that pass the filter
    QString filter_;
};

} // namespace kozenica
