#include "platform/DialupLink.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QThread>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace {

const QString kService = u"org.freedesktop.NetworkManager"_s;
const QString kManagerPath = u"/org/freedesktop/NetworkManager"_s;
const QString kManagerInterface = u"org.freedesktop.NetworkManager"_s;
const QString kActiveInterface = u"org.freedesktop.NetworkManager.Connection.Active"_s;
const QString kSettingsConnectionInterface = u"org.freedesktop.NetworkManager.Settings.Connection"_s;
const QString kPropertiesInterface = u"org.freedesktop.DBus.Properties"_s;

// A D-Bus call never holds the window up for long.
constexpr int kCallTimeoutMs = 2000;

// NetworkManager's states of an active connection.
constexpr uint kStateActivating = 1;
constexpr uint kStateActivated = 2;
constexpr uint kStateDeactivated = 4;

QDBusMessage Call(QDBusConnection& bus, QDBusMessage message)
{
    return bus.call(message, QDBus::Block, kCallTimeoutMs);
}

// One property of an object; an invalid QVariant when the call fails.
QVariant GetProperty(QDBusConnection& bus, const QString& path, const QString& interface, const QString& name)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, path, kPropertiesInterface, u"Get"_s);
    message << interface << name;
    const QDBusMessage reply = Call(bus, message);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

QStringList ObjectPaths(const QVariant& value)
{
    QStringList paths;
    if (value.canConvert<QDBusArgument>()) {
        const auto argument = value.value<QDBusArgument>();
        QList<QDBusObjectPath> list;
        argument >> list;
        for (const QDBusObjectPath& path : list)
            paths << path.path();
    } else {
        for (const QDBusObjectPath& path : value.value<QList<QDBusObjectPath>>())
            paths << path.path();
    }
    return paths;
}

} // namespace

DialupLink::DialupLink(const QDBusConnection& bus)
    : m_bus(bus)
{}

bool DialupLink::IsAvailable()
{
    if (!m_bus.isConnected())
        return false;
    const QDBusConnectionInterface* busInterface = m_bus.interface();
    return busInterface != nullptr && busInterface->isServiceRegistered(kService).value();
}

QStringList DialupLink::ActiveDialupConnections()
{
    QStringList dialup;
    if (!IsAvailable())
        return dialup;
    const QStringList active = ObjectPaths(GetProperty(m_bus, kManagerPath, kManagerInterface, u"ActiveConnections"_s));
    for (const QString& path : active) {
        const QString type = GetProperty(m_bus, path, kActiveInterface, u"Type"_s).toString();
        const QVariant state = GetProperty(m_bus, path, kActiveInterface, u"State"_s);
        if (!state.isValid())
            continue;
        const uint value = state.toUInt();
        if ((value == kStateActivating || value == kStateActivated) && IsDialupType(path, type))
            dialup << path;
    }
    return dialup;
}

bool DialupLink::IsDialupType(const QString& path, const QString& type)
{
    static const QStringList kDialupTypes = {u"pppoe"_s, u"adsl"_s, u"gsm"_s, u"cdma"_s};
    if (kDialupTypes.contains(type))
        return true;
    if (type != u"bluetooth"_s)
        return false;
    // A Bluetooth connection is dial-up only in its DUN form (PAN is a network link).
    const QVariant connection = GetProperty(m_bus, path, kActiveInterface, u"Connection"_s);
    const QString settingsPath = connection.value<QDBusObjectPath>().path();
    if (settingsPath.isEmpty())
        return false;
    const QDBusMessage reply = Call(
        m_bus, QDBusMessage::createMethodCall(kService, settingsPath, kSettingsConnectionInterface, u"GetSettings"_s));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const auto argument = reply.arguments().constFirst().value<QDBusArgument>();
    QMap<QString, QVariantMap> settings;
    argument >> settings;
    return settings.value(u"bluetooth"_s).value(u"type"_s).toString() == u"dun"_s;
}

int DialupLink::IsDialupConnected()
{
    return ActiveDialupConnections().isEmpty() ? 0 : 1;
}

bool DialupLink::IsGone(const QString& path)
{
    const QStringList active = ObjectPaths(GetProperty(m_bus, kManagerPath, kManagerInterface, u"ActiveConnections"_s));
    if (!active.contains(path))
        return true;
    const QVariant state = GetProperty(m_bus, path, kActiveInterface, u"State"_s);
    return !state.isValid() || state.toUInt() == kStateDeactivated;
}

void DialupLink::HangUp()
{
    const QStringList dialup = ActiveDialupConnections();
    if (dialup.isEmpty())
        return;
    const QString path = dialup.constFirst();
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, kManagerPath, kManagerInterface, u"DeactivateConnection"_s);
    message << QVariant::fromValue(QDBusObjectPath(path));
    Call(m_bus, message); // a refusal (no permission) shows in the wait below: the connection stays

    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QThread::msleep(kHangUpPollMs);
        if (IsGone(path) || waited.elapsed() >= kHangUpWaitMs)
            break;
    }
}

DialupLink& DialupLink::Instance()
{
    static DialupLink instance;
    return instance;
}
