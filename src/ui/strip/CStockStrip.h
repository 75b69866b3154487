#pragma once

#include "ui/strip/CAppBarDlg.h"

#include <QStringList>
#include <QTimer>

#include <memory>

class CMarkupText;
class IStripCommands;
class QMenu;

// The Stock Strip: a thin bar docked along the top or the bottom of the screen that shows every
// enabled stock as a short coloured item (name, price, change), packed into pages as wide as the
// strip. The pages turn on a timer ("AutoAdvance", "AdvanceInterval"), back on a click and forward
// on Shift+click. A stock whose change passes the bold threshold is bold; a stock with an alert
// carries the alert mark. The user drags it to the other edge ("Location" remembers where) and
// right-clicks it for its menu, whose commands the main window carries out.
//
// It exists only while shown: the main window creates it (Create) and deletes it when it hides it.
class CStockStrip final : public CAppBarDlg
{
    Q_OBJECT

public:
    // dock: the desktop's docking (null: the platform's own).
    explicit CStockStrip(IStripCommands& commands, std::unique_ptr<IScreenEdgeDock> dock = nullptr);
    ~CStockStrip() override;

    // Sets the strip up and shows it: its colours, its thickness (a bold line and a quarter), docked
    // where "Location" says, its pages built and its advance timer running.
    void Create();

    // Builds the pages again from the stock list, the alerts and the settings, keeps the current
    // page in range and shows it.
    void RebuildPages();
    // Turn the pages, round at the ends; true when the shown page changed.
    bool NextPage();
    bool PreviousPage();
    int PageCount() const { return int(m_pages.size()); }
    int CurrentPage() const { return m_current; }
    const QStringList& Pages() const { return m_pages; }

    // Re-apply one group of settings: the background colour ("ColorBackground"); the advance timer
    // (runs every "AdvanceInterval" seconds while "AutoAdvance" is on); the edge ("Location":
    // 0 top, anything else bottom).
    void ApplyBackground();
    void ApplyAdvanceTimer();
    void DockAtLocation();
    // All of the strip's settings, after the options changed: background, pages, timer, edge.
    void ApplySettings();

    bool IsAdvanceTimerRunning() const { return m_advance.isActive(); }
    int AdvancePeriodMs() const { return m_advance.interval(); }
    int AdvanceRemainingMs() const { return m_advance.remainingTime(); }
    CMarkupText* TextControl() const { return m_text; }
    // The strip's menu with its items enabled as they are now (the caller owns it).
    std::unique_ptr<QMenu> CreateMenu();

protected:
    bool CanDragAt(const QPoint&) const override { return true; }
    void OnExitSizeMove() override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ShowCurrentPage();
    void TurnOnClick(Qt::KeyboardModifiers modifiers);

    IStripCommands& m_commands;
    CMarkupText* m_text = nullptr;
    QStringList m_pages;
    int m_current = 0;
    QTimer m_advance;
};
