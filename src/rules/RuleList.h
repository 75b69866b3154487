#pragma once

#include <QString>

#include <memory>

class CRule;

// The process-wide ordered list of rules (the order of the Rules page), kept in the data file
// "Rules.csv" (backup "Rules.bak"). Read once by the start-up data load, written whole after each
// change.

int GetRuleCount();
// Null when index < 0 or index >= count.
CRule* GetRule(int index);
// The first rule whose Description equals the text exactly; null when none does.
CRule* FindRuleByDescription(const QString& description);
// Inserts before position index; an index at or past the end appends. False, and the rule deleted,
// when index < 0. The list owns the rule.
bool InsertRule(int index, std::unique_ptr<CRule> rule);
// Deletes the rule at index and closes the gap; false outside 0 ... count - 1.
bool RemoveRule(int index);

// Reads "Rules.csv", else "Rules.bak" (telling the user that the backup was used), appending the
// rules to the list. False when neither could be read.
bool LoadRules();
// Writes the whole list; false, with a message and the previous file kept, on a write error.
bool SaveRules();

// Deletes every rule (program end; tests).
void DeleteAllRules();
