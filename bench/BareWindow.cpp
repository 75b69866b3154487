// The yardstick of the start-up benchmark: the least a Qt Widgets program does to open a window,
// one QMainWindow of the main window's default size.
#include <QApplication>
#include <QMainWindow>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(u"Bare Window"_s);
    window.resize(500, 400);
    window.show();
    return QApplication::exec();
}
