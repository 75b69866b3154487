// The engine's schedule, update cycle and quote retrieval, against the local quote server.

#include "EngineFixture.h"

#include <QFile>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// A display order the test sets: rows map to storage indices.
class ReversedOrder final : public StockList::IDisplayOrder
{
public:
    int StorageIndexOfRow(int row) const override
    {
        const int count = StockList::Count();
        return row >= 0 && row < count ? count - 1 - row : -1;
    }
};

} // namespace

TEST_F(EngineTest, StampIsDayAndTimeWithoutSeconds)
{
    EXPECT_EQ(CEngine::StatusStamp(QDateTime(QDate(2024, 4, 8), QTime(15, 45, 31))), u"Monday, 3:45 PM"_s);
    EXPECT_EQ(CEngine::StatusStamp(QDateTime(QDate(2024, 4, 13), QTime(0, 5))), u"Saturday, 12:05 AM"_s);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(CEngine::StatusStamp(QDateTime(QDate(2024, 4, 8), QTime(15, 45, 31))), u"Montag, 15:45"_s);
    QLocale::setDefault(QLocale(QLocale::C));
    EXPECT_EQ(CEngine::StatusStamp(QDateTime(QDate(2024, 4, 8), QTime(15, 45, 31))), u"Monday, 15:45"_s);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

TEST_F(EngineTest, EmptyListUpdatesNothingButTheBroadcastCommandStillBroadcasts)
{
    Serve();
    EXPECT_FALSE(Engine().UpdateCycle());
    EXPECT_TRUE(m_view.statuses.isEmpty());
    EXPECT_EQ(m_server->Requests(), 0);

    Engine().RunScheduled(m_clock.now, true, true, true, false);
    EXPECT_TRUE(m_broadcaster.broadcasts.empty());
    EXPECT_TRUE(m_rules.checks.empty());

    Engine().BroadcastCommand();
    ASSERT_EQ(m_broadcaster.broadcasts.size(), 1u);
    EXPECT_TRUE(m_broadcaster.broadcasts[0].force);
    EXPECT_EQ(m_rules.checks, std::vector<bool>{true});
    EXPECT_EQ(m_broadcaster.hides, 1);
    EXPECT_TRUE(m_view.statuses.isEmpty());
}

TEST_F(EngineTest, ThreeStocksWithTheSecondFailing)
{
    Serve({u"--fault"_s, u"BBB:status=500"_s, u"--time"_s, u"1712347200"_s});
    AddStock(u"AAA"_s);
    AddStock(u"BBB"_s);
    AddStock(u"CCC"_s);
    EXPECT_TRUE(Engine().UpdateCycle());
    EXPECT_EQ(m_view.statuses,
              (QStringList{u"Updating AAA"_s, u"Updating BBB"_s, u"Updating CCC"_s, u"Updated: "_s + Stamp()}));
    EXPECT_NE(StockList::FindByName(u"AAA"_s)->Price(), u"0."_s);
    EXPECT_EQ(StockList::FindByName(u"BBB"_s)->Price(), u"0."_s) << "the failed stock keeps its values";
    EXPECT_NE(StockList::FindByName(u"CCC"_s)->Price(), u"0."_s);
    EXPECT_EQ(StockList::FindByName(u"AAA"_s)->QuoteTime(),
              qint32(QDateTime::fromSecsSinceEpoch(1712347200).toSecsSinceEpoch()));
    EXPECT_EQ(m_view.redrawnRows, (std::vector<int>{0, 2}));
    EXPECT_EQ(m_view.commits, 1);
    EXPECT_EQ(m_view.stripRefreshes, 0) << "the strip is not shown";
    EXPECT_FALSE(Engine().IsUpdateRunning());
}

TEST_F(EngineTest, ChangedStocksRefreshTheShownStrip)
{
    Serve();
    AddStock(u"AAA"_s);
    m_view.stripShown = true;
    EXPECT_TRUE(Engine().UpdateCycle());
    EXPECT_EQ(m_view.commits, 1);
    EXPECT_EQ(m_view.stripRefreshes, 1);
}

TEST_F(EngineTest, FirstStockWithoutConnectionEndsThePass)
{
    Serve();
    AddStock(u"AAA"_s);
    AddStock(u"BBB"_s);
    // A dial-up connection that is up, with no dialling: the reachability service is asked.
    GetSettings().type = u"Dialup"_s;
    m_dialup.connected = true;
    m_reachability.connected = false;
    EXPECT_FALSE(Engine().UpdateCycle());
    EXPECT_EQ(m_view.statuses, (QStringList{u"Updating AAA"_s, u"Error during update: "_s + Stamp()}));
    EXPECT_EQ(m_server->Requests(), 0);
    EXPECT_EQ(Engine().LastFetchResult(), CHttpFetcher::FETCH_NO_CONNECTION);
}

TEST_F(EngineTest, NoConnectionAfterAQuoteStillReportsTheUpdate)
{
    Serve();
    AddStock(u"AAA"_s);
    AddStock(u"BBB"_s);
    AddStock(u"CCC"_s);
    GetSettings().type = u"Dialup"_s;
    m_dialup.connected = true;
    // The network goes away while the second stock is announced.
    m_view.onStatus = [this] {
        if (m_view.statuses.last() == u"Updating BBB"_s)
            m_reachability.connected = false;
    };
    EXPECT_TRUE(Engine().UpdateCycle());
    EXPECT_EQ(m_view.statuses, (QStringList{u"Updating AAA"_s, u"Updating BBB"_s, u"Updated: "_s + Stamp()}));
    EXPECT_EQ(m_server->Requests(), 1);
}

TEST_F(EngineTest, OnANetworkConnectionEveryRequestIsTriedWhateverTheReachabilityServiceSays)
{
    // The service says "disconnected" for connections it does not manage; dialling also needs the request.
    Serve();
    AddStock(u"AAA"_s);
    m_reachability.connected = false;
    for (const auto& [type, autoDial] : {std::pair{u"LAN"_s, 0}, std::pair{QString(), 0}, std::pair{u"Dialup"_s, 1}}) {
        GetSettings().type = type;
        GetSettings().autoDial = autoDial;
        EXPECT_TRUE(Engine().UpdateCycle()) << type.toStdString();
    }
    EXPECT_EQ(m_server->Requests(), 3);
}

TEST_F(EngineTest, ChangeOnlyDifferenceDoesNotCountAsChanged)
{
    Serve({u"--fault"_s, u"AAA:body=23.50,-0.25,880,4/5/2002,4:05pm*1"_s, u"--fault"_s,
           u"AAA:body=23.50,-0.30,880,4/5/2002,4:05pm"_s});
    Stock* stock = AddStock(u"AAA"_s);
    EXPECT_TRUE(Engine().UpdateCycle());
    EXPECT_EQ(stock->Change(), u"-0.25"_s);
    EXPECT_EQ(m_view.commits, 1);
    m_view.redrawnRows.clear();

    EXPECT_TRUE(Engine().UpdateCycle());
    EXPECT_EQ(stock->Change(), u"-0.3"_s) << "the new change is stored";
    EXPECT_TRUE(m_view.redrawnRows.empty());
    EXPECT_EQ(m_view.commits, 1) << "no commit for a change-only difference";
    EXPECT_EQ(m_view.statuses.last(), u"Updated: "_s + Stamp());
}

TEST_F(EngineTest, EuropeanAndChartAnswersReachTheStock)
{
    Serve({u"--fault"_s, u"^GDAXI:body=23,50;-0,25;880;4/5/2002;16.05"_s});
    Stock* dax = StockList::Add(u"DAX"_s, QString(), u"^GDAXI"_s, u"Germany"_s);
    EXPECT_EQ(Engine().FetchQuote(dax), CHttpFetcher::FETCH_OK);
    EXPECT_EQ(dax->Price(), u"23.5"_s);
    EXPECT_EQ(dax->Change(), u"-0.25"_s);
    EXPECT_EQ(dax->Percent(), u"-1.05"_s);
    EXPECT_EQ(dax->QuoteTime(), qint32(QDateTime(QDate(2002, 4, 5), QTime(16, 5)).toSecsSinceEpoch()));

    Serve({u"--time"_s, u"1712347200"_s}, true);
    Stock* ibm = AddStock(u"IBM"_s);
    EXPECT_EQ(Engine().FetchQuote(ibm), CHttpFetcher::FETCH_OK);
    EXPECT_NE(ibm->Price(), u"0."_s);
    EXPECT_EQ(ibm->QuoteTime(), qint32(QDateTime(QDate(2024, 4, 5), QTime(16, 0)).toSecsSinceEpoch()))
        << "the exchange's clock, read as local time";
}

TEST_F(EngineTest, NoUrlPatternGivesCodeOne)
{
    Serve();
    Stock* stock = AddStock(u"AAA"_s, u"Atlantis"_s);
    EXPECT_EQ(Engine().FetchQuote(stock), CHttpFetcher::FETCH_BAD_URL);
    EXPECT_FALSE(Engine().IsDownloadRunning());
    EXPECT_FALSE(Engine().UpdateCycle());
    EXPECT_EQ(m_view.statuses.last(), u"Error during update: "_s + Stamp());
}

TEST_F(EngineTest, StockRemovedDuringItsRequestGivesCodeSix)
{
    Serve({u"--fault"_s, u"AAA:delay=1000"_s});
    Stock* stock = AddStock(u"AAA"_s);
    Stock* other = AddStock(u"BBB"_s);
    QTimer::singleShot(50, [] { StockList::RemoveAt(0); });
    EXPECT_EQ(Engine().FetchQuote(stock), CEngine::FETCH_STOCK_GONE);
    ASSERT_EQ(StockList::Count(), 1);
    EXPECT_EQ(other->Price(), u"0."_s) << "the answer is stored nowhere";
}

TEST_F(EngineTest, StockRenamedDuringItsRequestGivesCodeSix)
{
    Serve({u"--fault"_s, u"AAA:delay=1000"_s});
    Stock* stock = AddStock(u"AAA"_s);
    QTimer::singleShot(50, [stock] { stock->SetName(u"Renamed"_s); });
    EXPECT_EQ(Engine().FetchQuote(stock), CEngine::FETCH_STOCK_GONE);
    EXPECT_EQ(stock->Price(), u"0."_s);
}

TEST_F(EngineTest, StockMovedDuringItsRequestIsFoundAgainByName)
{
    Serve({u"--fault"_s, u"AAA:delay=1000"_s});
    Stock* stock = AddStock(u"AAA"_s);
    AddStock(u"BBB"_s);
    QTimer::singleShot(50, [] { StockList::Move(0, 1); });
    EXPECT_EQ(Engine().FetchQuote(stock), CHttpFetcher::FETCH_OK);
    EXPECT_NE(StockList::FindByName(u"AAA"_s)->Price(), u"0."_s);
    EXPECT_EQ(StockList::FindByName(u"BBB"_s)->Price(), u"0."_s);
}

TEST_F(EngineTest, ExitDuringARequestFinishesItThenExits)
{
    Serve({u"--fault"_s, u"AAA:delay=1000"_s});
    AddStock(u"AAA"_s);
    AddStock(u"BBB"_s);
    QTimer::singleShot(50, [this] {
        // What the Exit command does while a download runs.
        ASSERT_TRUE(Engine().IsDownloadRunning());
        Engine().RequestStop();
    });
    Engine().RunScheduled(m_clock.now, true, true, true, false);
    EXPECT_EQ(m_view.exitCommands, 1);
    // The next stock is announced, its request is refused at once, and the pass ends without its
    // closing text.
    EXPECT_EQ(m_view.statuses, (QStringList{u"Updating AAA"_s, u"Updating BBB"_s}));
    EXPECT_EQ(StockList::FindByName(u"AAA"_s)->Price(), u"0."_s) << "nothing parsed";
    EXPECT_EQ(m_server->Requests(), 1) << "the next stock is not fetched";
    EXPECT_TRUE(m_broadcaster.broadcasts.empty());
    EXPECT_TRUE(m_rules.checks.empty());
    EXPECT_EQ(m_broadcaster.hides, 0);
    EXPECT_FALSE(Engine().IsUpdateRunning());
    EXPECT_FALSE(Engine().IsDownloadRunning());
    // Once stopping, every request is refused at once.
    EXPECT_EQ(Engine().FetchQuote(StockList::At(1)), CHttpFetcher::FETCH_BUSY);
}

TEST_F(EngineTest, SortChangeRestartsThePass)
{
    Serve({u"--fault"_s, u"AAA:delay=1000*1"_s});
    AddStock(u"AAA"_s);
    AddStock(u"BBB"_s);
    AddStock(u"CCC"_s);
    ReversedOrder reversed;
    QTimer::singleShot(50, [&reversed] {
        // A click on a column header during the download.
        StoreStockSortCriteria(1);
        StockList::SetDisplayOrder(&reversed);
    });
    EXPECT_TRUE(Engine().UpdateCycle());
    EXPECT_EQ(m_view.statuses, (QStringList{u"Updating AAA"_s, u"Updating CCC"_s, u"Updating BBB"_s, u"Updating AAA"_s,
                                            u"Updated: "_s + Stamp()}));
    EXPECT_EQ(m_server->Requests(), 4);
}

TEST_F(EngineTest, NestedUpdateReturnsAtOnceAndTheWindowStaysLive)
{
    Serve({u"--fault"_s, u"AAA:delay=600"_s});
    AddStock(u"AAA"_s);
    int timerEvents = 0;
    bool nestedResult = true;
    QTimer live;
    QObject::connect(&live, &QTimer::timeout, [&] {
        ++timerEvents;
        if (timerEvents == 2) {
            nestedResult = Engine().UpdateCycle();
            // A Broadcast command in the middle of a pass broadcasts the prices as they are.
            Engine().BroadcastCommand();
        }
    });
    live.start(20);
    EXPECT_TRUE(Engine().UpdateCycle());
    EXPECT_GE(timerEvents, 3) << "events keep being handled during the request";
    EXPECT_FALSE(nestedResult);
    ASSERT_EQ(m_broadcaster.broadcasts.size(), 1u);
    EXPECT_TRUE(m_broadcaster.broadcasts[0].force);
    EXPECT_EQ(m_server->Requests(), 1);
}

struct FaultCase
{
    const char* fault;
    bool chart;
};

class EngineFaultTest : public EngineTest, public ::testing::WithParamInterface<FaultCase>
{};

// Against every fault of the server: the window stays live, the stock keeps its previous values
// and the pass ends with the error text.
TEST_P(EngineFaultTest, StockKeepsItsValues)
{
    Serve({u"--fault"_s, QString::fromUtf8(GetParam().fault)}, GetParam().chart);
    Stock* stock = AddStock(u"AAA"_s);
    stock->SetPrice(u"12.5"_s, false);
    stock->SetChange(u"0.25"_s, false);
    stock->ComputePercent();
    stock->SetVolume(u"1000"_s);
    stock->SetQuoteTime(1000000000);
    const Stock before(*stock);
    int timerEvents = 0;
    QTimer live;
    QObject::connect(&live, &QTimer::timeout, [&] { ++timerEvents; });
    live.start(0); // fires at every turn of the event loop

    EXPECT_FALSE(Engine().UpdateCycle());
    EXPECT_EQ(m_view.statuses.last(), u"Error during update: "_s + Stamp());
    EXPECT_TRUE(before.SameForDisplay(*stock));
    EXPECT_EQ(stock->Change(), before.Change());
    EXPECT_EQ(stock->Percent(), before.Percent());
    EXPECT_GE(timerEvents, 1);
    EXPECT_EQ(m_view.commits, 0);
    EXPECT_FALSE(Engine().IsUpdateRunning());
}

INSTANTIATE_TEST_SUITE_P(Faults, EngineFaultTest,
                         ::testing::Values(FaultCase{"AAA:status=404", false}, FaultCase{"AAA:status=503", false},
                                           FaultCase{"AAA:silent", false}, FaultCase{"AAA:endless", false},
                                           FaultCase{"AAA:huge", false}, FaultCase{"AAA:redirect-loop", false},
                                           FaultCase{"AAA:garbage", false}, FaultCase{"AAA:drop", false},
                                           FaultCase{"AAA:truncate", false}, FaultCase{"AAA:chart-error", true},
                                           FaultCase{"AAA:no-quote", true}, FaultCase{"AAA:empty", true},
                                           FaultCase{"AAA:body=<html>busy</html>", true}));

TEST_F(EngineTest, UnknownAnswerFormatChangesNothing)
{
    Serve();
    QString ini = WriteQuoteSimUrlIni(m_env->Root(), *m_server);
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    text.replace(u"AnswerFormat=csv"_s, u"AnswerFormat=jsno"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
    file.close();
    Stock* stock = AddStock(u"AAA"_s);
    stock->SetPrice(u"12.5"_s, false);
    EXPECT_EQ(Engine().FetchQuote(stock), CHttpFetcher::FETCH_FAILED);
    EXPECT_EQ(stock->Price(), u"12.5"_s);
}

TEST_F(EngineTest, ProxyIsUsedOnlyForTheLanConnection)
{
    Serve();
    // Every request goes to a quote server that does not exist, through the proxy when one is used.
    QString ini = WriteQuoteSimUrlIni(m_env->Root(), *m_server);
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    text.replace(m_server->Url(QString()), u"http://quotes.invalid"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
    file.close();

    Stock* stock = AddStock(u"AAA"_s);
    CSettings& settings = GetSettings();
    settings.proxyServer = u"127.0.0.1"_s;
    settings.proxyPort = QString::number(m_server->Port());
    EXPECT_EQ(Engine().FetchQuote(stock), CHttpFetcher::FETCH_OK);
    EXPECT_EQ(Engine().Fetcher().Proxy(), u"127.0.0.1:%1"_s.arg(m_server->Port()));
    settings.type = u"Dialup"_s;
    EXPECT_EQ(Engine().FetchQuote(stock), CHttpFetcher::FETCH_FAILED);
    EXPECT_TRUE(Engine().Fetcher().Proxy().isEmpty());
}

TEST_F(EngineTest, SendsTheCountrysUserAgent)
{
    Serve();
    m_env->Set("QUORVANE_URL_INI",
               WriteQuoteSimUrlIni(m_env->Root(), *m_server, false, u"Quorvane-Test/2 (X11)"_s).toUtf8());
    Stock* stock = AddStock(u"AAA"_s, u"Canada"_s);
    ASSERT_EQ(Engine().FetchQuote(stock), CHttpFetcher::FETCH_OK);
    const QByteArray head = m_server->Control(u"/control/last-request"_s);
    EXPECT_TRUE(head.contains("User-Agent: Quorvane-Test/2 (X11)\r\n")) << head.toStdString();
}
