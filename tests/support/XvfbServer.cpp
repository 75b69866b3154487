#include "support/XvfbServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QThread>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

bool WaitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QThread::msleep(20);
    }
    return true;
}

void End(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace

XvfbServer::~XvfbServer()
{
    End(m_windowManager);
    End(m_xvfb);
}

QString XvfbServer::Start(QSize screen)
{
    // Xvfb picks a free display itself and writes its number once it accepts connections. Two
    // servers picking at the same moment can both reach for one display, and a client may then
    // meet the wrong one: tests side by side take their turn through a lock.
    QLockFile turn(QDir::tempPath() + u"/quorvane-tests-xvfb.lock"_s);
    if (!turn.tryLock(60000))
        return u"another test kept the Xvfb start-up lock"_s;
    const QString geometry = u"%1x%2x24"_s.arg(screen.width()).arg(screen.height());
    m_xvfb.setProcessChannelMode(QProcess::SeparateChannels);
    // -noreset: without it the server starts over whenever its last client leaves, and a window manager
    // connecting in that moment is turned away ("Failed to open the display"), as seen with X11 tests
    // running side by side.
    m_xvfb.start(u"Xvfb"_s,
                 {u"-displayfd"_s, u"1"_s, u"-noreset"_s, u"-nolisten"_s, u"tcp"_s, u"-screen"_s, u"0"_s, geometry});
    if (!m_xvfb.waitForStarted(5000))
        return u"Xvfb is needed: scripts/install-deps test"_s;
    WaitFor(
        [&] {
            m_xvfb.waitForReadyRead(50);
            return m_xvfb.state() != QProcess::Running || m_xvfb.canReadLine();
        },
        15000);
    if (!m_xvfb.canReadLine())
        return u"Xvfb did not start: "_s + QString::fromLocal8Bit(m_xvfb.readAllStandardError());
    bool ok = false;
    const int display = m_xvfb.readLine().trimmed().toInt(&ok);
    if (!ok)
        return u"Xvfb named no display"_s;
    m_display = u":%1"_s.arg(display);
    return {};
}

QString XvfbServer::StartWindowManager()
{
    if (m_display.isEmpty())
        return u"no X server"_s;
    m_windowManager.setProcessEnvironment(Environment());
    m_windowManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_windowManager.start(u"openbox"_s, {u"--sm-disable"_s});
    if (!m_windowManager.waitForStarted(5000))
        return u"openbox is needed: scripts/install-deps test"_s;
    // A window manager that has taken over names itself on the root window.
    const bool running = WaitFor(
        [&] {
            // Nothing runs this thread's event loop: reap an openbox that gave up, else it stays "running".
            if (m_windowManager.waitForFinished(0) || m_windowManager.state() != QProcess::Running)
                return true;
            QProcess xprop;
            xprop.start(u"xprop"_s, {u"-display"_s, m_display, u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s});
            return xprop.waitForFinished(5000) && xprop.readAllStandardOutput().contains("window id");
        },
        10000);
    if (!running || m_windowManager.state() != QProcess::Running) {
        QProcess xprop;
        xprop.setProcessChannelMode(QProcess::MergedChannels);
        xprop.start(u"xprop"_s, {u"-display"_s, m_display, u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s});
        xprop.waitForFinished(5000);
        return u"openbox did not start on %1 (%2, exit %3; Xvfb %4; xprop: %5)"_s.arg(
            m_display, m_windowManager.state() == QProcess::Running ? u"running"_s : u"ended"_s,
            QString::number(m_windowManager.exitCode()),
            m_xvfb.state() == QProcess::Running ? u"running"_s : u"ended"_s,
            QString::fromLocal8Bit(xprop.readAll()).trimmed());
    }
    return {};
}

QProcessEnvironment XvfbServer::Environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DISPLAY"_s, m_display);
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    environment.remove(u"WAYLAND_DISPLAY"_s);
    return environment;
}
