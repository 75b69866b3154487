#include "rules/RuleCheck.h"

#include "base/CSettings.h"
#include "market/NumberText.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "rules/AlertList.h"
#include "rules/AnnouncementList.h"
#include "rules/CRule.h"
#include "rules/IAlertSink.h"
#include "rules/IAnnouncer.h"
#include "rules/RuleList.h"

#include <cmath>

bool EvaluateRule(const CRule& rule)
{
    const Stock* stock = StockList::FindByName(rule.StockName());
    // A stock that has not had a quote yet shows "0." and "N/A": those are no values to compare.
    if (!stock || !stock->HasQuote())
        return false;
    const QString value = stock->AttributeByName(rule.Attribute());
    const QString limitText = rule.Number();
    if (value.isEmpty() || limitText.isEmpty())
        return false;
    const double limit = NumberText::LeadingDouble(limitText);
    const double x = std::fabs(NumberText::LeadingDouble(value));
    switch (rule.Operator()) {
    case CRule::Greater:
        return x > limit;
    case CRule::GreaterEqual:
        return x >= limit;
    case CRule::Less:
        return x < limit;
    case CRule::LessEqual:
        return x <= limit;
    case CRule::Equal:
        return x == limit;
    default:
        return false;
    }
}

void CheckAllRules(bool force, IAlertSink& alerts, IAnnouncer& announcer)
{
    for (int i = 0; i < GetRuleCount(); ++i) {
        const CRule* listed = GetRule(i);
        if (!listed || !EvaluateRule(*listed))
            continue;
        // The alert sink and the announcer may reach back into the lists: work on copies.
        const CRule rule = *listed;
        const Stock* stock = StockList::FindByName(rule.StockName());
        if (!stock)
            continue;
        const QString description = rule.Description();
        const QString price = stock->Price();
        const QString when = stock->FormatTime(true);
        const int existing = FindAlertByRuleDescription(description);
        if (existing >= 0)
            alerts.RefreshAlert(existing, price, when);
        else
            alerts.RaiseAlert(description, price, when, stock->Country(), stock->Name());

        const CSettings& settings = GetSettings();
        if (settings.readAnnouncments != 0 && (settings.readOnce == 0 || existing < 0))
            announcer.PlayAnnouncement(FindAnnouncement(rule.Announcement()), &rule, force);
    }
}
