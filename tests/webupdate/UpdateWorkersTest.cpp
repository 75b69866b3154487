// The check and download workers against the local update site (tools/quotesim).

#include "QuoteSim.h"

#include "support/TestEnvironment.h"
#include "webupdate/CUpdateCheck.h"
#include "webupdate/CUpdateDownload.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const VersionNumber kInstalled(3, 0, 0, 0);

WebTransfer::Request Request(const QString& url, const QString& proxy = {})
{
    WebTransfer::Request request = WebTransfer::Request::Make(url, proxy, u"Quorva"_s);
    request.connectMs = 5000;
    request.stallSeconds = 2;
    return request;
}

// One check to its end: the code.
int Check(CUpdateCheck& check, const WebTransfer::Request& request)
{
    QSignalSpy finished(&check, &CUpdateCheck::Finished);
    check.Start(request, kInstalled);
    if (!finished.wait(20000))
        return -1;
    return finished.front().front().toInt();
}

struct VersionCase
{
    const char* latest;
    bool newer;
};

class CheckVersions : public ::testing::TestWithParam<VersionCase>
{};

} // namespace

TEST_P(CheckVersions, AnUpdateIsOnlyANewerVersionThanTheInstalledOne)
{
    QuoteSim server({u"--update-version"_s, QString::fromLatin1(GetParam().latest)});
    ASSERT_TRUE(server.IsRunning());
    CUpdateCheck check;
    ASSERT_EQ(Check(check, Request(server.Url(u"/update/version.txt"_s))), CUpdateCheck::CHECK_OK);
    EXPECT_EQ(check.IsUpdateAvailable(), GetParam().newer);
    EXPECT_TRUE(check.Description().startsWith("{\\rtf1"));
    EXPECT_TRUE(check.Description().endsWith("}\n")) << "read line by line, each line ending in a line feed";
    EXPECT_FALSE(check.Description().contains('\r'));
}

INSTANTIATE_TEST_SUITE_P(Against300, CheckVersions,
                         ::testing::Values(VersionCase{"3.0.0.0", false}, VersionCase{"3.0", false},
                                           VersionCase{"2.99.99.99", false}, VersionCase{"3.0.0.1", true},
                                           VersionCase{"3.1", true}, VersionCase{"10", true}));

class CheckFaults : public ::testing::TestWithParam<const char*>
{};

TEST_P(CheckFaults, FailTheCheck)
{
    QuoteSim server({u"--fault"_s, QString::fromLatin1(GetParam())});
    ASSERT_TRUE(server.IsRunning());
    CUpdateCheck check;
    EXPECT_EQ(Check(check, Request(server.Url(u"/update/version.txt"_s))), CUpdateCheck::CHECK_FAILED);
}

INSTANTIATE_TEST_SUITE_P(Server, CheckFaults,
                         ::testing::Values("/version:status=404", "/version:redirect-loop", "/news:status=500",
                                           "/version:drop", "/news:truncate", "/version:endless", "/news:stall=0",
                                           "/version:body=LATEST VERSION: 4\\nFILE URL: http://x/y.bin\\n"));

TEST(UpdateCheck, GoesThroughTheProxyAsTheProgramWithoutCache)
{
    QuoteSim server;
    ASSERT_TRUE(server.IsRunning());
    CUpdateCheck check;
    // A host that does not exist: only the proxy can answer.
    ASSERT_EQ(Check(check, Request(u"http://updates.invalid/update/version.txt"_s,
                                   u"127.0.0.1:"_s + QString::number(server.Port()))),
              CUpdateCheck::CHECK_OK);
    const QByteArray head = server.Control(u"/control/last-request"_s);
    EXPECT_TRUE(head.startsWith("GET http://updates.invalid/update/news.rtf ")) << head.constData();
    EXPECT_TRUE(head.contains("\r\nUser-Agent: Quorva\r\n"));
    EXPECT_TRUE(head.contains("\r\nCache-Control: no-cache\r\n"));
}

// Downloads ----------------------------------------------------------------------------------------

TEST(UpdateDownload, NamesTheFileAfterTheLastPathSegmentAndRefusesUnsafeNames)
{
    const std::pair<QString, QString> cases[] = {
        {u"http://h/a/setup-3.1.exe?x=1#y"_s, u"setup-3.1.exe"_s},
        {u"http://h/a/Quorvane%20Setup%C3%A9.tar.gz"_s, u"Quorvane Setup\u00e9.tar.gz"_s},
        {u"http://h/a%2Fb/c"_s, u"c"_s},
        {u"http://h/files/"_s, QString()},
        {u"http://h/a/.."_s, QString()},
        {u"http://h/a/%2E%2E"_s, QString()},
        {u"http://h/a/."_s, QString()},
        {u"http://h/a/.hidden"_s, QString()},
        {u"http://h/a/..%2F..%2Fx"_s, QString()},
        {u"http://h/a/b%2Fc"_s, QString()},
        {u"http://h/a/b%00c"_s, QString()},
        {u"http://h"_s, QString()},
    };
    for (const auto& [url, name] : cases)
        EXPECT_EQ(CUpdateDownload::FileNameOf(url), name) << url.toStdString();
}

