#pragma once

#include <QStringList>

class CAnnouncement;
class CRule;
class Stock;

// What the main window's tab pages and their dialogs need from the window that holds them (the
// engine window). The pages own their lists and files; everything else they start goes through here:
// the update cycle, the character, the tray icon, the status bar, the Stock Strip and the help.
//
// The pages are built with their host and then filled once the data files are loaded:
//
//   auto* stocks = new CStocksPage(host, tabs);
//   auto* rules = new CRulesPage(host, tabs);
//   auto* alerts = new CAlertsPage(host, tabs);
//   stocks->SetRulesPage(rules);  // Remove removes the stock's rules, Add Rule adds one
//   alerts->SetRulesPage(rules);  // Edit Rule on an alert
//   for (CTabPage* page : {stocks, rules, alerts}) page->Fill();
//
// Each page's windowTitle() is its tab text ("&Stocks", "&Rules", "A&lerts") and its windowIcon()
// the tab's image. The Alerts page is the rule check's IAlertSink; the update cycle calls the Stocks
// page's Commit() and RedrawRow(row).
class IPageHost
{
public:
    virtual ~IPageHost() = default;

    // Starts an update cycle over all stocks (after a stock was added, or its symbol changed). The
    // page does not wait for it; the cycle commits the Stocks page when it changed something shown.
    virtual void StartUpdateCycle() = 0;

    // Has the character say the "Format" sentence for this stock now (the Read button: force on,
    // so the quiet switch does not silence it; the character is not hidden afterwards).
    virtual void SayStock(const Stock& stock, bool force) = 0;

    // Has the character perform an announcement (the previews: no rule, so the macros take their
    // preview words; force on). Same shape as IAnnouncer::PlayAnnouncement.
    virtual void PlayAnnouncement(const CAnnouncement* announcement, const CRule* rule, bool force) = 0;

    // "(None)" followed by the current character's animation names.
    virtual QStringList GetGestureList() = 0;

    // Switches the tray icon to the alert icon (true) or back to the program icon (false).
    virtual void SetTrayAlertIcon(bool alert) = 0;

    // Shows the number of alerts in the status bar's alert pane.
    virtual void SetAlertCount(int count) = 0;

    // The stock list, its order or the alert list changed: when the Stock Strip is shown it rebuilds
    // its pages and alert marks (nothing to do while it is hidden).
    virtual void RebuildStrip() = 0;

    // Shows help topic `topicId` (a modal help dialog).
    virtual void ShowHelpTopic(int topicId) = 0;
};
