#include "platform/DesktopNotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString kService = u"org.freedesktop.Notifications"_s;
const QString kPath = u"/org/freedesktop/Notifications"_s;
const QString kInterface = u"org.freedesktop.Notifications"_s;

// Much longer texts are cut: the service shows a few lines at most.
constexpr qsizetype kMaxText = 1000;

} // namespace

DesktopNotifications::DesktopNotifications(std::optional<QDBusConnection> bus, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{}

QDBusConnection& DesktopNotifications::Bus()
{
    if (!m_bus)
        m_bus = QDBusConnection::sessionBus();
    if (!m_listening && m_bus->isConnected()) {
        m_listening = true;
        m_bus->connect(kService, kPath, kInterface, u"ActionInvoked"_s, this, SLOT(OnActionInvoked(uint, QString)));
        m_bus->connect(kService, kPath, kInterface, u"NotificationClosed"_s, this, SLOT(OnClosed(uint, uint)));
    }
    return *m_bus;
}

void DesktopNotifications::Notify(const QString& summary, const QString& body)
{
    QDBusConnection& bus = Bus();
    if (!bus.isConnected())
        return;
    m_waiting.append({summary.left(kMaxText), body.left(kMaxText)});
    if (m_bodyMarkup.has_value()) {
        SendWaiting();
        return;
    }
    if (m_askingCapabilities)
        return;
    // Whether the service reads the body as markup decides how it is written: asked once, first.
    m_askingCapabilities = true;
    const QDBusMessage ask = QDBusMessage::createMethodCall(kService, kPath, kInterface, u"GetCapabilities"_s);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(ask), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        const QDBusPendingReply<QStringList> reply = *call;
        m_bodyMarkup = reply.isValid() && reply.value().contains(u"body-markup"_s);
        m_askingCapabilities = false;
        call->deleteLater();
        SendWaiting();
    });
}

void DesktopNotifications::SendWaiting()
{
    const QVariantMap hints{{u"desktop-entry"_s, u"quorvane"_s}, {u"urgency"_s, QVariant::fromValue(uchar(1))}};
    for (const auto& [summary, body] : std::exchange(m_waiting, {})) {
        QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, u"Notify"_s);
        // A body read as markup is escaped, so that a name such as "S&P 500" shows as it is.
        message << u"Quorvane"_s << uint(0) << u"quorvane"_s << summary
                << (m_bodyMarkup.value_or(false) ? body.toHtmlEscaped() : body)
                << QStringList{u"default"_s, u"Show Alerts"_s} << hints << int(-1);
        auto* watcher = new QDBusPendingCallWatcher(Bus().asyncCall(message), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
            const QDBusPendingReply<uint> reply = *call;
            if (reply.isValid())
                m_shown.insert(reply.value());
            call->deleteLater();
        });
    }
}

void DesktopNotifications::OnActionInvoked(uint id, const QString& action)
{
    if (m_shown.contains(id) && action == u"default"_s)
        emit Activated();
}

void DesktopNotifications::OnClosed(uint id, uint /*reason*/)
{
    m_shown.remove(id);
}
