#pragma once
// The year table's cells for a table view: the heading line on the horizontal
// header, the names left and the amounts right, a heading's tooltip giving why
// a month could not be read.

#include "core/year_table.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

namespace kozenica {

class year_model : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void set_table(const year_table& table);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The heading line and the rows given, in that order, the cells as shown
    // and joined by tabs, a line break after each line.
    [[nodiscard]] QString rows_as_tsv(const std::vector<int>& rows) const;

  private:
    std::vector<QStringList> cells_; // the heading line first
    QStringList month_tips_;
};

} // namespace kozenica
