#pragma once
// The ledger grid's model: row r of the grid (model row r - 1) is line r of the
// table; the horizontal header carries the header row's texts.

#include "core/ledger.h"

#include <QAbstractTableModel>
#include <string>
#include <vector>

namespace kozenica {

class ledger_model : public QAbstractTableModel {
    Q_OBJECT

  public:
    static constexpr int column_count = 8;

    ledger_model(shuushi_data& data, month_state& state, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Rebuilds every row from the table (after a new month, an open, a sort).
    void reload();

  private:
    shuushi_data& data_;
    month_state& state_;
    std::vector<std::string> column0_; // column 0 holds text of its own, stored nowhere else
};

} // namespace kozenica
