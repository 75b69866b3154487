#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>

// Which of Qt's display platforms the program asks for. On a Wayland session a program can neither
// place its windows nor reserve a band along a screen edge, which the Stock Strip and the character
// need; where the session also runs XWayland the program runs on it (xcb) instead, unless the user
// chose a platform (QT_QPA_PLATFORM, or -platform on the command line).
namespace DisplayPlatform {

// "xcb" when WAYLAND_DISPLAY and DISPLAY are both set and the user chose no platform; else empty
// (Qt's own choice).
QByteArray Preferred(const QProcessEnvironment& environment, const QStringList& arguments);

// Sets QT_QPA_PLATFORM to the preferred platform, if any. Call it before the application object is
// made.
void Choose(int argc, char* argv[]);

} // namespace DisplayPlatform
