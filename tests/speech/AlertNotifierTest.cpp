// Alerts the character will not tell go to the desktop as notifications: python3-dbusmock's
// notification service on a private bus records them and sends the click back.

#include "NetworkManagerMock.h"

#include "base/CSettings.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "platform/DesktopNotifications.h"
#include "rules/CRule.h"
#include "rules/CompanionValues.h"
#include "rules/IAnnouncer.h"
#include "speech/CAlertNotifier.h"
#include "support/TestEnvironment.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kService = u"org.freedesktop.Notifications"_s;
const QString kPath = u"/org/freedesktop/Notifications"_s;

class CountingAnnouncer final : public IAnnouncer
{
public:
    void PlayAnnouncement(const CAnnouncement*, const CRule*, bool) override { ++played; }
    int played = 0;
};

QVariant Unwrapped(const QVariant& value)
{
    return value.canConvert<QDBusVariant>() ? value.value<QDBusVariant>().variant() : value;
}

// The summary and body of every Notify the service received, in order.
QStringList NotifyCalls(const QDBusConnection& bus)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, u"org.freedesktop.DBus.Mock"_s, u"GetMethodCalls"_s);
    call << u"Notify"_s;
    const QDBusMessage reply = bus.call(call);
    QStringList texts;
    if (reply.type() != QDBusMessage::ReplyMessage)
        return texts;
    const auto calls = reply.arguments().value(0).value<QDBusArgument>();
    calls.beginArray();
    while (!calls.atEnd()) {
        quint64 time = 0;
        QVariantList arguments;
        calls.beginStructure();
        calls >> time >> arguments;
        calls.endStructure();
        texts.append(Unwrapped(arguments.value(3)).toString() + u" | "_s + Unwrapped(arguments.value(4)).toString());
    }
    calls.endArray();
    return texts;
}

void EmitActionInvoked(const QDBusConnection& bus, uint id)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, u"org.freedesktop.DBus.Mock"_s, u"EmitSignal"_s);
    call << kService << u"ActionInvoked"_s << u"us"_s
         << QVariant::fromValue(
                QVariantList{QVariant::fromValue(QDBusVariant(id)), QVariant::fromValue(QDBusVariant(u"default"_s))});
    bus.call(call);
}

} // namespace

TEST(AlertNotifier, AlertsTheCharacterWillNotTellBecomeNotificationsThatOpenTheAlerts)
{
    NetworkManagerMock bus = NetworkManagerMock::BusOnly();
    if (!bus.Available() || !bus.StartSessionTemplate(u"notification_daemon"_s, kService))
        GTEST_SKIP() << "python3-dbusmock's notification service did not come up";
    TestEnvironment environment;
    GetSettings().SetDefaults(false);
    StoreGloballyDisabled(false);
    Stock* stock = StockList::Add(u"Acme"_s, QString(), u"ACME"_s, u"United States"_s);
    stock->SetPrice(u"26.5"_s, false);
    CRule rule;
    rule.SetStockName(u"Acme"_s);
    rule.SetAttribute(u"Price"_s);
    rule.SetOperator(u">"_s);
    rule.SetNumber(u"25"_s);

    CountingAnnouncer character;
    DesktopNotifications notifications(bus.Bus());
    CAlertNotifier notifier(character, notifications);
    const struct
    {
        qint32 method;
        bool quiet;
        bool force;
    } cases[] = {{0, false, false}, {3, false, false}, {0, true, false}, {0, true, true}, {3, true, true}};
    for (const auto& c : cases) {
        GetSettings().notificationMethod = c.method;
        StoreGloballyDisabled(c.quiet);
        notifier.PlayAnnouncement(nullptr, &rule, c.force);
    }
    EXPECT_EQ(character.played, 5) << "the character is always asked";
    // Silent, quiet, silent and forced: three notifications.
    ASSERT_TRUE(QTest::qWaitFor([&] { return NotifyCalls(bus.Bus()).size() >= 3; }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(NotifyCalls(bus.Bus()), QStringList(3, u"Acme (Price) > 25 | Acme 26.50"_s));

    QSignalSpy activated(&notifications, &DesktopNotifications::Activated);
    EmitActionInvoked(bus.Bus(), 99); // someone else's notification
    EmitActionInvoked(bus.Bus(), 2);
    EXPECT_TRUE(activated.wait(5000));
    QTest::qWait(100);
    EXPECT_EQ(activated.count(), 1);

    StoreGloballyDisabled(false);
    StockList::DeleteAll();
    GetSettings().SetDefaults(false);
}
