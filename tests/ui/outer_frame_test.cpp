// Outer sizes on a platform that draws a frame (the offscreen one draws 2 pixels a side): a
// size asked for comes out as the outer size, before and after the frame is known, and gives
// back what it was asked, so nothing grows or shrinks from one run to the next.
#include "ui/platform/outer_frame.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <gtest/gtest.h>

namespace kozenica {
namespace {

void show_and_wait(QWidget& w) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();
}

TEST(outer_frame, a_size_asked_for_is_the_outer_size_once_shown_and_comes_back_the_same) {
    QSize stored(300, 200);
    for (int run = 1; run <= 6; ++run) {
        QWidget main;
        outer_frame::of(main).set_outer_size(stored);
        EXPECT_EQ(outer_size_of(main), stored) << "run " << run << ", not shown yet";
        show_and_wait(main);
        EXPECT_EQ(main.frameGeometry().size(), stored) << "run " << run;
        EXPECT_NE(main.size(), stored) << "the platform draws no frame: this test shows nothing";
        stored = outer_size_of(main);
    }
    EXPECT_EQ(stored, QSize(300, 200));
}

TEST(outer_frame, a_window_takes_its_owners_frame_before_it_is_shown_and_keeps_a_size_the_user_gave) {
    QWidget main;
    outer_frame::of(main).set_outer_size({400, 300});
    show_and_wait(main);
    const QMargins frame(main.geometry().left() - main.frameGeometry().left(), 0, 0, 0);
    QDialog dialog(&main);
    outer_frame::of(dialog, true).set_outer_size({214, 229});
    EXPECT_EQ(dialog.size(), QSize(214 - 2 * frame.left(), 229 - 2 * frame.left())) << "the owner's frame";
    show_and_wait(dialog);
    EXPECT_EQ(dialog.frameGeometry().size(), QSize(214, 229));
    main.resize(500, 350);
    QApplication::processEvents();
    EXPECT_EQ(outer_size_of(main), QSize(500, 350) + QSize(2 * frame.left(), 2 * frame.left()));
}

// The offscreen screen is 800x800.
TEST(outer_frame, place_keeps_the_window_on_the_screen_and_usable_values_as_they_are) {
    const struct {
        const char* what;
        QRect wanted, expected;
    } cases[] = {
        {"inside every limit", {40, 30, 500, 400}, {40, 30, 500, 400}},
        {"off the screen", {5000, 3000, 635, 450}, {165, 350, 635, 450}},
        {"no width", {10, 10, 0, 300}, {10, 10, 200, 300}},
        {"huge", {0, 0, 100000, 100000}, {0, 0, 800, 800}},
    };
    for (const auto& [what, wanted, expected] : cases) {
        QWidget w;
        outer_frame::of(w).place(wanted, {200, 100});
        show_and_wait(w);
        EXPECT_EQ(w.frameGeometry(), expected) << what;
    }
}

} // namespace
} // namespace kozenica
