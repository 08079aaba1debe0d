#pragma once
// The ledger grid's model: model row i is grid row i + 1, that is line i + 1
// of the table; the horizontal header carries the header row's texts. Every
// text goes through the ledger editor, which commits typed text into the line
// and yields the cell's normal form.

#include "core/ledger_editor.h"

#include <QAbstractTableModel>

namespace kozenica {

class ledger_model : public QAbstractTableModel {
    Q_OBJECT

  public:
    static constexpr int column_count = ledger_columns;

    ledger_model(ledger_editor& editor, const shuushi_data& data, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Commits the text into the line. A text equal to what the cell shows
    // changes nothing, so an editor showing a cell's normal form never feeds
    // it back as a change.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Drawing a cell of a line commits its text, which marks the month as
    // changed; the text is already in its normal form.
    void commit_drawn(const QModelIndex& index);

    // Rebuilds every row from the table (after a new month, an open, a sort).
    void reload();
    // Brings the rows in step with the table after the editor has added,
    // removed or moved lines, keeping the view's persistent editor alive.
    void sync();

  private:
    ledger_editor& editor_;
    const shuushi_data& data_;
    int shown_rows_ = 0; // rows the views know of; equals row count - 1 between commands
};

} // namespace kozenica
