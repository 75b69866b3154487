// The tray icon against a StatusNotifierItem tray: a real Qt program (tray_probe) on a private X
// server (Xvfb) and a private session bus, where this test plays the desktop's tray watcher.

#include "support/TestEnvironment.h"
#include "support/XvfbServer.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace Qt::StringLiterals;

namespace {

// The desktop's side: the watcher a tray host runs, counting the items that register.
class FakeWatcher : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsStatusNotifierHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ Items)

public:
    bool IsStatusNotifierHostRegistered() const { return true; }
    int ProtocolVersion() const { return 0; }
    QStringList Items() const
    {
        QMutexLocker lock(&m_mutex);
        return m_items;
    }

public slots:
    void RegisterStatusNotifierItem(const QString& service)
    {
        QMutexLocker lock(&m_mutex);
        m_items.append(service);
    }
    void RegisterStatusNotifierHost(const QString&) {}

private:
    mutable QMutex m_mutex;
    QStringList m_items;
};

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QThread::msleep(20);
    }
    return true;
}

class TraySni : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString error = m_xvfb.Start();
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();

        m_bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
        ASSERT_TRUE(m_bus.waitForStarted(5000)) << "dbus-daemon is needed: scripts/install-deps test";
        ASSERT_TRUE(WaitFor([&] { return m_bus.waitForReadyRead(100) && m_bus.canReadLine(); }));
        m_address = QString::fromUtf8(m_bus.readLine().trimmed());

        m_thread.start();
        QDBusConnection watcherBus = QDBusConnection::connectToBus(m_address, u"watcher"_s);
        ASSERT_TRUE(watcherBus.isConnected());
        m_watcher = new FakeWatcher;
        // Served from its own thread, so that this one may block on the probe.
        m_watcher->moveToThread(&m_thread);
        ASSERT_TRUE(watcherBus.registerObject(u"/StatusNotifierWatcher"_s, m_watcher,
                                              QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
        ASSERT_TRUE(watcherBus.registerService(u"org.kde.StatusNotifierWatcher"_s));
    }

    void TearDown() override
    {
        if (m_probe.state() != QProcess::NotRunning) {
            m_probe.write("quit\n");
            if (!m_probe.waitForFinished(5000))
                m_probe.kill(), m_probe.waitForFinished();
        }
        QDBusConnection::disconnectFromBus(u"watcher"_s);
        QDBusConnection::disconnectFromBus(u"client"_s);
        m_thread.quit();
        m_thread.wait();
        delete m_watcher;
        m_bus.kill();
        m_bus.waitForFinished(5000);
    }

    void StartProbe()
    {
        QProcessEnvironment environment = m_xvfb.Environment();
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, m_address);
        m_probe.setProcessEnvironment(environment);
        m_probe.setProcessChannelMode(QProcess::SeparateChannels);
        m_probe.start(QStringLiteral(TRAY_PROBE), QStringList());
        ASSERT_TRUE(m_probe.waitForStarted(5000));
    }

    // The next line the probe prints; what it wrote to stderr when it printed none.
    std::string Line(int timeoutMs = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!m_probe.canReadLine()) {
            if (timer.elapsed() > timeoutMs || !m_probe.waitForReadyRead(200)) {
                if (m_probe.state() == QProcess::NotRunning || timer.elapsed() > timeoutMs)
                    return "<nothing: " + m_probe.readAllStandardError().toStdString() + '>';
            }
        }
        return m_probe.readLine().trimmed().toStdString();
    }

    std::string Order(const QByteArray& order)
    {
        m_probe.write(order + '\n');
        return Line();
    }

    bool OnBus(const QString& service)
    {
        QDBusMessage hasOwner = QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_s, u"/org/freedesktop/DBus"_s,
                                                               u"org.freedesktop.DBus"_s, u"NameHasOwner"_s);
        hasOwner << service;
        const QDBusMessage reply = Client().call(hasOwner, QDBus::Block, 2000);
        return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool();
    }

    QDBusConnection Client() { return QDBusConnection::connectToBus(m_address, u"client"_s); }

    XvfbServer m_xvfb;
    QProcess m_bus;
    QProcess m_probe;
    QString m_address;
    QThread m_thread;
    FakeWatcher* m_watcher = nullptr;
};

} // namespace

TEST_F(TraySni, ShownOnceActivatedByThePlainClickAndRemoved)
{
    StartProbe();
    EXPECT_EQ(Line(), "created 1 1") << "in the tray, and the plain click opens the window";
    ASSERT_TRUE(WaitFor([&] { return m_watcher->Items().size() == 1; })) << "the icon registers with the tray";
    const QString item = m_watcher->Items().first();

    EXPECT_EQ(Order("show"), "show 1");
    QThread::msleep(300);
    EXPECT_EQ(m_watcher->Items().size(), 1) << "showing twice adds the icon once";

    // The tray host's click on the item.
    QDBusMessage activate = QDBusMessage::createMethodCall(item.section(u'/', 0, 0), u"/StatusNotifierItem"_s,
                                                           u"org.kde.StatusNotifierItem"_s, u"Activate"_s);
    activate << 10 << 10;
    const QDBusMessage reply = Client().call(activate, QDBus::Block, 5000);
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << qPrintable(reply.errorMessage());
    EXPECT_EQ(Line(), "command 32777");

    EXPECT_EQ(Order("alert"), "icon 1");
    EXPECT_EQ(Order("hide"), "hide 1");
    EXPECT_TRUE(WaitFor([&] { return !OnBus(item.section(u'/', 0, 0)); })) << "the item leaves the tray";
    EXPECT_EQ(Order("hide"), "hide 1");
    EXPECT_EQ(Order("show"), "show 1");
    EXPECT_TRUE(WaitFor([&] { return m_watcher->Items().size() == 2; })) << "shown again after hiding";
}

#include "TrayIconSniTest.moc"
