#pragma once
// The two tables of the versions window: the month's versions, one row each,
// and the lines of one version as the ledger grid shows them.

#include "core/month_versions.h"

#include <QAbstractTableModel>
#include <vector>

namespace kozenica {

enum class version_column { time, lines, income, expense, added, removed, changed };
inline constexpr int version_columns = 7;

// When a version was kept, as the list shows it: "2026/12/07 08:15:30", with
// " (2)" after the second version of the same second.
[[nodiscard]] QString version_time_text(const version_time& when);

class versions_model : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void set_versions(std::vector<month_version> versions);
    [[nodiscard]] const month_version& version(int row) const { return versions_[std::size_t(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<month_version> versions_;
};

class version_lines_model : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    // The lines of the table, or none; the table outlives the model's use of it.
    void set_table(const shuushi_data* table);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const shuushi_data* table_ = nullptr;
};

} // namespace kozenica
