#pragma once

#include "platform/IDialupLink.h"

#include <QDBusConnection>
#include <QString>
#include <QStringList>

// Dial-up connections as NetworkManager sees them, over its D-Bus API. An active connection counts
// as dial-up when its type is PPPoE, ADSL, mobile broadband (GSM or CDMA) or a Bluetooth dial-up
// (DUN) connection, and it is activating or activated. Without NetworkManager (or without a system
// bus) the link is not available: no connection is reported and hang-up does nothing.
class DialupLink final : public IDialupLink
{
public:
    // Talks to NetworkManager on the given bus (the system bus in the program; a private bus in tests).
    explicit DialupLink(const QDBusConnection& bus = QDBusConnection::systemBus());

    bool IsAvailable() override;
    int IsDialupConnected() override;
    void HangUp() override;

    // The object paths of the active dial-up connections, in NetworkManager's order.
    QStringList ActiveDialupConnections();

    // How long HangUp waits for the connection to go away, and how often it looks (3000 / 100 ms).
    static constexpr int kHangUpWaitMs = 3000;
    static constexpr int kHangUpPollMs = 100;

    // The process-wide link on the system bus.
    static DialupLink& Instance();

private:
    bool IsDialupType(const QString& path, const QString& type);
    bool IsGone(const QString& path);

    QDBusConnection m_bus;
};
