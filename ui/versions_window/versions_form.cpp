#include "versions_form.h"

#include "core/cell_commit.h"
#include "ui/platform/cell_painting.h"
#include "ui/platform/fonts.h"
#include "versions_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace kozenica {

namespace {

constexpr int row_height = 20;
constexpr int list_widths[version_columns] = {150, 40, 76, 76, 36, 36, 36};
constexpr int line_widths[ledger_columns - 1] = {36, 110, 110, 36, 70, 70, 110};

// Amounts and counts right, texts left, as the result tables read.
int list_alignment(const QModelIndex& index) {
    return int(Qt::AlignTop | (index.column() == 0 ? Qt::AlignLeft : Qt::AlignRight));
}
int line_alignment(const QModelIndex& index) {
    const bool text = index.column() == 1 || index.column() == 2 || index.column() == 6;
    return int(Qt::AlignTop | (text ? Qt::AlignLeft : Qt::AlignRight));
}

QTableView* make_table(QWidget* parent, const char* name, QAbstractItemModel* model,
                       result_cell_delegate::alignment_rule rule, const int* widths) {
    auto* table = new QTableView(parent);
    table->setObjectName(QLatin1String(name));
    table->setModel(model);
    table->setItemDelegate(new result_cell_delegate(rule, table));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setWordWrap(false);
    table->setTabKeyNavigation(false);
    table->horizontalHeader()->setFixedHeight(row_height);
    table->horizontalHeader()->setHighlightSections(false);
    for (int c = 0; c < model->columnCount(); ++c)
        table->setColumnWidth(c, widths[c]);
    // Rows of one height let a month of 1999 lines scroll without measuring.
    QHeaderView* side = table->verticalHeader();
    side->setSectionResizeMode(QHeaderView::Fixed);
    side->setMinimumSectionSize(0);
    side->setDefaultSectionSize(row_height);
    return table;
}

} // namespace

versions_form::versions_form(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("versions_form"));
    setWindowTitle(QStringLiteral("以前の版"));
    setFont(window_font());
    message_line_ = new QLabel(this);
    message_line_->setObjectName(QStringLiteral("message_line"));

    model_ = new versions_model(this);
    lines_ = new version_lines_model(this);
    auto* split = new QSplitter(this);
    versions_list_ = make_table(split, "versions_list", model_, list_alignment, list_widths);
    versions_list_->verticalHeader()->hide();
    lines_disp_ = make_table(split, "lines_disp", lines_, line_alignment, line_widths);
    split->addWidget(versions_list_);
    split->addWidget(lines_disp_);
    split->setSizes({470, 580});
    connect(versions_list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { show_version(current.row()); });

    restore_button_ = new QPushButton(QStringLiteral("この版に戻す(&R)"), this);
    restore_button_->setObjectName(QStringLiteral("restore_button"));
    restore_button_->setEnabled(false);
    connect(restore_button_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(restore_button_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(message_line_);
    column->addWidget(split, 1);
    column->addLayout(buttons);
    resize(1060, 440);
}

void versions_form::set_versions(std::vector<month_version> versions, const QString& none_text) {
    const bool none = versions.empty();
    model_->set_versions(std::move(versions));
    if (none) {
        message_line_->setText(none_text);
        show_version(-1);
        return;
    }
    message_line_->setText(
        QStringLiteral("保存で置きかえられる前の内容です。選ぶと、その版の行を右に表示します"));
    versions_list_->setCurrentIndex(model_->index(0, 0));
    versions_list_->setFocus();
}

void versions_form::show_version(int row) {
    const bool readable = row >= 0 && row < model_->rowCount() && model_->version(row).readable;
    lines_->set_table(readable ? model_->version(row).table.get() : nullptr);
    restore_button_->setEnabled(readable);
}

int versions_form::selected_row() const {
    return versions_list_->currentIndex().row();
}

const shuushi_data* versions_form::chosen() const {
    const int row = selected_row();
    if (row < 0 || row >= model_->rowCount() || !model_->version(row).readable) return nullptr;
    return model_->version(row).table.get();
}

} // namespace kozenica
