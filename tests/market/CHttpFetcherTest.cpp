// The HTTP fetcher against the local quote server (tools/quotesim).

#include "QuoteSim.h"

#include "market/CHttpFetcher.h"
#include "platform/IReachability.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Records the completion messages it receives.
class Receiver final : public QObject
{
public:
    std::vector<int> codes;
    bool event(QEvent* event) override
    {
        if (event->type() == WM_FETCH_DONE) {
            codes.push_back(static_cast<FetchDoneEvent*>(event)->Code());
            return true;
        }
        return QObject::event(event);
    }
    bool WaitForMessage(int timeoutMs = 20000)
    {
        return QTest::qWaitFor([this] { return !codes.empty(); }, timeoutMs);
    }
};

class FixedReachability final : public IReachability
{
public:
    bool connected = true;
    bool IsConnected() override { return connected; }
};

// Lets queued messages arrive: used to show that none does.
void SettleEvents(int ms = 200)
{
    QTest::qWait(ms);
}

// One asynchronous fetch to its end: the code from the message.
int FetchAndWait(CHttpFetcher& fetcher, QString& output)
{
    Receiver receiver;
    const int started = fetcher.FetchAsync(&receiver, WM_FETCH_DONE, output);
    if (started != CHttpFetcher::FETCH_PENDING)
        return started;
    if (!receiver.WaitForMessage(60000))
        return -1;
    return receiver.codes.front();
}

} // namespace

struct UrlCase
{
    const char* url;
    bool valid;
};

class FetcherUrlTest : public ::testing::TestWithParam<UrlCase>
{};

TEST_P(FetcherUrlTest, SetUrlAcceptsOnlyLowerCaseHttpSchemes)
{
    CHttpFetcher fetcher;
    const UrlCase& c = GetParam();
    EXPECT_EQ(fetcher.SetURL(QString::fromUtf8(c.url)), c.valid);
    EXPECT_EQ(fetcher.IsUrlValid(), c.valid);
    if (!c.valid) {
        QString output = u"kept"_s;
        EXPECT_EQ(fetcher.Fetch(output), CHttpFetcher::FETCH_BAD_URL);
        Receiver receiver;
        EXPECT_EQ(fetcher.FetchAsync(&receiver, WM_FETCH_DONE, output), CHttpFetcher::FETCH_BAD_URL);
        SettleEvents(50);
        EXPECT_TRUE(receiver.codes.empty());
        EXPECT_EQ(output, u"kept"_s);
        EXPECT_FALSE(fetcher.IsBusy());
    }
}

INSTANTIATE_TEST_SUITE_P(Urls, FetcherUrlTest,
                         ::testing::Values(UrlCase{"", false}, UrlCase{"http://example.com/q?s=IBM", true},
                                           UrlCase{"https://example.com/q?s=IBM", true},
                                           UrlCase{"HTTP://EXAMPLE.COM/", false},
                                           UrlCase{"Https://example.com/", false},
                                           UrlCase{"HTTPS://example.com/", false}, UrlCase{"example.com/q", false},
                                           UrlCase{"ftp://example.com/", false},
                                           // the scheme text may stand anywhere
                                           UrlCase{"  http://example.com/", true}));

TEST(Fetcher, NewFetcherIsIdleAndEmpty)
{
    CHttpFetcher fetcher;
    EXPECT_FALSE(fetcher.IsBusy());
    EXPECT_FALSE(fetcher.IsUrlValid());
    EXPECT_TRUE(fetcher.Url().isEmpty());
    EXPECT_TRUE(fetcher.Proxy().isEmpty());
    EXPECT_TRUE(fetcher.SetProxy(u"proxy.example.com:8080"_s));
    EXPECT_EQ(fetcher.Proxy(), u"proxy.example.com:8080"_s);
}

TEST(Fetcher, OtherSchemesHiddenInAUrlAreNotFetched)
{
    // "http://" appears in the text, but the scheme is file: the request must never read a file.
    CHttpFetcher fetcher;
    ASSERT_TRUE(fetcher.SetURL(u"file:///etc/hostname?http://"_s));
    QString output;
    EXPECT_EQ(fetcher.Fetch(output), CHttpFetcher::FETCH_FAILED);
    EXPECT_TRUE(output.isEmpty());
}

TEST(Fetcher, SyncFetchJoinsLinesAndAppends)
{
    QuoteSim server({u"--fault"_s, u"LINES:body=first line\\r\\nsecond\\rline\\r\\nlast"_s});
    ASSERT_TRUE(server.IsRunning());
    CHttpFetcher fetcher;
    ASSERT_TRUE(fetcher.SetURL(server.Url(u"/csv/LINES"_s)));
    QString output = u"before|"_s;
    EXPECT_EQ(fetcher.Fetch(output), CHttpFetcher::FETCH_OK);
    EXPECT_EQ(output, u"before|first linesecondlinelast"_s);
    EXPECT_FALSE(fetcher.IsBusy());
}

