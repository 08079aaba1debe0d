#include "ui/hyou_windows/hyou_form.h"

#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace kozenica {
namespace {

struct alignment_case {
    int col, row;
    Qt::Alignment expected;
};

TEST(HyouForm, cellAlignmentDependsOnTheColumnAndTheHeaderRow) {
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignTop;
    const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignTop;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignTop;
    const alignment_case cases[] = {
        {0, 0, centre}, {1, 0, centre}, {4, 0, centre}, {5, 0, centre},  {6, 0, centre}, {7, 0, centre},
        {0, 1, left},   {1, 1, centre}, {2, 1, left},   {3, 5, left},    {4, 1, right},  {5, 9, right},
        {6, 1, right},  {7, 1, left},   {8, 1, left},   {1, 10, centre},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hyou_cell_alignment(c.col, c.row), c.expected) << c.col << "," << c.row;
}

TEST(HyouForm, startsHiddenWithItsInitialGeometryAndAFiveByFiveGrid) {
    QWidget owner;
    hyou_form form(&owner);
    EXPECT_TRUE(form.isHidden());
    EXPECT_TRUE(form.windowTitle().isEmpty());
    EXPECT_EQ(form.pos(), QPoint(745, 244));
    EXPECT_EQ(form.size(), QSize(387, 316));
    EXPECT_EQ(form.col_count(), 5);
    EXPECT_EQ(form.row_count(), 5);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(form.col_width(c), 64) << c;
    QTableWidget* grid = form.hyou_disp();
    EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), 20);
    EXPECT_EQ(grid->horizontalHeader()->height(), 20);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_TRUE(grid->verticalHeader()->sectionsMovable());
}

TEST(HyouForm, closingOnlyHidesAndKeepsTheTexts) {
    QWidget owner;
    QPointer<hyou_form> form = new hyou_form(&owner);
    form->set_cell(2, 1, QStringLiteral("kept"));
    form->show();
    EXPECT_TRUE(form->close());
    QCoreApplication::processEvents();
    ASSERT_FALSE(form.isNull());
    EXPECT_TRUE(form->isHidden());
    EXPECT_EQ(form->cell(2, 1), QStringLiteral("kept"));
}

TEST(HyouForm, aNewRowCountPutsMovedRowsBack) {
    QWidget owner;
    hyou_form form(&owner);
    form.set_row_count(4);
    QHeaderView* side = form.hyou_disp()->verticalHeader();
    side->moveSection(0, 2);
    ASSERT_NE(side->visualIndex(0), 0);
    form.set_row_count(3);
    for (int r = 0; r < side->count(); ++r)
        EXPECT_EQ(side->visualIndex(r), r);
}

// The columns of an image that hold any pixel other than the fill colour.
std::pair<int, int> ink_span(const QImage& image, QRgb fill) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != fill) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

struct draw_case {
    int col; // grid column of the cell
    QString text;
    int ink_from, ink_to; // where ink may lie, inclusive
};

TEST(HyouForm, cellTextIsAlignedAndClippedInsideTheInset) {
    const int w = 64, h = 20;
    const QString wide = QStringLiteral("WWWWWWWWWWWWWWWWWWWW");
    const draw_case cases[] = {
        {2, wide, 2, w - 3},              // left, cut at the right edge minus 2
        {5, wide, 2, w - 3},              // right, cut at the left edge plus 2
        {1, wide, 2, w - 3},              // centred, cut at both
        {2, QStringLiteral("ab"), 2, 20}, // short left text starts at the inset
        {5, QStringLiteral("12"), w - 20, w - 3},
    };
    QWidget owner;
    hyou_form form(&owner);
    form.set_col_count(8);
    form.set_row_count(2);
    for (const auto& c : cases) {
        form.set_cell(c.col, 1, c.text);
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, w, h);
        option.font = form.hyou_disp()->font();
        option.palette = form.hyou_disp()->palette();
        option.state = QStyle::State_Enabled;
        {
            QPainter painter(&image);
            form.hyou_disp()->itemDelegate()->paint(&painter, option,
                                                    form.hyou_disp()->model()->index(0, c.col - 1));
        }
        const QRgb fill = option.palette.base().color().rgb();
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < h; ++y)
                ASSERT_NE(image.pixel(x, y), QColor(Qt::magenta).rgb()) << "unfilled";
        const auto [first, last] = ink_span(image, fill);
        ASSERT_GE(first, 0) << "no text drawn in column " << c.col;
        EXPECT_GE(first, c.ink_from) << c.col;
        EXPECT_LE(last, c.ink_to) << c.col;
        // Text stands at the top: the last two rows stay empty.
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(image.pixel(x, h - 1), fill);
        for (int x = 0; x < 2; ++x)
            for (int y = 0; y < h; ++y)
                EXPECT_EQ(image.pixel(x, y), fill);
    }
}

} // namespace
} // namespace kozenica
