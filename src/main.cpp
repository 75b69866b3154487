#include "app/CMainFrame.h"
#include "app/CQuorvaneApp.h"
#include "app/CTrayIcon.h"
#include "platform/DisplayPlatform.h"
#include "ui/MessageBoxPresenter.h"

#include "QuorvaneVersion.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// --help and --version print and end the program before anything starts (no display is needed for
// them). Every other argument is left alone: -AUTOSTART is found in any case and position by the
// start-up, and arguments nobody knows are ignored.
std::optional<int> AnswerInformationOptions(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(u"Follows the stocks you choose and reports them in a window, on the Stock Strip "
                                     u"and through an animated character."_s);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOption(QCommandLineOption(u"AUTOSTART"_s, u"Start with the main window hidden, as when the program "
                                                        u"starts with your session (any case)."_s));
    parser.parse(arguments); // unknown arguments are no error
    if (parser.isSet(help) || parser.isSet(u"help-all"_s)) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("Quorvane %s\n", QUORVANE_VERSION_TEXT);
        return 0;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(u"Quorvane"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION_TEXT));
    if (const std::optional<int> code = AnswerInformationOptions(argc, argv))
        return *code;

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
