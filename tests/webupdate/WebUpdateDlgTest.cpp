// The web update dialog and the news window against the local update site, offscreen.

#include "QuoteSim.h"

#include "base/AppPaths.h"
#include "base/CSettings.h"
#include "base/SettingsStore.h"
#include "platform/IReachability.h"
#include "support/RecordingMessagePresenter.h"
#include "support/TestEnvironment.h"
#include "ui/CHyperLinkDL.h"
#include "webupdate/CNewsDlg.h"
#include "webupdate/CWebUpdateDlg.h"
#include "webupdate/WebUpdate.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

class FixedReachability final : public IReachability
{
public:
    bool connected = true;
    bool IsConnected() override { return connected; }
};

// Runs `inside` with the application's modal dialog of type T once it is open.
template <typename T>
void WithModalDialog(std::function<void(T&)> inside)
{
    QTimer::singleShot(0, [inside] {
        T* dialog = nullptr;
        (void)QTest::qWaitFor([&dialog] { return (dialog = qobject_cast<T*>(QApplication::activeModalWidget())); });
        ASSERT_NE(dialog, nullptr);
        inside(*dialog);
    });
}

class WebUpdateDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RecordingMessagePresenter::Instance().Clear();
        QFile dirs(m_env.ConfigHome() + u"/user-dirs.dirs"_s);
        ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DESKTOP_DIR=\"" + QFile::encodeName(Desktop()) + "\"\n");
    }

    QString Desktop() const { return m_env.Root() + u"/Desktop"_s; }
    QStringList DesktopFiles() const { return QDir(Desktop()).entryList(QDir::Files | QDir::Hidden); }

    // Opens the dialog on a server started with these arguments, and waits for the check to end.
    CWebUpdateDlg& Open(const QStringList& arguments = {}, bool waitForTheCheck = true)
    {
        m_server = std::make_unique<QuoteSim>(arguments);
        EXPECT_TRUE(m_server->IsRunning());
        m_dialog = std::make_unique<CWebUpdateDlg>(m_server->Url(u"/update/version.txt"_s), AppPaths::ProgramFile(),
                                                   QString(), &m_reachability);
        m_dialog->SetTimeouts(5000, 5);
        m_dialog->show();
        if (waitForTheCheck)
            WaitWhileBusy();
        return *m_dialog;
    }

    void WaitWhileBusy()
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !m_dialog->IsBusy(); }, 20000));
    }

    template <typename T = QWidget>
    T* Child(const char* name) const
    {
        T* child = m_dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    bool Shown(const char* name) const { return Child(name)->isVisible(); }
    QString Status() const { return Child<QLabel>("status")->text(); }

    // After a check or download: Close in Cancel's place, as the default button.
    void ExpectIdle() const
    {
        EXPECT_TRUE(Shown("closeButton"));
        EXPECT_FALSE(Shown("cancelButton"));
        EXPECT_TRUE(Child<QPushButton>("closeButton")->isDefault());
    }

    TestEnvironment m_env;
    FixedReachability m_reachability;
    std::unique_ptr<QuoteSim> m_server;
    std::unique_ptr<CWebUpdateDlg> m_dialog;
};

} // namespace

TEST_F(WebUpdateDlgTest, WithoutAnUpdateOnlyTheNewsIsOffered)
{
    Open({u"--update-version"_s, u"3.0.0.0"_s});
    ExpectIdle();
    EXPECT_TRUE(Status().contains(u"June 9, 2026"_s)) << "the news date";
    EXPECT_FALSE(Status().contains(u"3.0.0.0"_s));
    EXPECT_TRUE(Shown("links"));
    EXPECT_TRUE(Shown("newsLink"));
    EXPECT_TRUE(Child<CHyperLinkDL>("newsLink")->text().contains(u"June 9, 2026"_s));
    EXPECT_FALSE(Child("newsLink")->toolTip().isEmpty());
    EXPECT_FALSE(Shown("downloadLink"));
    EXPECT_FALSE(Shown("progress"));
}

