// The update cycle on a dial-up connection, with NetworkManager faked by python3-dbusmock.

#include "EngineFixture.h"
#include "NetworkManagerMock.h"

#include "platform/DialupLink.h"

#include <QTimer>

using namespace Qt::StringLiterals;

class EngineDialupTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        m_nm = std::make_unique<NetworkManagerMock>();
        if (!m_nm->Available())
            GTEST_SKIP() << m_nm->WhyUnavailable().toStdString();
        m_link = std::make_unique<DialupLink>(m_nm->Bus());
        m_dialupLink = m_link.get();
        GetSettings().type = u"Dialup"_s;
    }
    void TearDown() override
    {
        EngineTest::TearDown();
        m_link.reset();
        m_nm.reset();
    }

    // The system dials while the first request is under way.
    QString DialDuringTheFirstRequest()
    {
        auto path = std::make_shared<QString>();
        const QString device = m_nm->AddDevice(u"ppp0"_s);
        QTimer::singleShot(50, [this, device, path] { *path = m_nm->AddActiveConnection(u"pppoe"_s, {device}); });
        m_dialedPath = path;
        return device;
    }

    std::unique_ptr<NetworkManagerMock> m_nm;
    std::unique_ptr<DialupLink> m_link;
    std::shared_ptr<QString> m_dialedPath;
};

TEST_F(EngineDialupTest, WithoutConnectionOrAutoDialNothingIsFetched)
{
    Serve();
    AddStock(u"AAA"_s);
    GetSettings().autoDial = 0;
    Engine().RunScheduled(m_clock.now, true, true, true, false);
    EXPECT_EQ(m_view.statuses, QStringList{u"No Connection: "_s + Stamp()});
    EXPECT_EQ(m_server->Requests(), 0);
    EXPECT_TRUE(m_broadcaster.broadcasts.empty()) << "the scheduled broadcast is skipped";
    EXPECT_TRUE(m_rules.checks.empty());
}

TEST_F(EngineDialupTest, WithAConnectionUpTheQuotesAreFetchedAndItStaysUp)
{
    Serve();
    AddStock(u"AAA"_s);
    const QString up = m_nm->AddActiveConnection(u"pppoe"_s, {m_nm->AddDevice(u"ppp0"_s)});
    ASSERT_FALSE(up.isEmpty());
    GetSettings().autoDial = 0;
    GetSettings().autoHangup = 1;
    EXPECT_TRUE(Engine().UpdateCycle());
    EXPECT_EQ(m_view.statuses.last(), u"Updated: "_s + Stamp());
    EXPECT_TRUE(m_nm->ActiveConnections().contains(up)) << "a connection up at the start is left up";
    EXPECT_TRUE(m_view.cursor.isEmpty());
}

TEST_F(EngineDialupTest, AutoDialFetchesAndAutoHangupHangsUpAfterThePass)
{
    Serve({u"--fault"_s, u"AAA:delay=1000"_s});
    AddStock(u"AAA"_s);
    GetSettings().autoDial = 1;
    GetSettings().autoHangup = 1;
    DialDuringTheFirstRequest();
    EXPECT_TRUE(Engine().UpdateCycle());
    ASSERT_FALSE(m_dialedPath->isEmpty());
    EXPECT_FALSE(m_nm->ActiveConnections().contains(*m_dialedPath)) << "hung up";
    EXPECT_EQ(m_view.cursor, (QStringList{u"wait"_s, u"normal"_s}));
    EXPECT_EQ(m_view.statuses.last(), u"Updated: "_s + Stamp());
}

TEST_F(EngineDialupTest, AutoHangupHappensEvenWhenEveryRequestFailed)
{
    Serve({u"--fault"_s, u"AAA:silent"_s}); // fails after the fetcher's stall limit
    AddStock(u"AAA"_s);
    GetSettings().autoDial = 1;
    GetSettings().autoHangup = 1;
    DialDuringTheFirstRequest();
    EXPECT_FALSE(Engine().UpdateCycle());
    ASSERT_FALSE(m_dialedPath->isEmpty());
    EXPECT_FALSE(m_nm->ActiveConnections().contains(*m_dialedPath));
    EXPECT_EQ(m_view.statuses.last(), u"Error during update: "_s + Stamp());
}

TEST_F(EngineDialupTest, WithoutAutoHangupTheDialedConnectionStays)
{
    Serve({u"--fault"_s, u"AAA:delay=1000"_s});
    AddStock(u"AAA"_s);
    GetSettings().autoDial = 1;
    GetSettings().autoHangup = 0;
    DialDuringTheFirstRequest();
    EXPECT_TRUE(Engine().UpdateCycle());
    ASSERT_FALSE(m_dialedPath->isEmpty());
    EXPECT_TRUE(m_nm->ActiveConnections().contains(*m_dialedPath));
    EXPECT_TRUE(m_view.cursor.isEmpty());
}

TEST_F(EngineTest, LanConnectionNeverAsksForDialup)
{
    Serve();
    AddStock(u"AAA"_s);
    GetSettings().autoHangup = 1;
    m_dialup.connected = false;
    EXPECT_TRUE(Engine().UpdateCycle());
    EXPECT_EQ(m_dialup.hangUps, 0);
}
