#include "platform/StatusNotifierHost.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

using namespace Qt::StringLiterals;

bool IsStatusNotifierHostRegistered(const QDBusConnection& bus)
{
    constexpr int timeoutMs = 1000;
    if (!bus.isConnected())
        return false;
    const QString watcher = u"org.kde.StatusNotifierWatcher"_s;
    QDBusMessage hasOwner = QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_s, u"/org/freedesktop/DBus"_s,
                                                           u"org.freedesktop.DBus"_s, u"NameHasOwner"_s);
    hasOwner << watcher;
    const QDBusMessage owned = bus.call(hasOwner, QDBus::Block, timeoutMs);
    if (owned.type() != QDBusMessage::ReplyMessage || owned.arguments().isEmpty() ||
        !owned.arguments().first().toBool())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(watcher, u"/StatusNotifierWatcher"_s,
                                                      u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
    get << watcher << u"IsStatusNotifierHostRegistered"_s;
    const QDBusMessage reply = bus.call(get, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return qvariant_cast<QDBusVariant>(reply.arguments().first()).variant().toBool();
}