namespace {

class DownloadTest : public ::testing::Test
{
protected:
    QString Folder() const { return m_env.Root() + u"/Desktop"_s; }
    QStringList Files() const { return QDir(Folder()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    // One download to its end: the result.
    int Download(const QString& fault, const QString& sha256 = {}, qint64 maxSize = 0)
    {
        m_server = std::make_unique<QuoteSim>(fault.isEmpty() ? QStringList() : QStringList{u"--fault"_s, fault});
        if (maxSize > 0)
            m_download.SetMaxSize(maxSize);
        QSignalSpy finished(&m_download, &CUpdateDownload::Finished);
        m_download.Start(Request(m_server->Url(u"/update/files/u.bin"_s)), Folder(), u"u.bin"_s, sha256);
        if (!finished.wait(20000))
            return -1;
        return finished.front().front().toInt();
    }

    TestEnvironment m_env;
    std::unique_ptr<QuoteSim> m_server;
    CUpdateDownload m_download;
};

} // namespace

TEST_F(DownloadTest, ACompleteDownloadIsPutInPlaceReadableAndNeverExecutable)
{
    QDir().mkpath(Folder());
    QFile old(Folder() + u"/u.bin"_s);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older download");
    old.close();
    old.setPermissions(old.permissions() | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);

    const QString sha = u"6670f8b975feea1b07bd097e7fac7daea982a6ecd781d77feaadf7dfbd502426"_s; // of the 502 KB
    QSignalSpy progress(&m_download, &CUpdateDownload::Progress);
    ASSERT_EQ(Download({}, sha.toUpper()), CUpdateDownload::DOWNLOAD_COMPLETE);
    EXPECT_EQ(Files(), QStringList{u"u.bin"_s}) << "replaced, nothing else left";
    const QFileInfo file(Folder() + u"/u.bin"_s);
    EXPECT_EQ(m_download.FilePath(), file.filePath());
    EXPECT_EQ(file.size(), 514048);
    EXPECT_EQ(file.permissions() & (QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther), 0);
    EXPECT_TRUE(file.permissions() & QFile::ReadOther);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.back(), (QList<QVariant>{514048LL, 514048LL})) << "the last report is the whole";
}

struct DownloadFault
{
    const char* fault;
    const char* sha256;
    qint64 maxSize;
    CUpdateDownload::Error error;
};

class DownloadFaults : public DownloadTest, public ::testing::WithParamInterface<DownloadFault>
{};

TEST_P(DownloadFaults, FailWithoutLeavingAFile)
{
    const DownloadFault& c = GetParam();
    EXPECT_EQ(Download(QString::fromLatin1(c.fault), QString::fromLatin1(c.sha256), c.maxSize),
              CUpdateDownload::DOWNLOAD_ERROR);
    EXPECT_EQ(m_download.LastError(), c.error);
    EXPECT_TRUE(Files().isEmpty()) << Files().join(u' ').toStdString();
    EXPECT_TRUE(m_download.FilePath().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Faults, DownloadFaults,
                         ::testing::Values(DownloadFault{"/download:status=404", "", 0, CUpdateDownload::Error::Web},
                                           DownloadFault{"/download:truncate", "", 0, CUpdateDownload::Error::Web},
                                           DownloadFault{"/download:drop", "", 0, CUpdateDownload::Error::Web},
                                           DownloadFault{"/download:endless", "", 1 << 20, CUpdateDownload::Error::Web},
                                           // announced larger than the limit: refused before a byte is written
                                           DownloadFault{"", "", 100000, CUpdateDownload::Error::Web},
                                           DownloadFault{
                                               "", "00000000000000000000000000000000000000000000000000000000000000ff",
                                               0, CUpdateDownload::Error::Damaged}));

TEST_F(DownloadTest, AFolderThatCannotBeWrittenIsAFileError)
{
    QFile blocker(Folder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    EXPECT_EQ(Download({}), CUpdateDownload::DOWNLOAD_ERROR);
    EXPECT_EQ(m_download.LastError(), CUpdateDownload::Error::File);
}

TEST_F(DownloadTest, CancelStopsAfterTheCurrentBlockAndRemovesThePartialFile)
{
    for (const QString& fault : {u"/download:stall=100000"_s, u"/download:silent"_s}) {
        m_server = std::make_unique<QuoteSim>(QStringList{u"--fault"_s, fault});
        QSignalSpy progress(&m_download, &CUpdateDownload::Progress);
        QSignalSpy finished(&m_download, &CUpdateDownload::Finished);
        m_download.Start(Request(m_server->Url(u"/update/files/u.bin"_s)), Folder(), u"u.bin"_s, {});
        if (fault.contains(u"stall"_s)) {
            ASSERT_TRUE(progress.wait(10000)) << "the first block is reported at once";
        } else {
            QTest::qWait(300);
        }
        QElapsedTimer sinceCancel;
        sinceCancel.start();
        m_download.Cancel();
        ASSERT_TRUE(finished.wait(10000));
        EXPECT_LT(sinceCancel.elapsed(), 1500) << "the stalled transfer is left at once";
        EXPECT_EQ(finished.front().front().toInt(), CUpdateDownload::DOWNLOAD_CANCELLED);
        EXPECT_TRUE(Files().isEmpty());
    }
}
