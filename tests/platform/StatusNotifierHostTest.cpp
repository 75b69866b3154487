#include "platform/StatusNotifierHost.h"

#include <QDBusConnection>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A stand-in for the desktop's StatusNotifierWatcher, served from its own thread.
class FakeWatcher : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsStatusNotifierHostRegistered)

public:
    explicit FakeWatcher(bool hostRegistered)
        : m_hostRegistered(hostRegistered)
    {}
    bool IsStatusNotifierHostRegistered() const { return m_hostRegistered; }

private:
    bool m_hostRegistered;
};

// A private session bus for the test.
class PrivateBus : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_daemon.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
        ASSERT_TRUE(m_daemon.waitForStarted(5000)) << "dbus-daemon is needed: scripts/install-deps test";
        while (!m_daemon.canReadLine())
            ASSERT_TRUE(m_daemon.waitForReadyRead(5000));
        m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
        m_thread.start();
    }

    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(u"watcher"_s);
        QDBusConnection::disconnectFromBus(u"client"_s);
        m_thread.quit();
        m_thread.wait();
        delete m_watcher;
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }

    void ServeWatcher(bool hostRegistered)
    {
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, u"watcher"_s);
        ASSERT_TRUE(bus.isConnected());
        m_watcher = new FakeWatcher(hostRegistered);
        m_watcher->moveToThread(&m_thread);
        ASSERT_TRUE(bus.registerObject(u"/StatusNotifierWatcher"_s, m_watcher, QDBusConnection::ExportAllProperties));
        ASSERT_TRUE(bus.registerService(u"org.kde.StatusNotifierWatcher"_s));
    }

    QDBusConnection Client() { return QDBusConnection::connectToBus(m_address, u"client"_s); }

    QProcess m_daemon;
    QString m_address;
    QThread m_thread;
    FakeWatcher* m_watcher = nullptr;
};

} // namespace

TEST_F(PrivateBus, NoWatcherMeansNoStatusNotifierTray)
{
    ASSERT_TRUE(Client().isConnected());
    EXPECT_FALSE(IsStatusNotifierHostRegistered(Client()));
}

TEST_F(PrivateBus, AWatcherWithAHostIsAStatusNotifierTray)
{
    ServeWatcher(true);
    EXPECT_TRUE(IsStatusNotifierHostRegistered(Client()));
}

TEST_F(PrivateBus, AWatcherWithoutAHostIsNot)
{
    ServeWatcher(false);
    EXPECT_FALSE(IsStatusNotifierHostRegistered(Client()));
}

TEST(StatusNotifierHost, NoBusAtAll)
{
    const QDBusConnection none = QDBusConnection::connectToBus(u"unix:path=/nonexistent/bus"_s, u"none"_s);
    EXPECT_FALSE(IsStatusNotifierHostRegistered(none));
    QDBusConnection::disconnectFromBus(u"none"_s);
}

#include "StatusNotifierHostTest.moc"
