#pragma once

// Checks every rule against the stocks' current values and raises or refreshes their alerts;
// force performs the announcements whatever the quiet switch says.
class IRuleChecker
{
public:
    virtual ~IRuleChecker() = default;
    virtual void CheckAllRules(bool force) = 0;
};
