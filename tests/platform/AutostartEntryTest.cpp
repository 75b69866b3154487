#include "platform/AutostartEntry.h"
#include "base/AppPaths.h"
#include "base/StartWithWindows.h"
#include "platform/DesktopEntry.h"
#include "platform/DesktopExec.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Runs desktop-file-validate on the file; empty when it passed, else what it said.
QString ValidationErrors(const QString& path)
{
    QProcess validate;
    validate.start(u"desktop-file-validate"_s, {path});
    if (!validate.waitForFinished(20000))
        return u"desktop-file-validate did not run"_s;
    const QString output = QString::fromUtf8(validate.readAllStandardOutput() + validate.readAllStandardError());
    if (validate.exitStatus() != QProcess::NormalExit || validate.exitCode() != 0 || output.contains(u"error"_s))
        return output.isEmpty() ? u"exit code %1"_s.arg(validate.exitCode()) : output;
    return QString();
}

void WriteFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

class Autostart : public ::testing::Test
{
protected:
    void SetUp() override { m_env.Set("XDG_CONFIG_DIRS", QFile::encodeName(SystemDir())); }

    QString SystemDir() const { return m_env.Root() + u"/xdg-system"_s; }
    QString UserFile() const { return m_env.ConfigHome() + u"/autostart/quorvane.desktop"_s; }
    QString SystemFile() const { return SystemDir() + u"/autostart/quorvane.desktop"_s; }

    TestEnvironment m_env;
};

} // namespace

TEST_F(Autostart, OnWritesAValidEntryAndOffRemovesIt)
{
    EXPECT_FALSE(IsStartWithWindows());
    ASSERT_TRUE(SetStartWithWindows(true));
    ASSERT_TRUE(QFile::exists(UserFile()));
    EXPECT_TRUE(IsStartWithWindows());
    EXPECT_EQ(ValidationErrors(UserFile()), QString());

    const auto entry = DesktopEntry::Load(UserFile());
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Value(u"Type"_s), u"Application"_s);
    EXPECT_EQ(entry->Value(u"Name"_s), u"Quorvane"_s);
    EXPECT_EQ(DesktopExec::SplitExec(entry->Value(u"Exec"_s)), QStringList({AppPaths::ProgramFile(), u"-AUTOSTART"_s}));
    // Started after the panel, so the tray icon has somewhere to go.
    EXPECT_EQ(entry->Value(u"X-KDE-autostart-after"_s), u"panel"_s);
    EXPECT_TRUE(entry->BoolValue(u"X-LXQt-Need-Tray"_s, false));
    EXPECT_TRUE(entry->Contains(u"X-GNOME-Autostart-Delay"_s));

    ASSERT_TRUE(SetStartWithWindows(false));
    EXPECT_FALSE(QFile::exists(UserFile()));
    EXPECT_FALSE(IsStartWithWindows());
    EXPECT_TRUE(SetStartWithWindows(false)) << "already off";
    EXPECT_EQ(QDir(m_env.ConfigHome() + u"/autostart"_s).entryList(QDir::Files), QStringList());
}

TEST_F(Autostart, EntriesSwitchedOffByHandCountAsOff)
{
    const struct
    {
        const char* content;
        bool on;
    } cases[] = {
        {"[Desktop Entry]\nType=Application\nName=Q\nExec=/usr/bin/q -AUTOSTART\n", true},
        {"[Desktop Entry]\nType=Application\nName=Q\nExec=/usr/bin/q\nHidden=true\n", false},
        {"[Desktop Entry]\nType=Application\nName=Q\nExec=/usr/bin/q\nX-GNOME-Autostart-enabled=false\n", false},
        {"[Desktop Entry]\nType=Application\nName=Q\n", false},
        {"[Desktop Entry]\nType=Application\nName=Q\nExec=\"/usr/bin/q\n", false},
        {"garbage \x01\x02\xff", false},
        {"", false},
    };
    for (const auto& c : cases) {
        WriteFile(UserFile(), c.content);
        EXPECT_EQ(IsStartWithWindows(), c.on) << c.content;
    }
    ASSERT_TRUE(SetStartWithWindows(true));
    EXPECT_TRUE(IsStartWithWindows()) << "switching on rewrites the whole entry";
}

