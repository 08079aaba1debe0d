#include "year_form.h"

#include "core/atomic_file.h"
#include "core/digits.h"
#include "core/month_walk.h"
#include "core/texts.h"
#include "ui/platform/cell_painting.h"
#include "ui/platform/fonts.h"
#include "ui/platform/message_box.h"
#include "ui/platform/modal_runner.h"
#include "ui/platform/sjis.h"
#include "year_chart.h"
#include "year_model.h"
#include "year_print.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <system_error>

namespace kozenica {

namespace {

constexpr int row_height = 20;

// The names left, the amounts right, as the other result tables align theirs.
int year_cell_rule(const QModelIndex& index) {
    return int((index.column() == name_column ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop);
}

// The lines window: 日付 centred, the amount right, texts left.
int line_cell_rule(const QModelIndex& index) {
    return int((index.column() == 0   ? Qt::AlignHCenter
                : index.column() == 3 ? Qt::AlignRight
                                      : Qt::AlignLeft) |
               Qt::AlignTop);
}

QTableView* result_view(QWidget* parent, result_cell_delegate::alignment_rule rule) {
    auto* view = new QTableView(parent);
    view->setItemDelegate(new result_cell_delegate(rule, view));
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);
    view->horizontalHeader()->setFixedHeight(row_height);
    view->horizontalHeader()->setHighlightSections(false);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(0);
    view->verticalHeader()->setDefaultSectionSize(row_height);
    view->verticalHeader()->hide();
    return view;
}

std::string exists_text(const QString& name) {
    return to_sjis(QStringLiteral("ファイル(%1)はすでにあります\n上書きしますか?").arg(name));
}

} // namespace

year_form::year_form(QWidget* owner, std::string program_dir, notifier& notify, modal_runner& runner)
    : QWidget(owner, Qt::Window), program_dir_(std::move(program_dir)), notify_(notify), runner_(runner) {
    setObjectName(QStringLiteral("year_form"));
    setFont(window_font());
    model_ = new year_model(this);
    year_disp_ = result_view(this, year_cell_rule);
    year_disp_->setObjectName(QStringLiteral("year_disp"));
    year_disp_->setModel(model_);
    year_disp_->setSelectionBehavior(QAbstractItemView::SelectRows);
    year_disp_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    year_disp_->installEventFilter(this);
    year_disp_->setColumnWidth(name_column, 90);
    for (int c = first_month_column; c < year_table_columns; ++c)
        year_disp_->setColumnWidth(c, c < total_column ? 58 : 74);
    connect(year_disp_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& at) { show_lines(at.row(), at.column()); });

    notes_ = new QLabel(this);
    notes_->setObjectName(QStringLiteral("year_notes"));
    notes_->setWordWrap(true);
    chart_ = new year_chart(this);

    save_button_ = new QPushButton(QStringLiteral("CSVで保存..."), this);
    save_button_->setObjectName(QStringLiteral("year_save_button"));
    print_button_ = new QPushButton(QStringLiteral("印刷..."), this);
    print_button_->setObjectName(QStringLiteral("year_print_button"));
    connect(save_button_, &QPushButton::clicked, this, &year_form::save_csv);
    connect(print_button_, &QPushButton::clicked, this, &year_form::print_table);

    auto* table_part = new QWidget(this);
    auto* table_column = new QVBoxLayout(table_part);
    table_column->setContentsMargins(0, 0, 0, 0);
    table_column->addWidget(year_disp_);
    table_column->addWidget(notes_);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(table_part);
    split->addWidget(chart_);
    split->setChildrenCollapsible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_button_);
    buttons->addWidget(print_button_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(split, 1);
    column->addLayout(buttons);
    setTabOrder(year_disp_, save_button_);
    setTabOrder(save_button_, print_button_);

    setWindowTitle(QStringLiteral("年間集計結果"));
    resize(1200, 660);
    split->setSizes({300, 300});
}

void year_form::set_source(table_source source) {
    source_ = std::move(source);
    refresh();
    year_disp_->setFocus();
    // The cursor starts on the first row with nothing selected, so that Ctrl+C copies the whole table.
    if (model_->rowCount() > 0)
        year_disp_->selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
}

