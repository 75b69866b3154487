#include "NetworkManagerMock.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace {

const QString kService = u"org.freedesktop.NetworkManager"_s;
const QString kPython = u"/usr/bin/python3"_s;

using ConnectionSettings = QMap<QString, QVariantMap>;

} // namespace

NetworkManagerMock::NetworkManagerMock()
    : NetworkManagerMock(true)
{}

NetworkManagerMock::NetworkManagerMock(bool withNetworkManager)
{
    static int serial = 0;
    m_connectionName = u"nm-mock-%1"_s.arg(++serial);
    qDBusRegisterMetaType<ConnectionSettings>();
    if (!StartBus())
        return;
    if (withNetworkManager && !StartMock())
        return;
    m_ready = true;
}

NetworkManagerMock NetworkManagerMock::BusOnly()
{
    return NetworkManagerMock(false);
}

NetworkManagerMock::~NetworkManagerMock()
{
    QDBusConnection::disconnectFromBus(m_connectionName);
    for (QProcess* process : {&m_sessionMock, &m_mock, &m_daemon}) {
        if (process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(3000)) {
                process->kill();
                process->waitForFinished(3000);
            }
        }
    }
}

bool NetworkManagerMock::StartBus()
{
    m_daemon.setProgram(u"dbus-daemon"_s);
    m_daemon.setArguments({u"--session"_s, u"--nofork"_s, u"--nopidfile"_s, u"--print-address=1"_s});
    m_daemon.start();
    if (!m_daemon.waitForStarted(5000)) {
        m_why = u"dbus-daemon is not installed"_s;
        return false;
    }
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(5000)) {
    }
    m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
    if (m_address.isEmpty()) {
        m_why = u"dbus-daemon printed no address"_s;
        return false;
    }
    return Bus().isConnected();
}

bool NetworkManagerMock::StartMock()
{
    if (!QFileInfo::exists(kPython)) {
        m_why = u"Debian's python3 is not installed"_s;
        return false;
    }
    QProcess probe;
    probe.start(kPython, {u"-c"_s, u"import dbusmock"_s});
    if (!probe.waitForFinished(20000) || probe.exitCode() != 0) {
        m_why = u"python3-dbusmock is not installed"_s;
        return false;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DBUS_SYSTEM_BUS_ADDRESS"_s, m_address);
    m_mock.setProcessEnvironment(environment);
    m_mock.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_mock.start(kPython, {u"-m"_s, u"dbusmock"_s, u"--template"_s, u"networkmanager"_s});
    if (!m_mock.waitForStarted(5000)) {
        m_why = u"python3 could not start dbusmock"_s;
        return false;
    }
    QDBusConnection bus = Bus();
    const QDeadlineTimer deadline(20000);
    while (!bus.interface()->isServiceRegistered(kService).value()) {
        if (deadline.hasExpired() || m_mock.state() == QProcess::NotRunning) {
            m_why = u"the NetworkManager mock did not come up"_s;
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

bool NetworkManagerMock::StartSessionTemplate(const QString& templateName, const QString& service)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, m_address);
    m_sessionMock.setProcessEnvironment(environment);
    m_sessionMock.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_sessionMock.start(kPython, {u"-m"_s, u"dbusmock"_s, u"--template"_s, templateName});
    if (!m_sessionMock.waitForStarted(5000))
        return false;
    QDBusConnection bus = Bus();
    const QDeadlineTimer deadline(20000);
    while (!bus.interface()->isServiceRegistered(service).value()) {
        if (deadline.hasExpired() || m_sessionMock.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(50);
    }
    return true;
}

QDBusConnection NetworkManagerMock::Bus() const
{
    return QDBusConnection::connectToBus(m_address, m_connectionName);
}

QString NetworkManagerMock::AddDevice(const QString& name)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, u"/org/freedesktop"_s,
                                                          u"org.freedesktop.DBus.Mock"_s, u"AddEthernetDevice"_s);
    message << name << (u"if"_s + name) << 100;
    const QDBusMessage reply = Bus().call(message);
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toString() : QString();
}

QString NetworkManagerMock::AddActiveConnection(const QString& type, const QStringList& devices, uint state,
                                                const QString& bluetoothType)
{
    ++m_count;
    ConnectionSettings settings;
    settings[u"connection"_s] = QVariantMap{{u"id"_s, u"%1 %2"_s.arg(type).arg(m_count)},
                                            {u"type"_s, type},
                                            {u"uuid"_s, QUuid::createUuid().toString(QUuid::WithoutBraces)}};
    if (!bluetoothType.isEmpty())
        settings[u"bluetooth"_s] = QVariantMap{{u"type"_s, bluetoothType}};
    QDBusMessage add = QDBusMessage::createMethodCall(kService, u"/org/freedesktop/NetworkManager/Settings"_s,
                                                      u"org.freedesktop.NetworkManager.Settings"_s, u"AddConnection"_s);
    add << QVariant::fromValue(settings);
    const QDBusMessage added = Bus().call(add);
    if (added.type() != QDBusMessage::ReplyMessage)
        return {};
    const QString connection = added.arguments().value(0).value<QDBusObjectPath>().path();

    QDBusMessage activate = QDBusMessage::createMethodCall(kService, u"/org/freedesktop"_s,
                                                           u"org.freedesktop.DBus.Mock"_s, u"AddActiveConnection"_s);
    activate << devices << connection << u"/"_s << u"active%1"_s.arg(m_count) << state;
    const QDBusMessage reply = Bus().call(activate);
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toString() : QString();
}

QStringList NetworkManagerMock::ActiveConnections() const
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, u"/org/freedesktop/NetworkManager"_s,
                                                          u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
    message << u"org.freedesktop.NetworkManager"_s << u"ActiveConnections"_s;
    const QDBusMessage reply = Bus().call(message);
    QStringList paths;
    if (reply.type() != QDBusMessage::ReplyMessage)
        return paths;
    const auto argument = reply.arguments().value(0).value<QDBusVariant>().variant().value<QDBusArgument>();
    QList<QDBusObjectPath> list;
    argument >> list;
    for (const QDBusObjectPath& path : list)
        paths << path.path();
    return paths;
}

bool NetworkManagerMock::SetGlobalState(uint state)
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        kService, u"/org/freedesktop"_s, u"org.freedesktop.DBus.Mock"_s, u"SetGlobalConnectionState"_s);
    message << state;
    return Bus().call(message).type() == QDBusMessage::ReplyMessage;
}
