#include "speech/CAlertNotifier.h"

#include "base/CSettings.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "platform/DesktopNotifications.h"
#include "rules/CRule.h"
#include "rules/CompanionValues.h"

using namespace Qt::StringLiterals;

namespace {

// The "NotificationMethod" of a character that says nothing.
constexpr qint32 kSilent = 3;

} // namespace

CAlertNotifier::CAlertNotifier(IAnnouncer& character, DesktopNotifications& notifications)
    : m_character(character)
    , m_notifications(notifications)
{}

void CAlertNotifier::PlayAnnouncement(const CAnnouncement* announcement, const CRule* rule, bool force)
{
    m_character.PlayAnnouncement(announcement, rule, force);
    const CSettings& settings = GetSettings();
    const bool unheard = settings.notificationMethod == kSilent || (!force && QueryGloballyDisabled());
    if (!unheard || rule == nullptr)
        return;
    const Stock* stock = StockList::FindByName(rule->StockName());
    QString body;
    if (stock) {
        const int displayType = settings.pricesFormat != 0 ? 1 : 2;
        body = stock->Name() + u' ' + stock->FormatPrice(displayType, 1);
        const QString when = stock->FormatTime(true);
        if (!when.isEmpty())
            body += u" ("_s + when + u')';
    }
    m_notifications.Notify(rule->Description(), body);
}
