#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QSize>
#include <QString>

// A private X server (Xvfb) for tests of X11 behaviour, with a window manager (openbox) when asked.
// Both are ended, by their process ids, when the object goes.
class XvfbServer
{
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts Xvfb on a display it finds free and waits until it accepts connections.
    // Returns an empty text when it runs, else what went wrong.
    QString Start(QSize screen = QSize(800, 600));
    // Starts openbox on the display and waits until it manages windows; an empty text when it does.
    QString StartWindowManager();

    // ":N", empty before Start succeeded.
    const QString& Display() const { return m_display; }
    // The system environment with DISPLAY set to this server, for a Qt program on X11.
    QProcessEnvironment Environment() const;

private:
    QProcess m_xvfb;
    QProcess m_windowManager;
    QString m_display;
};
