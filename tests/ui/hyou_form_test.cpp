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
    const std::tuple<int, int, Qt::Alignment> cases[] = {{0, 0, centre}, {5, 0, centre}, {0, 1, left},
                                                         {1, 1, centre}, {3, 5, left},   {4, 1, right},
                                                         {6, 9, right},  {7, 1, left}};
    for (const auto& [col, row, expected] : cases)
        EXPECT_EQ(hyou_cell_alignment(col, row), expected) << col << "," << row;
}

// Ink stays within the 2-pixel inset, clipped, and at the left or right as the column asks.
TEST(HyouForm, cellTextIsAlignedAndClippedInsideTheInset) {
    const int w = 64, h = 20;
    const std::tuple<int, const char*, int, int> cases[] = {{2, "WWWWWWWWWWWWWWWWWWWW", 2, w - 3},
                                                            {5, "WWWWWWWWWWWWWWWWWWWW", 2, w - 3},
                                                            {2, "ab", 2, 20},
                                                            {5, "12", w - 20, w - 3}};
    QWidget owner;
    hyou_form form(&owner);
    form.set_col_count(8);
    form.set_row_count(2);
    QTableWidget* grid = form.hyou_disp();
    for (const auto& [col, text, ink_from, ink_to] : cases) {
        form.set_cell(col, 1, QString::fromUtf8(text));
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::magenta); // the cell paints its own background
        QStyleOptionViewItem option;
        option.initFrom(grid);
        option.rect = QRect(0, 0, w, h);
        QPainter painter(&image);
        grid->itemDelegate()->paint(&painter, option, grid->model()->index(0, col - 1));
        painter.end();
        int first = w, last = -1;
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < h; ++y)
                if (image.pixel(x, y) != option.palette.base().color().rgb())
                    first = std::min(first, x), last = x;
        EXPECT_GE(first, ink_from) << col;
        EXPECT_TRUE(last >= 0 && last <= ink_to) << col;
    }
}

} // namespace
} // namespace kozenica