TEST_F(WebUpdateDlgTest, ANewerVersionOffersItsDownload)
{
    Open();
    ExpectIdle();
    for (const QString& part : {u"3.1.0.0"_s, u"June 2, 2026"_s, u"502 KB"_s})
        EXPECT_TRUE(Status().contains(part)) << Status().toStdString();
    auto* link = Child<CHyperLinkDL>("downloadLink");
    EXPECT_TRUE(link->isVisible());
    EXPECT_TRUE(link->text().contains(u"502 KB"_s));
    EXPECT_EQ(link->Link(), m_server->Url(u"/update/files/quorvane-3.1.0.0.tar.gz"_s));
    EXPECT_EQ(link->toolTip(), link->Link());
    EXPECT_EQ(link->focusPolicy(), Qt::StrongFocus);
    EXPECT_TRUE(Shown("progress"));
    EXPECT_EQ(Child<QProgressBar>("progress")->value(), 0);
}

class CheckFailure : public WebUpdateDlgTest, public ::testing::WithParamInterface<const char*>
{};

TEST_P(CheckFailure, ShowsNoLinks)
{
    m_reachability.connected = QByteArray(GetParam()) != "offline";
    // The reachability service's answer only counts on a dial-up connection that is not dialled.
    const CSettings saved = GetSettings();
    GetSettings().type = m_reachability.connected ? u"LAN"_s : u"Dialup"_s;
    GetSettings().autoDial = 0;
    Open(m_reachability.connected ? QStringList{u"--fault"_s, QString::fromLatin1(GetParam())} : QStringList());
    ExpectIdle();
    EXPECT_FALSE(Shown("links"));
    EXPECT_FALSE(Shown("progress"));
    EXPECT_FALSE(Status().contains(u"..."_s)) << "no longer accessing";
    if (!m_reachability.connected) {
        EXPECT_TRUE(m_server->Control(u"/control/last-request"_s).isEmpty()) << "offline: nothing is sent";
    }
    GetSettings() = saved;
}

INSTANTIATE_TEST_SUITE_P(Paths, CheckFailure,
                         ::testing::Values("/version:status=404", "/news:drop", "/version:body=FILE URL: http://x/a",
                                           "offline"));

TEST_F(WebUpdateDlgTest, CancelDuringTheCheckClosesTheDialogWhenTheCheckEnds)
{
    CWebUpdateDlg& dialog = Open({u"--fault"_s, u"/version:silent"_s}, false);
    QTest::qWait(300);
    ASSERT_TRUE(dialog.IsBusy()) << "the server never answers";
    const QString accessing = Status();
    Child<QPushButton>("cancelButton")->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(Status(), accessing) << "the user is told that the cancel is under way";
    EXPECT_TRUE(QTest::qWaitFor([&dialog] { return !dialog.isVisible(); }, 3000));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(WebUpdateDlgTest, ACompletedDownloadClosesTheDialogAndTheMessageNamesTheFile)
{
    QuoteSim server;
    WriteText(u"WebUpdate"_s, u"URL"_s, server.Url(u"/update/version.txt"_s));
    WithModalDialog<CWebUpdateDlg>([](CWebUpdateDlg& dialog) {
        ASSERT_TRUE(QTest::qWaitFor([&dialog] { return !dialog.IsBusy(); }, 20000));
        dialog.findChild<CHyperLinkDL*>(u"downloadLink"_s)->click();
    });
    RunWebUpdate(nullptr, &m_reachability);
    EXPECT_EQ(DesktopFiles(), QStringList{u"quorvane-3.1.0.0.tar.gz"_s});
    const QList<UserMessage> messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].caption, u"Update ready for installation"_s);
    EXPECT_TRUE(messages[0].text.contains(u"\"quorvane-3.1.0.0.tar.gz\""_s));
}

