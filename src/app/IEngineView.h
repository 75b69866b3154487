#pragma once

#include <QString>

// What the engine needs of the windows: the main frame's status panes and exit command, the Stocks
// page, the Stock Strip and the wait cursor. The main window implements it; tests record the calls.
class IEngineView
{
public:
    virtual ~IEngineView() = default;

    // The message pane of the status bar (repainted at once).
    virtual void SetStatusText(const QString& text) = 0;
    // The activity pane: " Active" or " Inactive".
    virtual void SetActive(bool active) = 0;

    // The Stocks page: repaint one row; commit the page (refit its columns, write the stock file,
    // update its buttons).
    virtual void RedrawStockRow(int row) = 0;
    virtual void CommitStocks() = 0;

    // The Stock Strip: whether it is shown, show it, hide it (the "Show" setting unchanged), and let
    // it rebuild its text from the stocks' new values.
    virtual bool IsStripShown() const = 0;
    virtual void ShowStrip() = 0;
    virtual void HideStrip() = 0;
    virtual void RefreshStrip() = 0;

    // Posts the Exit command to the main window (carried out once the current work has unwound).
    virtual void PostExitCommand() = 0;

    // The wait cursor over the program's windows, for blocking work such as hanging up.
    virtual void SetWaitCursor(bool on) = 0;
};
