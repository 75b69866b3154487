// One running copy per user, with two real copies of the program: a second start brings the first
// one's window up (even from a hidden start) and ends; a start while the first copy is still
// starting ends silently. The programs run on a private X server, so that whether the main window
// is on the screen can be read back with xwininfo, with fresh XDG folders and a character file
// written by our own writer.

#include "agent/AcsWriter.h"
#include "agent/AgentTestCharacter.h"
#include "support/TestEnvironment.h"

#include "base/SettingsStore.h"
#include "base/WindowPlacementStore.h"

#include "QuorvaneVersion.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

const QString kProgram = QStringLiteral(QUORVANE_BINARY_DIR "/bin/quorvane");

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 15000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QThread::msleep(25);
    }
    return true;
}

class QuorvaneProcess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // A character for the program to load.
        const QString chars = m_env.DataHome() + u"/Quorvane/chars"_s;
        ASSERT_TRUE(QDir().mkpath(chars));
        AcsWriter writer;
        ASSERT_TRUE(writer.WriteFile(*MakeTestCharacter(), chars + u"/Pennywit.acs"_s))
            << writer.ErrorText().toStdString();
        // No scheduled work: nothing waits on the network or speaks.
        QSettings settings(ProgramSettingsFile(), QSettings::IniFormat);
        settings.setValue(u"Broadcast/ReadBroadcast"_s, 0);
        settings.setValue(u"Rules/CheckRules"_s, 0);
        settings.setValue(u"Ticker/Show"_s, 0);
        settings.setValue(u"Connection/Type"_s, u"LAN"_s); // set up: no wizard
    }

    void TearDown() override
    {
        for (QProcess* process : {&m_first, &m_second}) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
        if (m_xvfb.state() != QProcess::NotRunning) {
            m_xvfb.terminate();
            if (!m_xvfb.waitForFinished(5000))
                m_xvfb.kill(), m_xvfb.waitForFinished();
        }
    }

    void StartXServer()
    {
        for (int display = 120 + QCoreApplication::applicationPid() % 300; m_display.isEmpty(); ++display) {
            if (QFile::exists(u"/tmp/.X%1-lock"_s.arg(display)) || QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(display)))
                continue;
            m_xvfb.start(u"Xvfb"_s,
                         {u":%1"_s.arg(display), u"-nolisten"_s, u"tcp"_s, u"-screen"_s, u"0"_s, u"1024x768x24"_s});
            ASSERT_TRUE(m_xvfb.waitForStarted(5000)) << "Xvfb is needed: scripts/install-deps test";
            if (WaitFor([&] { return QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(display)); }, 5000))
                m_display = u":%1"_s.arg(display);
            else
                m_xvfb.kill(), m_xvfb.waitForFinished();
        }
    }

    QProcessEnvironment Environment(bool onX) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"WAYLAND_DISPLAY"_s);
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, u"unix:path=/nonexistent/bus"_s);
        if (onX) {
            environment.insert(u"DISPLAY"_s, m_display);
            environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        } else {
            environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        }
        return environment;
    }

    void Launch(QProcess& process, const QProcessEnvironment& environment, const QStringList& arguments = {})
    {
        process.setProcessEnvironment(environment);
        process.start(kProgram, arguments);
        ASSERT_TRUE(process.waitForStarted(5000)) << kProgram.toStdString();
    }

    // The main window's map state as the X server has it: "IsViewable", "IsUnMapped", or empty
    // when no such window exists.
    QString MapState()
    {
        QProcess xwininfo;
        xwininfo.start(u"xwininfo"_s, {u"-display"_s, m_display, u"-name"_s, u"Quorvane 3.0"_s});
        if (!xwininfo.waitForFinished(5000) || xwininfo.exitCode() != 0)
            return QString();
        for (const QByteArray& line : xwininfo.readAllStandardOutput().split('\n')) {
            if (line.trimmed().startsWith("Map State:"))
                return QString::fromLatin1(line.trimmed().mid(10).trimmed());
        }
        return QString();
    }

    QString SocketFile() const { return m_env.RuntimeDir() + u"/quorvane.socket"_s; }
    QString LockFile() const { return m_env.RuntimeDir() + u"/quorvane.lock"_s; }

    TestEnvironment m_env;
    QProcess m_xvfb;
    QString m_display;
    QProcess m_first;
    QProcess m_second;
};