TEST_F(WebUpdateDlgTest, CancelDuringTheDownloadRemovesThePartialFileAndOffersTheUpdateAgain)
{
    Open({u"--fault"_s, u"/download:stall=100000"_s});
    const QString updateText = Status();
    Child<CHyperLinkDL>("downloadLink")->click();
    ASSERT_TRUE(m_dialog->IsBusy());
    EXPECT_TRUE(Shown("cancelButton"));
    auto* progress = Child<QProgressBar>("progress");
    ASSERT_TRUE(QTest::qWaitFor([progress] { return progress->value() > 0; }, 10000));
    EXPECT_EQ(progress->maximum(), 514048) << "the announced size";
    EXPECT_TRUE(Child<QLabel>("progressLabel")->text().contains(u'%'));
    Child<QPushButton>("cancelButton")->click();
    WaitWhileBusy();
    ExpectIdle();
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(Status(), updateText);
    EXPECT_EQ(progress->value(), 0);
    EXPECT_TRUE(DesktopFiles().isEmpty());
    EXPECT_TRUE(RecordingMessagePresenter::Instance().Take().isEmpty());
}

class RefusedName : public WebUpdateDlgTest, public ::testing::WithParamInterface<const char*>
{};

TEST_P(RefusedName, WritesNothingAndSaysSo)
{
    Open({u"--update-file"_s, QString::fromLatin1(GetParam())});
    Child<CHyperLinkDL>("downloadLink")->click();
    EXPECT_FALSE(m_dialog->IsBusy());
    EXPECT_EQ(RecordingMessagePresenter::Instance().Take().size(), 1);
    EXPECT_TRUE(m_server->Control(u"/control/last-request"_s).startsWith("GET /update/news.rtf")) << "nothing fetched";
    EXPECT_TRUE(DesktopFiles().isEmpty());
    EXPECT_TRUE(QDir(Desktop()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Names, RefusedName, ::testing::Values("..", "%2E%2E", ".hidden", "a%2Fb.bin", "x%00.bin"));

TEST_F(WebUpdateDlgTest, ADamagedDownloadIsDeletedWithAMessage)
{
    Open({u"--fault"_s, u"/version:wrong-sha256"_s});
    Child<CHyperLinkDL>("downloadLink")->click();
    WaitWhileBusy();
    ExpectIdle();
    const QList<UserMessage> messages = RecordingMessagePresenter::Instance().Take();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].text.contains(u"damaged"_s));
    EXPECT_TRUE(DesktopFiles().isEmpty());
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_TRUE(Shown("downloadLink")) << "the user may try again";
}

TEST_F(WebUpdateDlgTest, TheNewsShowOneHeadingAboveWhatTheUpdateBrings)
{
    Open();
    QString text;
    bool readOnly = false;
    int caret = -1;
    WithModalDialog<CNewsDlg>([&](CNewsDlg& news) {
        text = news.Editor()->toPlainText();
        readOnly = news.Editor()->isReadOnly();
        caret = news.Editor()->textCursor().position();
        news.accept();
    });
    Child<CHyperLinkDL>("newsLink")->click();
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(caret, 0);
    EXPECT_FALSE(text.contains(u"@@Version"_s));
    const qsizetype newHeading = text.indexOf(u"New since the version you have:\n"_s);
    const qsizetype oldHeading = text.indexOf(u"Already in the version you have:\n"_s);
    ASSERT_GE(newHeading, 0) << text.toStdString();
    ASSERT_GT(oldHeading, newHeading);
    EXPECT_EQ(text.count(u"New since"_s), 1);
    EXPECT_EQ(text.count(u"Already in"_s), 1);
    const qsizetype cafe = text.indexOf(u"caf\u00e9"_s), startUp = text.indexOf(u"Faster start-up"_s);
    EXPECT_TRUE(newHeading < cafe && cafe < startUp && startUp < oldHeading) << "3.1 and 3.0.5 under the new heading";
    EXPECT_GT(text.indexOf(u"reads the prices aloud"_s), oldHeading);
    EXPECT_TRUE(Child<CHyperLinkDL>("newsLink")->IsVisited());
}
