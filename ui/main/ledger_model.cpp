#include "ledger_model.h"

#include "ui/platform/sjis.h"

namespace kozenica {

ledger_model::ledger_model(ledger_editor& editor, const shuushi_data& data, QObject* parent)
    : QAbstractTableModel(parent), editor_(editor), data_(data),
      shown_rows_(std::max(0, data.row_count - 1)) {}

int ledger_model::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_rows_;
}

int ledger_model::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : column_count;
}

QVariant ledger_model::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return to_qstring(editor_.cell(index.row() + 1, index.column()));
}

QVariant ledger_model::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QString headers[column_count] = {QString(),
                                                  QStringLiteral("日付"),
                                                  QStringLiteral("店名"),
                                                  QStringLiteral("品名"),
                                                  QStringLiteral("種類"),
                                                  QStringLiteral("収入"),
                                                  QStringLiteral("支出"),
                                                  QStringLiteral("メモ")};
    return section >= 0 && section < column_count ? QVariant(headers[section]) : QVariant();
}

Qt::ItemFlags ledger_model::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool ledger_model::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.row() >= shown_rows_) return false;
    const QString text = value.toString();
    if (text == data(index, Qt::EditRole).toString()) return true;
    const std::string before = editor_.cell(index.row() + 1, index.column());
    if (editor_.set_cell(index.row() + 1, index.column(), to_sjis(text)) != before)
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

void ledger_model::commit_drawn(const QModelIndex& index) {
    if (!index.isValid() || index.row() >= shown_rows_) return;
    const int row = index.row() + 1;
    (void)editor_.set_cell(row, index.column(), editor_.cell(row, index.column()));
}

void ledger_model::reload() {
    beginResetModel();
    shown_rows_ = std::max(0, data_.row_count - 1);
    endResetModel();
}

void ledger_model::sync() {
    const int rows = std::max(0, data_.row_count - 1);
    if (rows > shown_rows_) {
        beginInsertRows({}, shown_rows_, rows - 1);
        shown_rows_ = rows;
        endInsertRows();
    } else if (rows < shown_rows_) {
        beginRemoveRows({}, rows, shown_rows_ - 1);
        shown_rows_ = rows;
        endRemoveRows();
    }
    if (shown_rows_ > 0) emit dataChanged(index(0, 0), index(shown_rows_ - 1, column_count - 1));
}

} // namespace kozenica
