// The main of every UI test program: a QApplication on the offscreen
// platform, the program's fonts, then GoogleTest.
#include "ui/platform/fonts.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kozenica"));
    kozenica::install_font_substitutions();
    QApplication::setFont(kozenica::window_font());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
