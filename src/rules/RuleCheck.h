#pragma once

class CRule;
class IAlertSink;
class IAnnouncer;

// Whether the rule holds for the current values of its stock: the stock is found by the rule's
// StockName; the value its Attribute names ("Price", "Change%", "Change", "Volume", any case) and the
// rule's Number are read as their leading decimal numbers; the value is taken as its absolute value
// and compared with the operator (exact equality for "="). A missing stock, a stock without a quote
// yet (Stock::HasQuote), an empty value or number, an unknown attribute or no operator never hold.
bool EvaluateRule(const CRule& rule);

// Evaluates every rule in list order. A rule that holds refreshes the alert that carries its
// Description, or raises a new one; then, when "ReadAnnouncments" is on and either "ReadOnce" is off
// or the alert is new, its announcement (looked up by name, possibly none) is handed to the
// announcer with force.
void CheckAllRules(bool force, IAlertSink& alerts, IAnnouncer& announcer);
