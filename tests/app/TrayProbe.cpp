// A small program for the tray test: shows our tray icon the way the main window does and takes
// orders on standard input, one per line, answering on standard output:
//   (start)  "created <in tray> <trigger runs default>"
//   show     "show <result>"          SetShown(true)
//   hide     "hide <result>"          SetShown(false)
//   alert    "icon <result>"          SetIcon(alert icon)
//   quit
// A command from the tray menu or an activation prints "command <id>".

#include "app/CTrayIcon.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

void Say(const QByteArray& line)
{
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
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

    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count <= 0) {
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, count);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray order = pending.left(end).trimmed();
            pending.remove(0, end + 1);
            if (order == "show")
                Say("show " + Flag(tray.SetShown(true)));
            else if (order == "hide")
                Say("hide " + Flag(tray.SetShown(false)));
            else if (order == "alert")
                Say("icon " + Flag(tray.SetIcon(CTrayIcon::AlertIcon())));
            else if (order == "quit")
                QCoreApplication::quit();
        }
    });
    return QApplication::exec();
}
