#include "base/LaunchBrowser.h"
#include "platform/XdgBrowserLauncher.h"
#include "support/RecordingMessagePresenter.h"
#include "support/TestEnvironment.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTest>
#include <QThread>

#include <optional>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kUrl = u"https://quotes.example.test/chart?s=ACME&range=1d%20x"_s;
const QString kMessageWithClipboard = u"Please open your browser and goto the following link:\n"_s + kUrl +
                                      u"\n\nFor your convenience, the link has been copied to the Clipboard.\n"
                                      u"Select Edit | Paste in your browser to quickly paste the link."_s;
const QString kMessageWithoutClipboard = u"Please open your browser and goto the following link:\n"_s + kUrl;

// Launches the page and waits for the outcome: the launch itself returns at once.
template <typename... Arguments>
bool LaunchAndWait(Arguments&&... arguments)
{
    std::optional<bool> launched;
    LaunchBrowser(std::forward<Arguments>(arguments)..., [&launched](bool result) { launched = result; });
    EXPECT_TRUE(QTest::qWaitFor([&launched] { return launched.has_value(); }, 20000));
    return launched.value_or(false);
}

// Real programs on a private PATH: fake xdg-open and xdg-mime scripts, and a fake browser, each
// recording its arguments one per line.
class LaunchBrowserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_bin = m_env.Root() + u"/bin"_s;
        QDir().mkpath(m_bin);
        QDir().mkpath(m_env.DataHome() + u"/applications"_s);
        m_env.Set("PATH", QFile::encodeName(m_bin) + ":/usr/bin:/bin");
        m_env.Set("XDG_DATA_DIRS", QFile::encodeName(m_env.Root() + u"/system-share"_s));
        QGuiApplication::clipboard()->setText(u"before"_s);
        RecordingMessagePresenter::Instance().Clear();
    }

    void Script(const QString& name, const QByteArray& body)
    {
        const QString path = m_bin + u'/' + name;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("#!/bin/sh\n" + body);
        file.close();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A script that records its arguments in <root>/<name>.args, then exits with the code.
    void RecordingScript(const QString& name, int exitCode, const QByteArray& extra = {})
    {
        const QByteArray record = QFile::encodeName(Record(name));
        Script(name, "printf '%s\\n' \"$@\" > '" + record + ".tmp'\nmv '" + record + ".tmp' '" + record + "'\n" +
                         extra + "exit " + QByteArray::number(exitCode) + "\n");
    }

    QString Record(const QString& name) const { return m_env.Root() + u'/' + name + u".args"_s; }

    // The recorded arguments, waiting a while for a detached program to write them.
    QStringList Recorded(const QString& name, int waitMs = 0) const
    {
        QElapsedTimer timer;
        timer.start();
        while (!QFile::exists(Record(name)) && timer.elapsed() < waitMs)
            QThread::msleep(20);
        QFile file(Record(name));
        if (!file.open(QIODevice::ReadOnly))
            return {u"<not run>"_s};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    void DefaultBrowser(const QByteArray& id)
    {
        Script(u"xdg-mime"_s, "[ \"$1 $2 $3\" = 'query default text/html' ] || exit 1\necho '" + id + "'\n");
    }

    void DesktopFile(const QString& relativePath, const QByteArray& content)
    {
        const QString path = m_env.DataHome() + u"/applications/"_s + relativePath;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QList<UserMessage> Messages() { return RecordingMessagePresenter::Instance().Take(); }

    TestEnvironment m_env;
    QString m_bin;
};

} // namespace

TEST_F(LaunchBrowserTest, XdgOpenSucceeding)
{
    RecordingScript(u"xdg-open"_s, 0);
    RecordingScript(u"xdg-mime"_s, 0);
    EXPECT_TRUE(LaunchAndWait(kUrl, true, true, true));
    EXPECT_EQ(Recorded(u"xdg-open"_s), QStringList{kUrl}) << "the URL is one argument, untouched";
    EXPECT_EQ(Recorded(u"xdg-mime"_s), QStringList{u"<not run>"_s});
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"before"_s);
}

TEST_F(LaunchBrowserTest, XdgOpenFailingFallsBackToTheDefaultBrowser)
{
    RecordingScript(u"xdg-open"_s, 3);
    DefaultBrowser("fakebrowser.desktop");
    const QString browserFolder = m_env.Root() + u"/Web Browser $1"_s;
    QDir().mkpath(browserFolder);
    const QString browser = browserFolder + u"/browse"_s;
    QFile::link(m_bin + u"/browse"_s, browser);
    RecordingScript(u"browse"_s, 0);
    DesktopFile(u"fakebrowser.desktop"_s, "[Desktop Entry]\nType=Application\nName=Fake\n"
                                          "Exec=\"" +
                                              QFile::encodeName(browserFolder).replace("$", "\\\\$") +
                                              "/browse\" --new-window %u\n");

    EXPECT_TRUE(LaunchAndWait(kUrl, true, true, true));
    EXPECT_EQ(Recorded(u"xdg-open"_s), QStringList{kUrl});
    EXPECT_EQ(Recorded(u"browse"_s, 10000), QStringList({u"--new-window"_s, kUrl}));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(LaunchBrowserTest, EntriesInSubfoldersAndOnPath)
{
    // kde-fake.desktop is applications/kde/fake.desktop; its Exec names the program by PATH.
    RecordingScript(u"xdg-open"_s, 4);
    DefaultBrowser("kde-fake.desktop");
    RecordingScript(u"browse"_s, 0);
    DesktopFile(u"kde/fake.desktop"_s, "[Desktop Entry]\nType=Application\nName=Fake\nExec=browse %U --icon %i\n");
    EXPECT_TRUE(LaunchAndWait(kUrl, true, true, true));
    EXPECT_EQ(Recorded(u"browse"_s, 10000), QStringList({kUrl, u"--icon"_s}));
}

TEST_F(LaunchBrowserTest, NothingStartsThenTheClipboardAndTheMessage)
{
    RecordingScript(u"xdg-open"_s, 4);
    DefaultBrowser("");
    EXPECT_FALSE(LaunchAndWait(kUrl, true, true, true));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), kUrl);
    const QList<UserMessage> messages = Messages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].caption, u"Could not launch browser"_s);
    EXPECT_EQ(messages[0].text, kMessageWithClipboard);
    EXPECT_EQ(messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(messages[0].buttons, MessageButtons::Ok);
}