TEST_F(QuorvaneProcess, ASecondStartBringsUpTheHiddenFirstWindowAndEnds)
{
    StartXServer();
    ASSERT_FALSE(m_display.isEmpty());
    // A placement from an earlier run, so that -AUTOSTART keeps the window hidden.
    WindowPlacement placement;
    placement.showCmd = ShowCommand::ShowNormal;
    placement.SetNormalRect(QRect(100, 80, 520, 400));
    WindowPlacementStore::Save(WindowPlacementStore::MainWindowSection(), placement);

    Launch(m_first, Environment(true), {u"-AUTOSTART"_s});
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(SocketFile()); }))
        << "the first copy finishes starting: " << m_first.readAllStandardError().toStdString();
    QThread::msleep(300);
    EXPECT_NE(MapState(), u"IsViewable"_s) << "hidden start";

    Launch(m_second, Environment(true));
    ASSERT_TRUE(m_second.waitForFinished(10000));
    EXPECT_EQ(m_second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_second.exitCode(), 0);

    EXPECT_TRUE(WaitFor([&] { return MapState() == u"IsViewable"_s; })) << "the first copy's window is shown";
    EXPECT_EQ(m_first.state(), QProcess::Running) << "the first copy goes on";
}

TEST_F(QuorvaneProcess, AStartWhileTheFirstIsStillStartingEndsSilently)
{
    // The first copy stops in its start-up: it holds the lock, shows the missing-configuration
    // message, and answers no one yet.
    QProcessEnvironment starting = Environment(false);
    starting.insert(u"QUORVANE_URL_INI"_s, m_env.Root() + u"/missing/URL.ini"_s);
    Launch(m_first, starting);
    ASSERT_TRUE(WaitFor([&] { return QFile(LockFile()).size() > 0; })) << "the first copy holds the lock";
    QThread::msleep(200);
    ASSERT_EQ(m_first.state(), QProcess::Running);
    EXPECT_FALSE(QFile::exists(SocketFile()));

    QElapsedTimer timer;
    timer.start();
    Launch(m_second, Environment(false));
    ASSERT_TRUE(m_second.waitForFinished(10000));
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(m_second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_second.exitCode(), 0);
    EXPECT_TRUE(m_second.readAllStandardOutput().isEmpty());
    EXPECT_FALSE(QFile::exists(ProfileSettingsFile())) << "nothing was written";
    EXPECT_EQ(QDir(m_env.DataHome() + u"/Quorvane"_s).entryList(QDir::Files), QStringList());
    EXPECT_EQ(m_first.state(), QProcess::Running) << "the first copy is left alone";
}

TEST_F(QuorvaneProcess, SignalsToEndGoThroughExitAndUnknownArgumentsAreIgnored)
{
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        QFile::remove(ProfileSettingsFile());
        Launch(m_first, Environment(false), {u"--no-such-option"_s, u"-AutoStart"_s, u"extra"_s});
        ASSERT_TRUE(WaitFor([&] { return QFile::exists(SocketFile()); }))
            << "started: " << m_first.readAllStandardError().toStdString();
        ::kill(pid_t(m_first.processId()), signalNumber);
        ASSERT_TRUE(m_first.waitForFinished(15000)) << signalNumber;
        EXPECT_EQ(m_first.exitStatus(), QProcess::NormalExit) << signalNumber;
        EXPECT_EQ(m_first.exitCode(), 0) << signalNumber;
        EXPECT_TRUE(QSettings(ProfileSettingsFile(), QSettings::IniFormat).childGroups().contains(u"WindowPos"_s))
            << "the placement is saved on the way out: " << signalNumber;
        EXPECT_FALSE(QFile::exists(SocketFile())) << signalNumber;
    }
}

TEST_F(QuorvaneProcess, HelpAndVersionPrintAndEnd)
{
    const std::pair<QString, QByteArray> cases[] = {
        {u"--version"_s, "Quorvane " QUORVANE_VERSION_TEXT "\n"},
        {u"-v"_s, "Quorvane " QUORVANE_VERSION_TEXT "\n"},
        {u"--help"_s, "--version"},
        {u"-h"_s, "-AUTOSTART"},
    };
    for (const auto& [option, printed] : cases) {
        QProcessEnvironment environment = Environment(false);
        environment.remove(u"QT_QPA_PLATFORM"_s); // needs no display at all
        environment.remove(u"DISPLAY"_s);
        Launch(m_first, environment, {u"-AUTOSTART"_s, option});
        ASSERT_TRUE(m_first.waitForFinished(10000));
        EXPECT_EQ(m_first.exitCode(), 0) << option.toStdString();
        EXPECT_TRUE(m_first.readAllStandardOutput().contains(printed)) << option.toStdString();
        EXPECT_FALSE(QFile::exists(LockFile())) << "nothing started";
    }
}

} // namespace