void year_form::refresh() {
    if (!source_) return;
    const QModelIndex current = year_disp_->currentIndex();
    const QModelIndexList selected = year_disp_->selectionModel()->selectedRows();
    table_ = source_();
    show_table();
    // The cursor and the selected rows stay where the user left them.
    QItemSelectionModel* selection = year_disp_->selectionModel();
    for (const QModelIndex& row : selected)
        if (row.row() < model_->rowCount())
            selection->select(model_->index(row.row(), 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (current.isValid() && current.row() < model_->rowCount())
        selection->setCurrentIndex(model_->index(current.row(), current.column()),
                                   QItemSelectionModel::NoUpdate);
}

void year_form::show_table() {
    model_->set_table(table_);
    const std::string notes = year_table_notes(table_);
    notes_->setText(to_qstring(notes));
    notes_->setVisible(!notes.empty());
    chart_->set_table(&table_);
}

QString year_form::selection_as_tsv() const {
    std::vector<int> rows;
    for (const QModelIndex& index : year_disp_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    if (rows.empty())
        for (int r = 0; r < model_->rowCount(); ++r)
            rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    return model_->rows_as_tsv(rows);
}

void year_form::copy_selection() const {
    QApplication::clipboard()->setText(selection_as_tsv());
}

void year_form::save_csv() {
    const QString proposed = QStringLiteral("年間集計%1.csv").arg(table_.year);
    QFileDialog dialog(this, QStringLiteral("CSVで保存"), path_to_qstring(program_dir_),
                       QStringLiteral("CSV (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The question below asks as month saves ask, with いいえ the default.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(proposed);
    if (runner_.run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString chosen = dialog.selectedFiles().constFirst();
    const std::string path = QFile::encodeName(chosen).toStdString();
    if (QFile::exists(chosen) &&
        !notify_.ask_yes_no_default_no(message_kind::warning, exists_text(QFileInfo(chosen).fileName())))
        return;
    try {
        if (replace_file(path, year_table_csv(year_table_cells(table_))) == save_result::disk_full)
            notify_.tell(message_kind::error, texts::disk_full);
    } catch (const std::system_error& failure) {
        tell_io_error(notify_, failure);
    }
}

void year_form::print_table() {
    QPrinter printer(QPrinter::HighResolution);
    prepare_year_printer(printer);
    QPrintDialog dialog(&printer, this);
    if (runner_.run(dialog) != QDialog::Accepted) return;
    print_year_page(printer, table_);
}

void year_form::show_lines(int row, int column) {
    const int month = column - first_month_column + 1;
    if (row < 0 || std::size_t(row) >= table_.kind_rows() || month < 1 || month > 12) return;
    if (!table_.months[std::size_t(month - 1)].counted()) return;
    const year_row& kind = table_.rows[std::size_t(row)];
    auto* window = new QWidget(this, Qt::Window);
    window->setObjectName(QStringLiteral("year_lines"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setFont(window_font());
    window->setWindowTitle(
        QStringLiteral("%1年%2月 %3").arg(table_.year).arg(month).arg(to_qstring(kind.name)));
    auto* lines = new QStandardItemModel(0, 5, window);
    lines->setHorizontalHeaderLabels({QStringLiteral("日付"), QStringLiteral("店名"), QStringLiteral("品名"),
                                      QStringLiteral("支出"), QStringLiteral("メモ")});
    for (const shuushi_line& line : lines_behind(table_, month, kind.kind)) {
        const std::string date = date_text(table_.year, std::uint16_t(month), line.day);
        lines->appendRow({new QStandardItem(to_qstring(date)),
                          new QStandardItem(to_qstring(line.shop.view())),
                          new QStandardItem(to_qstring(line.item.view())),
                          new QStandardItem(to_qstring(format_comma(line.expense))),
                          new QStandardItem(to_qstring(line.memo.view()))});
    }
    QTableView* view = result_view(window, line_cell_rule);
    view->setModel(lines);
    const int widths[] = {80, 120, 120, 80, 120};
    for (int c = 0; c < 5; ++c)
        view->setColumnWidth(c, widths[c]);
    auto* column_layout = new QVBoxLayout(window);
    column_layout->setContentsMargins(0, 0, 0, 0);
    column_layout->addWidget(view);
    window->resize(560, 300);
    window->move(frameGeometry().topLeft() + QPoint(width() / 6, height() / 6));
    window->show();
    view->setFocus();
}

void year_form::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) refresh();
}

bool year_form::eventFilter(QObject* watched, QEvent* event) {
    if (watched == year_disp_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            copy_selection();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            show_lines(year_disp_->currentIndex().row(), year_disp_->currentIndex().column());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kozenica
