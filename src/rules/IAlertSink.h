#pragma once

#include <QString>

// Where rule checking raises and refreshes alerts: the Alerts page, which also redraws its list,
// switches the tray icon to the alert icon and saves the alert file. The list side of both is
// InsertNewAlert / RefreshAlertAt (AlertList.h).
class IAlertSink
{
public:
    virtual ~IAlertSink() = default;

    // A new alert for the rule with this Description, at the top of the list.
    virtual void RaiseAlert(const QString& ruleDescription, const QString& price, const QString& when,
                            const QString& country, const QString& stockName) = 0;
    // The rule's alert at index is seen again: refreshed (and moved to the top) only when the price or
    // the time text differs from what it holds.
    virtual void RefreshAlert(int index, const QString& price, const QString& when) = 0;
};
