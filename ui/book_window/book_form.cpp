#include "book_form.h"

#include "book_model.h"
#include "ui/platform/cell_painting.h"
#include "ui/platform/fonts.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace kozenica {

namespace {

constexpr int row_height = 20;
constexpr int initial_width = 760;
constexpr int initial_height = 360;
constexpr int column_widths[price_book_columns] = {120, 70, 40, 60, 90, 76, 60, 90, 76, 50};

// The cells are drawn as the other result tables draw theirs; only the
// alignment is the book's own.
int book_cell_rule(const QModelIndex& index) {
    return int(book_cell_alignment(index.column()));
}

} // namespace

book_form::book_form(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("book_form"));
    setFont(window_font());
    filter_box_ = new QLineEdit(this);
    filter_box_->setObjectName(QStringLiteral("filter_box"));
    filter_box_->setPlaceholderText(QStringLiteral("絞り込み"));
    filter_box_->setClearButtonEnabled(true);

    model_ = new book_model(this);
    book_disp_ = new QTableView(this);
    book_disp_->setObjectName(QStringLiteral("book_disp"));
    book_disp_->setModel(model_);
    book_disp_->setItemDelegate(new result_cell_delegate(book_cell_rule, book_disp_));
    book_disp_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    book_disp_->setSelectionBehavior(QAbstractItemView::SelectRows);
    book_disp_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    book_disp_->setWordWrap(false);
    book_disp_->setTabKeyNavigation(false);
    book_disp_->installEventFilter(this);

    QHeaderView* top = book_disp_->horizontalHeader();
    top->setMinimumSectionSize(0);
    top->setSectionResizeMode(QHeaderView::Interactive);
    top->setFixedHeight(row_height);
    top->setHighlightSections(false);
    top->setSortIndicatorShown(true);
    top->setSectionsClickable(true);
    for (int c = 0; c < price_book_columns; ++c)
        book_disp_->setColumnWidth(c, column_widths[c]);
    // Rows of one height let a long book scroll and paint without measuring.
    QHeaderView* side = book_disp_->verticalHeader();
    side->setSectionResizeMode(QHeaderView::Fixed);
    side->setMinimumSectionSize(0);
    side->setDefaultSectionSize(row_height);
    side->hide();
    // The model sorts itself; the header only asks (the book opens by item).
    connect(top, &QHeaderView::sortIndicatorChanged, model_, &book_model::sort);
    top->setSortIndicator(int(book_column::item), Qt::AscendingOrder);

    connect(filter_box_, &QLineEdit::textChanged, model_, &book_model::set_filter);
    connect(book_disp_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& at) { request_graph(at.row()); });

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(filter_box_);
    column->addWidget(book_disp_);
    setTabOrder(filter_box_, book_disp_);

    setWindowTitle(QStringLiteral("底値表結果"));
    resize(initial_width, initial_height);
}

void book_form::set_book(const price_book& book, const kind_list& kinds, const period_query& query) {
    query_ = query;
    filter_box_->blockSignals(true);
    filter_box_->clear();
    filter_box_->blockSignals(false);
    QHeaderView* top = book_disp_->horizontalHeader();
    top->blockSignals(true);
    top->setSortIndicator(int(book_column::item), Qt::AscendingOrder);
    top->blockSignals(false);
    model_->set_book(book.entries().to_vector(), kinds);
    if (model_->rowCount() > 0) book_disp_->setCurrentIndex(model_->index(0, 0));
}

QString book_form::selection_as_tsv() const {
    std::vector<int> rows;
    for (const QModelIndex& index : book_disp_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return model_->rows_as_tsv(rows);
}

void book_form::copy_selection() const {
    QApplication::clipboard()->setText(selection_as_tsv());
}

void book_form::request_graph(int row) {
    if (row < 0 || row >= model_->rowCount()) return;
    period_query asked = query_;
    asked.item_name = model_->entry(row).item;
    asked.every_item = false;
    emit graph_requested(asked);
}

bool book_form::eventFilter(QObject* watched, QEvent* event) {
    if (watched == book_disp_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            copy_selection();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            request_graph(book_disp_->currentIndex().row());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kozenica