TEST_F(LaunchBrowserTest, WithoutTheClipboardTheMessageSaysNothingOfIt)
{
    RecordingScript(u"xdg-open"_s, 4);
    DefaultBrowser("");
    EXPECT_FALSE(LaunchAndWait(kUrl, true, true, false));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"before"_s);
    const QList<UserMessage> messages = Messages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, kMessageWithoutClipboard);

    // Neither report nor copy: a silent failure.
    EXPECT_FALSE(LaunchAndWait(kUrl, true, false, false));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"before"_s);

    // Copy without report: the link is on the clipboard, nothing is said.
    EXPECT_FALSE(LaunchAndWait(kUrl, true, false, true));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), kUrl);
}

TEST_F(LaunchBrowserTest, BrokenDefaultBrowsersFallBack)
{
    RecordingScript(u"xdg-open"_s, 3);
    const struct
    {
        QByteArray id;
        QByteArray content;
    } cases[] = {
        {"missing.desktop", {}},
        {"noexec.desktop", "[Desktop Entry]\nType=Application\nName=X\n"},
        {"badquote.desktop", "[Desktop Entry]\nType=Application\nName=X\nExec=\"/usr/bin/unterminated %u\n"},
        {"noprogram.desktop", "[Desktop Entry]\nType=Application\nName=X\nExec=/nonexistent/browser %u\n"},
        {"adir.desktop", "[Desktop Entry]\nType=Application\nName=X\nExec=/tmp %u\n"},
        {"../../escape.desktop", {}},
        {"not-a-desktop-file", {}},
    };
    DesktopFile(u"../escape.desktop"_s, "[Desktop Entry]\nType=Application\nName=X\nExec=browse %u\n");
    RecordingScript(u"browse"_s, 0);
    for (const auto& c : cases) {
        DefaultBrowser(c.id);
        if (!c.content.isEmpty())
            DesktopFile(QString::fromLatin1(c.id), c.content);
        EXPECT_FALSE(LaunchAndWait(kUrl, true, false, false)) << c.id.constData();
    }
    EXPECT_EQ(Recorded(u"browse"_s, 300), QStringList{u"<not run>"_s});
}

TEST_F(LaunchBrowserTest, AnOptionLikeUrlIsNeverPassedOn)
{
    RecordingScript(u"xdg-open"_s, 0);
    EXPECT_FALSE(LaunchAndWait(u"--help"_s, true, true, true));
    EXPECT_EQ(Recorded(u"xdg-open"_s), QStringList{u"<not run>"_s});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"--help"_s);
    EXPECT_EQ(Messages().size(), 1);
}

TEST_F(LaunchBrowserTest, SlowLaunchersNeverHoldTheWindowLong)
{
    // xdg-open that stays with the browser it started: launched once the time-out passes.
    RecordingScript(u"xdg-open"_s, 0, "sleep 30\n");
    XdgBrowserLauncher launcher(300);
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(LaunchAndWait(launcher, kUrl, true, true, true));
    EXPECT_LT(timer.elapsed(), 5000);

    // xdg-mime that hangs: given up on, and the fallback follows.
    RecordingScript(u"xdg-open"_s, 3);
    Script(u"xdg-mime"_s, "sleep 30\n");
    timer.restart();
    EXPECT_FALSE(LaunchAndWait(launcher, kUrl, true, false, true));
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), kUrl);
}

TEST_F(LaunchBrowserTest, TheWindowGoesOnWhileTheLauncherRunsAndTheFallbackFollowsItsFailure)
{
    const QByteArray release = QFile::encodeName(m_env.Root() + u"/release"_s);
    RecordingScript(u"xdg-open"_s, 3, "while [ ! -e '" + release + "' ]; do sleep 0.05; done\n");
    DefaultBrowser("");
    XdgBrowserLauncher launcher(20000);
    std::optional<bool> launched;
    QElapsedTimer timer;
    timer.start();
    LaunchBrowser(launcher, kUrl, true, true, true, [&launched](bool result) { launched = result; });
    EXPECT_LT(timer.elapsed(), 5000) << "no wait for the launcher";
    EXPECT_FALSE(launched.has_value()) << "returned while xdg-open still runs";
    EXPECT_TRUE(Messages().isEmpty());

    QFile(QFile::decodeName(release)).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QTest::qWaitFor([&launched] { return launched.has_value(); }, 20000));
    EXPECT_FALSE(*launched);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), kUrl);
    EXPECT_EQ(Messages().size(), 1);
}
