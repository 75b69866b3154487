#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <optional>
#include <utility>

// Desktop notifications through the freedesktop.org notification service
// (org.freedesktop.Notifications on the session bus). A notification carries a default action, so
// that clicking it reports back (Activated). Without a service nothing shows and nothing fails.
// Main thread only.
class DesktopNotifications final : public QObject
{
    Q_OBJECT

public:
    // bus: where the service is looked for; without one, the session bus, reached on the first Notify.
    explicit DesktopNotifications(std::optional<QDBusConnection> bus = std::nullopt, QObject* parent = nullptr);

    // Shows a notification (sent without waiting for the service): a summary line and a body of plain
    // text, with the program's name and icon.
    void Notify(const QString& summary, const QString& body);

signals:
    // The user clicked one of the notifications shown by this object.
    void Activated();

private:
    QDBusConnection& Bus();
    void SendWaiting();
    // D-Bus signals of the service (QDBusConnection::connect only takes slots by name).
    Q_SLOT void OnActionInvoked(uint id, const QString& action);
    Q_SLOT void OnClosed(uint id, uint reason);

    std::optional<QDBusConnection> m_bus;
    bool m_listening = false;
    QSet<uint> m_shown;               // the ids the service gave this object's notifications, while they show
    std::optional<bool> m_bodyMarkup; // whether the service reads bodies as markup, once known
    bool m_askingCapabilities = false;
    QList<std::pair<QString, QString>> m_waiting; // summary and body of notifications not yet sent
};
