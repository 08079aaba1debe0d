#include "versions_model.h"

#include "core/cell_commit.h"
#include "core/digits.h"
#include "ui/platform/sjis.h"

#include <QDateTime>

namespace kozenica {

namespace {

QString amount_text(std::int64_t amount) {
    return ascii(format_comma(amount));
}

QString version_cell(const month_version& v, version_column column) {
    if (!v.readable && column != version_column::time)
        return column == version_column::lines ? QStringLiteral("読めません") : QString();
    switch (column) {
    case version_column::time:
        return v.when ? version_time_text(*v.when) : path_to_qstring(v.name);
    case version_column::lines:
        return QString::number(v.table->line_count());
    case version_column::income:
        return amount_text(v.income);
    case version_column::expense:
        return amount_text(v.expense);
    case version_column::added:
        return QString::number(v.difference.added);
    case version_column::removed:
        return QString::number(v.difference.removed);
    case version_column::changed:
        break;
    }
    return QString::number(v.difference.changed);
}

} // namespace

QString version_time_text(const version_time& when) {
    QString text = QDateTime::fromSecsSinceEpoch(when.time).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    if (when.sequence > 1) text += QStringLiteral(" (%1)").arg(when.sequence);
    return text;
}

void versions_model::set_versions(std::vector<month_version> versions) {
    beginResetModel();
    versions_ = std::move(versions);
    endResetModel();
}

int versions_model::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(versions_.size());
}

int versions_model::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : version_columns;
}

QVariant versions_model::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const month_version& v = version(index.row());
    if (role == Qt::DisplayRole) return version_cell(v, version_column(index.column()));
    if (role == Qt::ToolTipRole) return path_to_qstring(v.name);
    return {};
}

QVariant versions_model::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= version_columns)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QString headers[version_columns] = {QStringLiteral("置きかえた日時"),
                                                     QStringLiteral("行数"),
                                                     QStringLiteral("収入"),
                                                     QStringLiteral("支出"),
                                                     QStringLiteral("追加"),
                                                     QStringLiteral("削除"),
                                                     QStringLiteral("変更")};
    return headers[section];
}

void version_lines_model::set_table(const shuushi_data* table) {
    beginResetModel();
    table_ = table;
    endResetModel();
}

int version_lines_model::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !table_ ? 0 : table_->line_count();
}

int version_lines_model::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ledger_columns - 1;
}

QVariant version_lines_model::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !table_ || role != Qt::DisplayRole) return {};
    return to_qstring(field_cell_text(table_->lines[std::size_t(index.row() + 1)], index.column() + 1));
}

QVariant version_lines_model::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical) return section + 1; // the line number, as the ledger grid counts
    static const QString headers[ledger_columns - 1] = {
        QStringLiteral("日付"), QStringLiteral("店名"), QStringLiteral("品名"), QStringLiteral("種類"),
        QStringLiteral("収入"), QStringLiteral("支出"), QStringLiteral("メモ")};
    return section >= 0 && section < ledger_columns - 1 ? QVariant(headers[section]) : QVariant();
}

} // namespace kozenica
