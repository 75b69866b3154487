#include "app/CMainFrame.h"
#include "app/CQuorvaneApp.h"
#include "app/CTrayIcon.h"
#include "platform/DisplayPlatform.h"
#include "ui/MessageBoxPresenter.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    // On a Wayland session, XWayland where it runs: the strip and the character keep their places.
    DisplayPlatform::Choose(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Quorvane"_s);
    QApplication::setOrganizationName(u"Brightwold"_s);
    // Lets the desktop match the windows with the installed quorvane.desktop (its name and icon).
    QGuiApplication::setDesktopFileName(u"quorvane"_s);
    QApplication::setWindowIcon(CTrayIcon::ProgramIcon());
    // The program lives in the tray: closing its last window (the main window hides) never ends it.
    QApplication::setQuitOnLastWindowClosed(false);

    MessageBoxPresenter presenter;
    SetMessagePresenter(&presenter);

    int result = 0;
    {
        CQuorvaneApp quorvane;
        if (quorvane.InitInstance(QCoreApplication::arguments())) {
            QObject::connect(quorvane.MainFrame(), &CMainFrame::Closed, &app, &QCoreApplication::quit,
                             Qt::QueuedConnection);
            result = QApplication::exec();
        }
    }
    SetMessagePresenter(nullptr);
    return result;
}
