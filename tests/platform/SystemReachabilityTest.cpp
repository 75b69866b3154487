// Reachability from NetworkManager's state, with NetworkManager faked by python3-dbusmock. This
// executable holds one test: the desktop's reachability backend is loaded once per process.

#include "NetworkManagerMock.h"

#include "platform/SystemReachability.h"

#include <QNetworkInformation>
#include <QTest>

#include <gtest/gtest.h>

TEST(SystemReachability, OnlyADisconnectedNetworkMeansNoConnection)
{
    NetworkManagerMock nm;
    if (!nm.Available())
        GTEST_SKIP() << nm.WhyUnavailable().toStdString();
    // The program's system bus is the private one (read when the backend first connects).
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", nm.Address().toUtf8());
    ASSERT_TRUE(nm.SetGlobalState(70));

    SystemReachability& reachability = SystemReachability::Instance();
    ASSERT_TRUE(SystemReachability::LoadBackend());
    ASSERT_EQ(QNetworkInformation::instance()->backendName(), QStringLiteral("networkmanager"));
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return QNetworkInformation::instance()->reachability() == QNetworkInformation::Reachability::Online; },
        5000));
    EXPECT_TRUE(reachability.IsConnected());

    struct Case
    {
        uint state;
        bool connected;
    };
    // NetworkManager states: 20 disconnected, 30 disconnecting, 40 connecting, 50 local only,
    // 60 site only, 70 global, 10 asleep.
    for (const Case c :
         {Case{20, false}, Case{50, true}, Case{30, false}, Case{60, true}, Case{40, true}, Case{70, true}}) {
        ASSERT_TRUE(nm.SetGlobalState(c.state));
        EXPECT_TRUE(QTest::qWaitFor([&] { return reachability.IsConnected() == c.connected; }, 5000))
            << "NetworkManager state " << c.state;
    }
}
