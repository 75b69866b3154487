// A small program for the tray test: shows our tray icon the way the main window does and takes
// orders on standard input, one per line, answering on standard output:
//   (start)  "created <in tray> <trigger runs default>"
//   show     "show <result>"          SetShown(true)
//   hide     "hide <result>"          SetShown(false)
//   alert    "icon <result>"          SetIcon(alert icon)
//   quit
// A command from the tray menu or an activation prints "command <id>".

#include "app/CTrayIcon.h"
#include "support/ProbeOrders.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace {

void Say(const QByteArray& line)
{
    ProbeOrders::Say(line);
}

QByteArray Flag(bool value)
{
    return value ? "1" : "0";
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    CTrayIcon tray;
    tray.SetNotificationWindow(&app, [](int id) { Say("command " + QByteArray::number(id)); });
    tray.Create(CTrayIcon::ProgramIcon(), u"Quorvane"_s,
                {TrayMenuItem::Command(32777, u"&Quorvane Window"_s), TrayMenuItem::Separator(),
                 TrayMenuItem::Command(32772, u"E&xit"_s)},
                true);
    Say("created " + Flag(tray.IsInTray()) + ' ' + Flag(tray.TriggerRunsDefault()));

    ProbeOrders orders([&](const QByteArray& order) {
        if (order == "show")
            Say("show " + Flag(tray.SetShown(true)));
        else if (order == "hide")
            Say("hide " + Flag(tray.SetShown(false)));
        else if (order == "alert")
            Say("icon " + Flag(tray.SetIcon(CTrayIcon::AlertIcon())));
        else if (order == "quit")
            QCoreApplication::quit();
    });
    return QApplication::exec();
}