TEST(Fetcher, AsyncFetchDeliversTheCsvAnswerAndOneMessage)
{
    QuoteSim server({u"--seed"_s, u"7"_s});
    ASSERT_TRUE(server.IsRunning());
    CHttpFetcher fetcher;
    ASSERT_TRUE(fetcher.SetURL(server.Url(u"/csv/IBM"_s)));
    QString output = u"old"_s;
    Receiver receiver;
    ASSERT_EQ(fetcher.FetchAsync(&receiver, WM_FETCH_DONE, output), CHttpFetcher::FETCH_PENDING);
    EXPECT_TRUE(fetcher.IsBusy());
    ASSERT_TRUE(receiver.WaitForMessage());
    EXPECT_FALSE(fetcher.IsBusy());
    EXPECT_EQ(receiver.codes, std::vector<int>{CHttpFetcher::FETCH_OK});
    ASSERT_TRUE(output.startsWith(u"old"_s));
    const QStringList fields = output.mid(3).split(u',');
    EXPECT_EQ(fields.size(), 5) << output.toStdString();
    EXPECT_FALSE(output.contains(u'\r') || output.contains(u'\n'));
    SettleEvents(100);
    EXPECT_EQ(receiver.codes.size(), 1u);
}

TEST(Fetcher, SendsNoCacheHeadersAndTheUserAgent)
{
    QuoteSim server;
    ASSERT_TRUE(server.IsRunning());
    CHttpFetcher fetcher;
    fetcher.SetURL(server.Url(u"/csv/IBM"_s));
    QString output;
    ASSERT_EQ(fetcher.Fetch(output), CHttpFetcher::FETCH_OK);
    QByteArray head = server.Control(u"/control/last-request"_s).toLower();
    EXPECT_TRUE(head.contains("cache-control: no-cache")) << head.toStdString();
    EXPECT_TRUE(head.contains("pragma: no-cache"));
    EXPECT_FALSE(head.contains("user-agent:")) << "an empty agent sends no header";

    fetcher.SetUserAgent(u"Quorvane-Test/1.0 (X11)"_s);
    ASSERT_EQ(fetcher.Fetch(output), CHttpFetcher::FETCH_OK);
    head = server.Control(u"/control/last-request"_s);
    EXPECT_TRUE(head.contains("User-Agent: Quorvane-Test/1.0 (X11)\r\n")) << head.toStdString();
}

struct FailureCase
{
    const char* fault;
    const char* why;
};

class FetcherFailureTest : public ::testing::TestWithParam<FailureCase>
{};

// Every way a server can misbehave ends in code 4, quickly, with nothing appended.
TEST_P(FetcherFailureTest, FailsWithCodeFourAndLeavesTheOutput)
{
    QuoteSim server({u"--fault"_s, QString::fromUtf8(GetParam().fault)});
    ASSERT_TRUE(server.IsRunning());
    CHttpFetcher fetcher;
    fetcher.SetTimeouts(2000, 2);
    ASSERT_TRUE(fetcher.SetURL(server.Url(u"/csv/IBM"_s)));
    QString output = u"previous"_s;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(FetchAndWait(fetcher, output), CHttpFetcher::FETCH_FAILED) << GetParam().why;
    EXPECT_EQ(output, u"previous"_s);
    EXPECT_LT(timer.elapsed(), 15000) << GetParam().why;
    EXPECT_FALSE(fetcher.IsBusy());
}

