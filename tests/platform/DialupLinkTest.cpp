// Dial-up detection and hang-up against a NetworkManager faked by python3-dbusmock on a private bus.

#include "NetworkManagerMock.h"

#include "platform/DialupLink.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

#define REQUIRE_MOCK(mock)                                                                                             \
    if (!(mock).Available())                                                                                           \
    GTEST_SKIP() << (mock).WhyUnavailable().toStdString()

TEST(DialupLink, WithoutABusNothingIsAvailable)
{
    DialupLink link(QDBusConnection::connectToBus(u"unix:path=/nonexistent/quorvane-test-bus"_s, u"nobus"_s));
    EXPECT_FALSE(link.IsAvailable());
    EXPECT_EQ(link.IsDialupConnected(), 0);
    QElapsedTimer timer;
    timer.start();
    link.HangUp();
    EXPECT_LT(timer.elapsed(), 500);
}

TEST(DialupLink, WithoutNetworkManagerNothingIsAvailable)
{
    auto bus = NetworkManagerMock::BusOnly();
    REQUIRE_MOCK(bus);
    DialupLink link(bus.Bus());
    EXPECT_FALSE(link.IsAvailable());
    EXPECT_EQ(link.IsDialupConnected(), 0);
    QElapsedTimer timer;
    timer.start();
    link.HangUp();
    EXPECT_LT(timer.elapsed(), 500);
}

TEST(DialupLink, OtherConnectionKindsDoNotCount)
{
    NetworkManagerMock nm;
    REQUIRE_MOCK(nm);
    DialupLink link(nm.Bus());
    EXPECT_TRUE(link.IsAvailable());
    EXPECT_EQ(link.IsDialupConnected(), 0);
    const QString device = nm.AddDevice(u"eth0"_s);
    ASSERT_FALSE(nm.AddActiveConnection(u"802-3-ethernet"_s, {device}).isEmpty());
    ASSERT_FALSE(nm.AddActiveConnection(u"802-11-wireless"_s, {}).isEmpty());
    ASSERT_FALSE(nm.AddActiveConnection(u"vpn"_s, {}).isEmpty());
    // Bluetooth PAN is a network link, not dial-up.
    ASSERT_FALSE(nm.AddActiveConnection(u"bluetooth"_s, {}, 2, u"panu"_s).isEmpty());
    // A dial-up connection that is going down does not count either.
    ASSERT_FALSE(nm.AddActiveConnection(u"pppoe"_s, {}, 3).isEmpty());
    EXPECT_EQ(nm.ActiveConnections().size(), 5);
    EXPECT_EQ(link.IsDialupConnected(), 0);
    QElapsedTimer timer;
    timer.start();
    link.HangUp();
    EXPECT_LT(timer.elapsed(), 500);
    EXPECT_EQ(nm.ActiveConnections().size(), 5);
}

class DialupKindTest : public ::testing::TestWithParam<std::pair<const char*, const char*>>
{};

TEST_P(DialupKindTest, CountsAsDialup)
{
    NetworkManagerMock nm;
    REQUIRE_MOCK(nm);
    DialupLink link(nm.Bus());
    const auto [type, bluetooth] = GetParam();
    ASSERT_FALSE(nm.AddActiveConnection(QString::fromUtf8(type), {}, 2, QString::fromUtf8(bluetooth)).isEmpty());
    EXPECT_EQ(link.IsDialupConnected(), 1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DialupKindTest,
                         ::testing::Values(std::pair{"pppoe", ""}, std::pair{"adsl", ""}, std::pair{"gsm", ""},
                                           std::pair{"cdma", ""}, std::pair{"bluetooth", "dun"}));

TEST(DialupLink, ActivatingConnectionCounts)
{
    NetworkManagerMock nm;
    REQUIRE_MOCK(nm);
    DialupLink link(nm.Bus());
    ASSERT_FALSE(nm.AddActiveConnection(u"gsm"_s, {}, 1).isEmpty());
    EXPECT_EQ(link.IsDialupConnected(), 1);
}

TEST(DialupLink, HangUpDeactivatesOnlyTheFirstDialupConnection)
{
    NetworkManagerMock nm;
    REQUIRE_MOCK(nm);
    DialupLink link(nm.Bus());
    const QString ethernet = nm.AddActiveConnection(u"802-3-ethernet"_s, {nm.AddDevice(u"eth0"_s)});
    const QString first = nm.AddActiveConnection(u"pppoe"_s, {nm.AddDevice(u"dsl0"_s)});
    const QString second = nm.AddActiveConnection(u"gsm"_s, {nm.AddDevice(u"wwan0"_s)});
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    ASSERT_EQ(link.ActiveDialupConnections(), (QStringList{first, second}));

    QElapsedTimer timer;
    timer.start();
    link.HangUp();
    EXPECT_LT(timer.elapsed(), 2900) << "returns as soon as the connection is gone";
    const QStringList active = nm.ActiveConnections();
    EXPECT_FALSE(active.contains(first));
    EXPECT_TRUE(active.contains(second));
    EXPECT_TRUE(active.contains(ethernet));
    EXPECT_EQ(link.IsDialupConnected(), 1);

    link.HangUp();
    EXPECT_EQ(link.IsDialupConnected(), 0);
    EXPECT_EQ(nm.ActiveConnections(), QStringList{ethernet});
}

TEST(DialupLink, HangUpGivesUpAfterThreeSeconds)
{
    NetworkManagerMock nm;
    REQUIRE_MOCK(nm);
    DialupLink link(nm.Bus());
    // Without a device the fake NetworkManager cannot take this connection down: it stays.
    const QString stubborn = nm.AddActiveConnection(u"pppoe"_s, {});
    ASSERT_FALSE(stubborn.isEmpty());
    QElapsedTimer timer;
    timer.start();
    link.HangUp();
    const qint64 waited = timer.elapsed();
    EXPECT_GE(waited, DialupLink::kHangUpWaitMs);
    EXPECT_LT(waited, DialupLink::kHangUpWaitMs + 3000);
    EXPECT_EQ(link.IsDialupConnected(), 1);
}
