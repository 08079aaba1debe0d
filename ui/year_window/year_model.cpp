#include "year_model.h"

#include "ui/platform/sjis.h"

namespace kozenica {

void year_model::set_table(const year_table& table) {
    beginResetModel();
    cells_.clear();
    for (const year_cells& line : year_table_cells(table)) {
        QStringList texts;
        for (const std::string& cell : line)
            texts << to_qstring(cell);
        cells_.push_back(texts);
    }
    month_tips_.clear();
    for (const year_month_info& month : table.months)
        month_tips_ << to_qstring(month.reason);
    endResetModel();
}

int year_model::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(cells_.size()) - 1;
}

int year_model::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : year_table_columns;
}

QVariant year_model::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() + 1 >= int(cells_.size())) return {};
    if (role == Qt::DisplayRole) return cells_[std::size_t(index.row()) + 1].at(index.column());
    return {};
}

QVariant year_model::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || cells_.empty() || section < 0 || section >= year_table_columns)
        return {};
    if (role == Qt::DisplayRole) return cells_.front().at(section);
    const int month = section - first_month_column;
    if (role == Qt::ToolTipRole && month >= 0 && month < 12 && !month_tips_.at(month).isEmpty())
        return month_tips_.at(month);
    return {};
}

QString year_model::rows_as_tsv(const std::vector<int>& rows) const {
    if (cells_.empty()) return {};
    QString text = cells_.front().join(u'\t') + u'\n';
    for (const int row : rows)
        if (row >= 0 && row + 1 < int(cells_.size()))
            text += cells_[std::size_t(row) + 1].join(u'\t') + u'\n';
    return text;
}

} // namespace kozenica
