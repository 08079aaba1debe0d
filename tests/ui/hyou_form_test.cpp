#include "ui/hyou_windows/hyou_form.h"

#include <QImage>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace kozenica {
namespace {

TEST(HyouForm, cellAlignmentDependsOnTheColumnAndTheHeaderRow) {
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignTop, centre = Qt::AlignHCenter | Qt::AlignTop,
                        right = Qt::AlignRight | Qt::AlignTop;
    const struct {
        int col, row;
        Qt::Alignment expected;
    } cases[] = {{0, 0, centre}, {1, 0, centre}, {5, 0, centre}, {0, 1, left},  {1, 1, centre},
                 {2, 1, left},   {3, 5, left},   {4, 1, right},  {6, 9, right}, {7, 1, left}};
    for (const auto& c : cases)
        EXPECT_EQ(hyou_cell_alignment(c.col, c.row), c.expected) << c.col << "," << c.row;
}

TEST(HyouForm, cellTextIsAlignedAndClippedInsideTheInset) {
    const int w = 64, h = 20;
    const char* wide = "WWWWWWWWWWWWWWWWWWWW";
    const struct {
        int col;
        const char* text;
        int ink_from, ink_to; // columns where ink may lie
    } cases[] = {
        {2, wide, 2, w - 3}, {5, wide, 2, w - 3},      {1, wide, 2, w - 3},
        {2, "ab", 2, 20},    {5, "12", w - 20, w - 3},
    };
    QWidget owner;
    hyou_form form(&owner);
    form.set_col_count(8);
    form.set_row_count(2);
    QTableWidget* grid = form.hyou_disp();
    for (const auto& c : cases) {
        form.set_cell(c.col, 1, QString::fromUtf8(c.text));
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, w, h);
        option.font = grid->font();
        option.palette = grid->palette();
        option.state = QStyle::State_Enabled;
        {
            QPainter painter(&image);
            grid->itemDelegate()->paint(&painter, option, grid->model()->index(0, c.col - 1));
        }
        const QRgb fill = option.palette.base().color().rgb();
        int first = w, last = -1;
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < h; ++y)
                if (image.pixel(x, y) != fill) {
                    first = std::min(first, x), last = x;
                    EXPECT_LT(y, h - 1) << "text stands at the top";
                }
        EXPECT_GE(first, c.ink_from) << c.col;
        EXPECT_LE(last, c.ink_to) << c.col;
        EXPECT_GE(last, 0) << "no text drawn in column " << c.col;
    }
}

} // namespace
} // namespace kozenica
