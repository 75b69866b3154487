#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>

// A private D-Bus daemon with python3-dbusmock's NetworkManager template (or another one) on it, for
// one test.
// Available() is false (and the test should skip) only when dbus-daemon or python3-dbusmock is
// missing; scripts/install-deps test installs both.
class NetworkManagerMock
{
public:
    NetworkManagerMock();
    ~NetworkManagerMock();
    NetworkManagerMock(const NetworkManagerMock&) = delete;
    NetworkManagerMock& operator=(const NetworkManagerMock&) = delete;

    bool Available() const { return m_ready; }
    QString WhyUnavailable() const { return m_why; }
    const QString& Address() const { return m_address; }
    // A connection of the test to the private bus.
    QDBusConnection Bus() const;

    // A device to carry connections ("/org/freedesktop/NetworkManager/Devices/<name>").
    QString AddDevice(const QString& name);
    // Adds a saved connection of the type (with an optional "bluetooth" type such as "dun") and
    // activates it on the devices in the given NetworkManager state (2 activated). Returns the
    // active connection's path, empty on failure.
    QString AddActiveConnection(const QString& type, const QStringList& devices, uint state = 2,
                                const QString& bluetoothType = {});
    QStringList ActiveConnections() const;
    // NetworkManager's global state (20 disconnected, 70 connected to the Internet).
    bool SetGlobalState(uint state);

    // Starts only a bus, without NetworkManager on it.
    static NetworkManagerMock BusOnly();
    // Serves one of python3-dbusmock's session-bus templates (such as "notification_daemon") on the
    // bus as `service`; false when it does not come up.
    bool StartSessionTemplate(const QString& templateName, const QString& service);

private:
    explicit NetworkManagerMock(bool withNetworkManager);
    bool StartBus();
    bool StartMock();

    QProcess m_daemon;
    QProcess m_mock;
    QProcess m_sessionMock;
    QString m_address;
    QString m_connectionName;
    bool m_ready = false;
    QString m_why;
    int m_count = 0;
};