INSTANTIATE_TEST_SUITE_P(Faults, FetcherFailureTest,
                         ::testing::Values(FailureCase{"IBM:status=404", "not found"},
                                           FailureCase{"IBM:status=500", "server error"},
                                           FailureCase{"IBM:status=300", "a status of 300 counts as failure"},
                                           FailureCase{"IBM:redirect-loop", "more than 10 redirects"},
                                           FailureCase{"IBM:garbage", "not an HTTP answer"},
                                           FailureCase{"IBM:drop", "connection closed without an answer"},
                                           FailureCase{"IBM:truncate", "body shorter than announced"},
                                           FailureCase{"IBM:huge", "100 MB body over the 1 MiB limit"},
                                           FailureCase{"IBM:endless", "a body that never ends"},
                                           FailureCase{"IBM:silent", "no answer at all: the stall limit"}),
                         [](const ::testing::TestParamInfo<FailureCase>& info) {
                             std::string name = info.param.fault + 4;
                             for (char& c : name) {
                                 if (!isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

TEST(Fetcher, FollowsARedirect)
{
    QuoteSim server({u"--fault"_s, u"IBM:status=302*3"_s});
    ASSERT_TRUE(server.IsRunning());
    CHttpFetcher fetcher;
    fetcher.SetURL(server.Url(u"/csv/IBM"_s));
    QString output;
    EXPECT_EQ(fetcher.Fetch(output), CHttpFetcher::FETCH_OK);
    EXPECT_EQ(output.split(u',').size(), 5);
    EXPECT_EQ(server.Requests(), 4);
}

TEST(Fetcher, RefusesABodyOverTheLimit)
{
    QuoteSim server({u"--fault"_s, u"*:body=0123456789"_s});
    ASSERT_TRUE(server.IsRunning());
    CHttpFetcher fetcher;
    fetcher.SetURL(server.Url(u"/csv/IBM"_s));
    fetcher.SetMaxBodySize(10);
    QString output;
    EXPECT_EQ(fetcher.Fetch(output), CHttpFetcher::FETCH_OK);
    EXPECT_EQ(output, u"0123456789"_s);
    fetcher.SetMaxBodySize(9);
    output.clear();
    EXPECT_EQ(fetcher.Fetch(output), CHttpFetcher::FETCH_FAILED);
    EXPECT_TRUE(output.isEmpty());
}

TEST(Fetcher, RefusedConnectionFails)
{
    quint16 port = 0;
    {
        QuoteSim server;
        ASSERT_TRUE(server.IsRunning());
        port = server.Port();
    }
    CHttpFetcher fetcher;
    fetcher.SetURL(u"http://127.0.0.1:%1/csv/IBM"_s.arg(port));
    QString output;
    EXPECT_EQ(FetchAndWait(fetcher, output), CHttpFetcher::FETCH_FAILED);
}

TEST(Fetcher, BusyFetcherRefusesASecondRequestAndFinishesTheFirst)
{
    QuoteSim server({u"--fault"_s, u"SLOW:delay=500"_s});
    ASSERT_TRUE(server.IsRunning());
    CHttpFetcher fetcher;
    fetcher.SetURL(server.Url(u"/csv/SLOW"_s));
    QString first;
    QString second = u"untouched"_s;
    Receiver receiver;
    Receiver other;
    ASSERT_EQ(fetcher.FetchAsync(&receiver, WM_FETCH_DONE, first), CHttpFetcher::FETCH_PENDING);
    EXPECT_EQ(fetcher.FetchAsync(&other, WM_FETCH_DONE, second), CHttpFetcher::FETCH_BUSY);
    EXPECT_EQ(fetcher.Fetch(second), CHttpFetcher::FETCH_BUSY);
    ASSERT_TRUE(receiver.WaitForMessage());
    EXPECT_EQ(receiver.codes, std::vector<int>{CHttpFetcher::FETCH_OK});
    EXPECT_EQ(first.split(u',').size(), 5);
    EXPECT_EQ(second, u"untouched"_s);
    SettleEvents(100);
    EXPECT_TRUE(other.codes.empty());
    // Idle again: the next request goes through.
    QString third;
    EXPECT_EQ(FetchAndWait(fetcher, third), CHttpFetcher::FETCH_OK);
}

TEST(Fetcher, SyncFetchAfterAsyncPostsNothing)
{
    QuoteSim server;
    ASSERT_TRUE(server.IsRunning());
    CHttpFetcher fetcher;
    fetcher.SetURL(server.Url(u"/csv/IBM"_s));
    Receiver receiver;
    QString output;
    ASSERT_EQ(fetcher.FetchAsync(&receiver, WM_FETCH_DONE, output), CHttpFetcher::FETCH_PENDING);
    ASSERT_TRUE(receiver.WaitForMessage());
    receiver.codes.clear();
    EXPECT_EQ(fetcher.Fetch(output), CHttpFetcher::FETCH_OK);
    SettleEvents(100);
    EXPECT_TRUE(receiver.codes.empty());
}

TEST(Fetcher, NoMessageWithoutWindowOrMessageId)
{
    QuoteSim server;
    ASSERT_TRUE(server.IsRunning());
    CHttpFetcher fetcher;
    fetcher.SetURL(server.Url(u"/csv/IBM"_s));
    Receiver receiver;
    QString output;
    ASSERT_EQ(fetcher.FetchAsync(&receiver, QEvent::None, output), CHttpFetcher::FETCH_PENDING);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fetcher.IsBusy(); }, 10000));
    EXPECT_EQ(output.split(u',').size(), 5) << "the body still arrives";
    ASSERT_EQ(fetcher.FetchAsync(nullptr, WM_FETCH_DONE, output), CHttpFetcher::FETCH_PENDING);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fetcher.IsBusy(); }, 10000));
    SettleEvents(50);
    EXPECT_TRUE(receiver.codes.empty());
}

