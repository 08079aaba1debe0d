#include "ui/hyou_windows/hyou_form.h"

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

} // namespace
} // namespace kozenica
