#include "app/AppPaths.h"
#include "app/CSettings.h"
#include "ui/MessageBoxPresenter.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Quorvane"_s);
    QApplication::setOrganizationName(u"Brightwold"_s);

    MessageBoxPresenter presenter;
    SetMessagePresenter(&presenter);

    const bool paletteDisplay = QGuiApplication::primaryScreen() && QGuiApplication::primaryScreen()->depth() <= 8;
    GetSettings().Load(paletteDisplay);

    QMainWindow window;
    window.setWindowTitle(u"Quorvane 3.0"_s);
    window.resize(500, 400);
    window.show();
    const int result = QApplication::exec();
    SetMessagePresenter(nullptr);
    return result;
}
