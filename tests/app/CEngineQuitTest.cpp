// The application quitting while a quote is awaited. In its own executable: once the application
// has been told to quit, no event loop of this process runs again.

#include "EngineFixture.h"

#include <QCoreApplication>
#include <QTimer>

using namespace Qt::StringLiterals;

TEST_F(EngineTest, QuitDuringARequestEndsTheWaitWithoutParsing)
{
    Serve({u"--fault"_s, u"AAA:delay=2000"_s});
    Stock* stock = AddStock(u"AAA"_s);
    stock->SetPrice(u"12.5"_s, false);
    QTimer::singleShot(50, [] { QCoreApplication::exit(0); });
    EXPECT_EQ(Engine().FetchQuote(stock), CHttpFetcher::FETCH_FAILED);
    EXPECT_FALSE(Engine().IsDownloadRunning());
    EXPECT_EQ(stock->Price(), u"12.5"_s) << "the earlier result is not taken for this request's";
    // The engine goes away with the request still under way: the fetcher abandons it safely.
    m_engine.reset();
}
