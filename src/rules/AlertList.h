#pragma once

#include <QString>

#include <memory>

class CAlert;

// The process-wide ordered list of alerts, newest first, kept in the data file "Alerts.csv" (backup
// "Alerts.bak"). Read once by the start-up data load, written whole after each change made on the
// Alerts page.

int GetAlertCount();
// Null when index < 0 or index >= count.
CAlert* GetAlert(int index);
// Inserts before position index; an index at or past the end appends. False, and the alert deleted,
// when index < 0. The list owns the alert.
bool InsertAlert(int index, std::unique_ptr<CAlert> alert);
// Deletes the alert at index; false outside 0 ... count - 1.
bool RemoveAlert(int index);
// Deletes every alert. Always true.
bool RemoveAllAlerts();
// Takes the alert out of its place and puts it at index 0; false outside 0 ... count - 1.
bool MoveAlertToTop(int index);
// The index of the first alert whose RuleDescription equals the text exactly; -1 when none does.
int FindAlertByRuleDescription(const QString& description);

// The list side of raising an alert: a new alert with these values at index 0. True when inserted.
bool InsertNewAlert(const QString& ruleDescription, const QString& price, const QString& when, const QString& country,
                    const QString& stockName);
// The list side of refreshing alert i: when the price or the "when" text differs from the alert's
// (exact comparison), both are stored and the alert moves to index 0. True when it changed; false
// when nothing differed or i is out of range.
bool RefreshAlertAt(int index, const QString& price, const QString& when);

// Reads "Alerts.csv", else "Alerts.bak" (telling the user that the backup was used), appending the
// alerts to the list. False when neither could be read.
bool LoadAlerts();
// Writes the whole list in the layout of version 2; false, with a message and the previous file
// kept, on a write error.
bool SaveAlerts();
