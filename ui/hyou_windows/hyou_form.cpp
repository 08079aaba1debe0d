#include "hyou_form.h"

#include "ui/platform/cell_painting.h"
#include "ui/platform/fonts.h"
#include "ui/platform/grid_header.h"
#include "ui/platform/outer_frame.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kozenica {

namespace {

constexpr int row_height = 20;
constexpr int default_col_width = 64;
constexpr int initial_grid_size = 5;

// hyou_dispDrawCell's alignment for the cells below the header row and right
// of the header column; the headers paint themselves with the same alignment.
int hyou_cell_rule(const QModelIndex& index) {
    return int(hyou_cell_alignment(index.column() + 1, index.row() + 1));
}

// Column 0 is the header column: its width is dragged at its right border,
// in the header column or in the corner cell above it, as the other columns'
// widths are dragged on the header row.
class header_column_sizing : public QObject {
  public:
    static constexpr int border_grip = 3;

    explicit header_column_sizing(hyou_form& form) : QObject(&form), form_(form) {
        QTableWidget* grid = form.hyou_disp();
        watch(grid->verticalHeader()->viewport());
        if (auto* corner = grid->findChild<QAbstractButton*>()) watch(corner);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton || !on_border(*widget, *mouse)) return false;
            dragging_ = true;
            origin_x_ = mouse->globalPosition().toPoint().x();
            origin_width_ = form_.col_width(0);
            return true;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (dragging_) {
                form_.set_col_width(
                    0, std::max(0, origin_width_ + mouse->globalPosition().toPoint().x() - origin_x_));
                return true;
            }
            if (on_border(*widget, *mouse))
                widget->setCursor(Qt::SplitHCursor);
            else
                widget->unsetCursor();
            return false;
        }
        case QEvent::MouseButtonRelease:
            if (!dragging_) return false;
            dragging_ = false;
            return true;
        default:
            return false;
        }
    }

  private:
    void watch(QWidget* widget) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    // The border lies at the right edge of column 0, wherever the widget is.
    bool on_border(const QWidget& widget, const QMouseEvent& mouse) const {
        const QWidget* grid = form_.hyou_disp();
        const int x = widget.mapTo(grid, mouse.position().toPoint()).x();
        const int border = grid->contentsRect().left() + form_.col_width(0);
        return std::abs(x - border) <= border_grip;
    }

    hyou_form& form_;
    bool dragging_ = false;
    int origin_x_ = 0;
    int origin_width_ = 0;
};

QTableWidgetItem* item_at(QTableWidget* grid, int col, int row) {
    if (row == 0) return grid->horizontalHeaderItem(col - 1);
    if (col == 0) return grid->verticalHeaderItem(row - 1);
    return grid->item(row - 1, col - 1);
}

} // namespace

Qt::Alignment hyou_cell_alignment(int col, int row) {
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (row == 0 || col == 1)
        horizontal = Qt::AlignHCenter;
    else if (col >= 4 && col <= 6)
        horizontal = Qt::AlignRight;
    return horizontal | Qt::AlignTop;
}

hyou_form::hyou_form(QWidget* owner) : QWidget(owner, Qt::Window) {
    setFont(window_font());
    hyou_disp_ = new QTableWidget(this);
    hyou_disp_->setObjectName(QStringLiteral("hyou_disp"));
    hyou_disp_->setItemDelegate(new result_cell_delegate(hyou_cell_rule, hyou_disp_));
    hyou_disp_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    hyou_disp_->setSelectionMode(QAbstractItemView::SingleSelection);
    hyou_disp_->setSelectionBehavior(QAbstractItemView::SelectItems);
    hyou_disp_->setWordWrap(false);
    hyou_disp_->setHorizontalHeader(new grid_header(
        Qt::Horizontal, [](int column) { return hyou_cell_alignment(column + 1, 0); }, hyou_disp_));
    hyou_disp_->setVerticalHeader(new grid_header(
        Qt::Vertical, [](int row) { return hyou_cell_alignment(0, row + 1); }, hyou_disp_));

    QHeaderView* top = hyou_disp_->horizontalHeader();
    top->setDefaultSectionSize(default_col_width);
    top->setMinimumSectionSize(0);
    top->setSectionResizeMode(QHeaderView::Interactive);
    top->setHighlightSections(false);

    QHeaderView* side = hyou_disp_->verticalHeader();
    side->setMinimumSectionSize(0);
    side->setDefaultSectionSize(row_height);
    side->setSectionResizeMode(QHeaderView::Fixed);
    side->setSectionsMovable(true);
    side->setHighlightSections(false);
    side->setFixedWidth(default_col_width);

    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(hyou_disp_);

    new header_column_sizing(*this);

    set_col_count(initial_grid_size);
    set_row_count(initial_grid_size);
    move(745, 244);
    outer_frame::of(*this).set_outer_size({387, 316});
}

int hyou_form::col_count() const {
    return hyou_disp_->columnCount() + 1;
}
int hyou_form::row_count() const {
    return hyou_disp_->rowCount() + 1;
}

void hyou_form::set_col_count(int count) {
    const int old = hyou_disp_->columnCount();
    hyou_disp_->setColumnCount(std::max(count - 1, 0));
    for (int c = old; c < hyou_disp_->columnCount(); ++c)
        hyou_disp_->setHorizontalHeaderItem(c, new QTableWidgetItem);
}

void hyou_form::set_row_count(int count) {
    // Rows the user dragged elsewhere go back to their places: the new rows
    // are numbered as the search writes them.
    QHeaderView* side = hyou_disp_->verticalHeader();
    for (int logical = 0; logical < side->count(); ++logical)
        side->moveSection(side->visualIndex(logical), logical);
    const int old = hyou_disp_->rowCount();
    hyou_disp_->setRowCount(std::max(count - 1, 0));
    for (int r = old; r < hyou_disp_->rowCount(); ++r)
        hyou_disp_->setVerticalHeaderItem(r, new QTableWidgetItem);
}

int hyou_form::col_width(int col) const {
    return col == 0 ? hyou_disp_->verticalHeader()->width() : hyou_disp_->columnWidth(col - 1);
}

void hyou_form::set_col_width(int col, int width) {
    if (col == 0) {
        hyou_disp_->verticalHeader()->setFixedWidth(std::max(width, 0));
        // The cells and the corner cell move with the header column at once.
        QMetaObject::invokeMethod(hyou_disp_, "updateGeometries");
    } else
        hyou_disp_->setColumnWidth(col - 1, width);
}

QString hyou_form::cell(int col, int row) const {
    if (row == 0 && col == 0) return {};
    const QTableWidgetItem* item = item_at(hyou_disp_, col, row);
    return item ? item->text() : QString();
}

void hyou_form::set_cell(int col, int row, const QString& text) {
    if (col < 0 || row < 0 || col >= col_count() || row >= row_count() || (col == 0 && row == 0)) return;
    if (QTableWidgetItem* item = item_at(hyou_disp_, col, row)) {
        item->setText(text);
        return;
    }
    auto* item = new QTableWidgetItem(text);
    if (row == 0) {
        hyou_disp_->setHorizontalHeaderItem(col - 1, item);
    } else if (col == 0) {
        hyou_disp_->setVerticalHeaderItem(row - 1, item);
    } else {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        hyou_disp_->setItem(row - 1, col - 1, item);
    }
}

} // namespace kozenica
