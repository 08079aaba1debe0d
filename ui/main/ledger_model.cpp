#include "ledger_model.h"

#include "core/digits.h"
#include "ui/platform/sjis.h"

namespace kozenica {

ledger_model::ledger_model(shuushi_data& data, month_state& state, QObject* parent)
    : QAbstractTableModel(parent), data_(data), state_(state), column0_(max_rows + 1) {}

int ledger_model::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(0, data_.row_count - 1);
}

int ledger_model::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : column_count; }

QVariant ledger_model::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    const int r = index.row() + 1;
    const shuushi_line& line = data_.lines[std::size_t(r)];
    switch (index.column()) {
    case 0: return to_qstring(column0_[std::size_t(r)]);
    case 1: return ascii(day_cell_text(line.day));
    case 2: return to_qstring(line.shop.view());
    case 3: return to_qstring(line.item.view());
    case 4: return ascii(kind_cell_text(line.kind));
    case 5: return ascii(amount_cell_text(line.income));
    case 6: return ascii(amount_cell_text(line.expense));
    case 7: return to_qstring(line.memo.view());
    default: return {};
    }
}

QVariant ledger_model::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    static const QString headers[column_count] = {QString(),
                                                  QStringLiteral("日付"),
                                                  QStringLiteral("店名"),
                                                  QStringLiteral("品名"),
                                                  QStringLiteral("種類"),
                                                  QStringLiteral("収入"),
                                                  QStringLiteral("支出"),
                                                  QStringLiteral("メモ")};
    return section >= 0 && section < column_count ? headers[section] : QVariant();
}

void ledger_model::reload() {
    beginResetModel();
    endResetModel();
}

} // namespace kozenica