TEST(Fetcher, NoConnectionSendsNothing)
{
    QuoteSim server;
    ASSERT_TRUE(server.IsRunning());
    FixedReachability offline;
    offline.connected = false;
    CHttpFetcher fetcher(&offline);
    fetcher.SetURL(server.Url(u"/csv/IBM"_s));
    QString output = u"kept"_s;
    EXPECT_EQ(fetcher.Fetch(output), CHttpFetcher::FETCH_NO_CONNECTION);
    EXPECT_EQ(FetchAndWait(fetcher, output), CHttpFetcher::FETCH_NO_CONNECTION);
    EXPECT_EQ(output, u"kept"_s);
    EXPECT_EQ(server.Requests(), 0);
    EXPECT_FALSE(fetcher.IsBusy());
}

TEST(Fetcher, DestroyingItDuringARequestIsSafe)
{
    QuoteSim server({u"--fault"_s, u"*:silent"_s});
    ASSERT_TRUE(server.IsRunning());
    Receiver receiver;
    auto output = std::make_unique<QString>();
    QElapsedTimer timer;
    {
        CHttpFetcher fetcher;
        fetcher.SetURL(server.Url(u"/csv/IBM"_s));
        ASSERT_EQ(fetcher.FetchAsync(&receiver, WM_FETCH_DONE, *output), CHttpFetcher::FETCH_PENDING);
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.Requests() == 1; }, 10000));
        timer.start();
    }
    EXPECT_LT(timer.elapsed(), 5000) << "the transfer is abandoned, not waited out";
    SettleEvents(200);
    EXPECT_TRUE(receiver.codes.empty());
    EXPECT_TRUE(output->isEmpty());
}

TEST(Fetcher, UsesTheProxy)
{
    // The quote server also answers requests sent to it as a proxy (absolute URLs).
    QuoteSim proxy;
    ASSERT_TRUE(proxy.IsRunning());
    CHttpFetcher fetcher;
    fetcher.SetProxy(u"127.0.0.1:%1"_s.arg(proxy.Port()));
    fetcher.SetURL(u"http://quotes.invalid/csv/IBM"_s);
    QString output;
    EXPECT_EQ(fetcher.Fetch(output), CHttpFetcher::FETCH_OK);
    EXPECT_EQ(output.split(u',').size(), 5);
    EXPECT_TRUE(proxy.Control(u"/control/last-request"_s).startsWith("GET http://quotes.invalid/csv/IBM "));
}

TEST(Fetcher, FetchesOverHttpsWithTheTrustedCertificate)
{
    QTemporaryDir dir;
    const QString cert = dir.filePath(u"cert.pem"_s);
    const QString key = dir.filePath(u"key.pem"_s);
    QProcess openssl;
    openssl.start(u"openssl"_s, {u"req"_s, u"-x509"_s, u"-newkey"_s, u"rsa:2048"_s, u"-nodes"_s, u"-days"_s, u"2"_s,
                                 u"-subj"_s, u"/CN=127.0.0.1"_s, u"-addext"_s, u"subjectAltName=IP:127.0.0.1"_s,
                                 u"-keyout"_s, key, u"-out"_s, cert});
    if (!openssl.waitForStarted(5000))
        GTEST_SKIP() << "openssl is not installed (scripts/install-deps test installs it)";
    ASSERT_TRUE(openssl.waitForFinished(60000));
    ASSERT_EQ(openssl.exitCode(), 0);

    QuoteSim server({u"--tls-cert"_s, cert, u"--tls-key"_s, key});
    ASSERT_TRUE(server.IsRunning());
    CHttpFetcher fetcher;
    ASSERT_TRUE(fetcher.SetURL(server.Url(u"/chart/IBM"_s)));
    ASSERT_TRUE(fetcher.Url().startsWith(u"https://"_s));
    QString output;
    EXPECT_EQ(fetcher.Fetch(output), CHttpFetcher::FETCH_FAILED) << "an unknown certificate is refused";
    fetcher.SetCaFile(cert);
    EXPECT_EQ(FetchAndWait(fetcher, output), CHttpFetcher::FETCH_OK);
    EXPECT_TRUE(output.startsWith(u"{\"chart\""_s)) << output.toStdString();
}
