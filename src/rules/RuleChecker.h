#pragma once

#include "rules/IRuleChecker.h"

class IAlertSink;
class IAnnouncer;

// The engine's rule check: every rule against the stocks' current values, alerts raised or
// refreshed on the Alerts page, announcements performed by the character.
class RuleChecker final : public IRuleChecker
{
public:
    RuleChecker(IAlertSink& alerts, IAnnouncer& announcer);
    void CheckAllRules(bool force) override;

private:
    IAlertSink& m_alerts;
    IAnnouncer& m_announcer;
};
