#include "rules/RuleChecker.h"

#include "rules/RuleCheck.h"

RuleChecker::RuleChecker(IAlertSink& alerts, IAnnouncer& announcer)
    : m_alerts(alerts)
    , m_announcer(announcer)
{}

void RuleChecker::CheckAllRules(bool force)
{
    ::CheckAllRules(force, m_alerts, m_announcer);
}
