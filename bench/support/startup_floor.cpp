// The least a Qt Widgets program pays on this machine to show a window with
// text: the application, its X connection, the font database and a window of
// the main window's size with one Japanese label. scripts/measure-startup
// times it in turns with the real program, as the plain side of start-up.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QString::fromUtf8("家計簿")));
    window.resize(635, 450);
    window.show();
    return QApplication::exec();
}
