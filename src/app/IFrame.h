#pragma once

#include <QString>

// What the engine window asks of the main frame around it: the status bar's panes, the tray's
// alert icon, the Stock Strip, and commands sent from a later turn of the event loop. CMainFrame
// implements it; tests of the engine window give a small fake.
class IFrame
{
public:
    virtual ~IFrame() = default;

    // The message pane, shown at once.
    virtual void SetStatusText(const QString& text) = 0;
    // The activity pane: " Active" or " Inactive".
    virtual void SetActive(bool active) = 0;
    // The alert pane: " Alerts: " and the count.
    virtual void SetAlertCount(long count) = 0;
    // The tray shows the alert icon (an alert was raised) or the program icon.
    virtual void SetTrayAlertIcon(bool alert) = 0;

    // The Stock Strip: shown or not, shown, hidden, and its pages built again from the stocks and
    // alerts as they are now.
    virtual bool IsStripShown() const = 0;
    virtual void ShowStrip() = 0;
    virtual void HideStrip() = 0;
    virtual void RebuildStrip() = 0;
    // After the options changed: the strip is hidden when "Show" is off or "HideInactive" is on
    // outside the active hours, else shown; a strip that stays shown re-applies all its settings.
    virtual void ApplyStripOptions() = 0;

    // Sends a command from a later turn of the event loop, as a posted message would arrive.
    virtual void PostCommand(int commandId) = 0;
};