TEST_F(Autostart, ASystemEntryIsMaskedWhenSwitchedOff)
{
    WriteFile(SystemFile(), "[Desktop Entry]\nType=Application\nName=Quorvane\nExec=/usr/bin/quorvane -AUTOSTART\n");
    EXPECT_TRUE(IsStartWithWindows()) << "the session would start the system's entry";

    ASSERT_TRUE(SetStartWithWindows(false));
    ASSERT_TRUE(QFile::exists(UserFile()));
    EXPECT_TRUE(DesktopEntry::Load(UserFile())->BoolValue(u"Hidden"_s, false));
    EXPECT_FALSE(IsStartWithWindows());
    EXPECT_EQ(ValidationErrors(UserFile()), QString());
    EXPECT_TRUE(QFile::exists(SystemFile())) << "the system's file is never touched";

    ASSERT_TRUE(SetStartWithWindows(true));
    EXPECT_TRUE(IsStartWithWindows());
    EXPECT_FALSE(DesktopEntry::Load(UserFile())->BoolValue(u"Hidden"_s, false));

    // A hidden system entry needs no mask: switching off just removes ours.
    WriteFile(SystemFile(), "[Desktop Entry]\nType=Application\nName=Quorvane\nExec=q\nHidden=true\n");
    ASSERT_TRUE(SetStartWithWindows(false));
    EXPECT_FALSE(QFile::exists(UserFile()));
    EXPECT_FALSE(IsStartWithWindows());
}

TEST_F(Autostart, AFailedWriteLeavesTheOptionOff)
{
    // "autostart" is a file here, so the folder cannot be made.
    WriteFile(m_env.ConfigHome() + u"/autostart"_s, "in the way");
    EXPECT_FALSE(SetStartWithWindows(true));
    EXPECT_FALSE(IsStartWithWindows());
}

TEST_F(Autostart, ExecRoundTripsAnAwkwardProgramPath)
{
    // A program in a folder with blanks, a '$' and quotes: every layer of quoting has to hold.
    const QString folder = m_env.Root() + u"/My Programs/Prix $HOME \"q\" it's"_s;
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = folder + u"/record.sh"_s;
    const QString record = m_env.Root() + u"/argv.txt"_s;
    WriteFile(program, "#!/bin/sh\nfor a in \"$0\" \"$@\"; do printf '[%s]\\n' \"$a\"; done > \"$RECORD.tmp\"\n"
                       "mv \"$RECORD.tmp\" \"$RECORD\"\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    AutostartEntry entry(u"quorvane.desktop"_s);
    ASSERT_TRUE(entry.Enable(u"Quorvane"_s, program, {u"-AUTOSTART"_s, u"a b"_s}));
    EXPECT_TRUE(entry.IsEnabled());
    EXPECT_EQ(ValidationErrors(entry.UserFile()), QString());
    EXPECT_EQ(DesktopExec::SplitExec(DesktopEntry::Load(entry.UserFile())->Value(u"Exec"_s)),
              QStringList({program, u"-AUTOSTART"_s, u"a b"_s}));

    // The desktop's own launcher reads it the same way.
    const QString gio = QStandardPaths::findExecutable(u"gio"_s);
    ASSERT_FALSE(gio.isEmpty()) << "gio (libglib2.0-bin) is needed: scripts/install-deps test";
    QProcess launch;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"RECORD"_s, record);
    launch.setProcessEnvironment(environment);
    launch.start(gio, {u"launch"_s, entry.UserFile()});
    ASSERT_TRUE(launch.waitForFinished(20000));
    EXPECT_EQ(launch.exitCode(), 0) << launch.readAllStandardError().constData();
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(record) && waited.elapsed() < 10000)
        QThread::msleep(20);
    QFile recorded(record);
    ASSERT_TRUE(recorded.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(recorded.readAll()), u"["_s + program + u"]\n[-AUTOSTART]\n[a b]\n"_s);
}

TEST(AutostartSwitch, AnyCaseAnywhereInTheLine)
{
    const auto has = [](const QStringList& arguments) {
        return HasAutostartSwitch(arguments);
    };
    EXPECT_TRUE(has({u"/usr/bin/quorvane"_s, u"-AUTOSTART"_s}));
    EXPECT_TRUE(has({u"quorvane"_s, u"-x"_s, u"-autostart"_s}));
    EXPECT_TRUE(has({u"quorvane"_s, u"--x-AutoStartish"_s}));
    EXPECT_FALSE(has({u"quorvane"_s}));
    EXPECT_FALSE(has({u"quorvane"_s, u"autostart"_s}));
    EXPECT_FALSE(has({u"/opt/-autostart/quorvane"_s})) << "the program's own path does not count";
    EXPECT_FALSE(has({}));
}
