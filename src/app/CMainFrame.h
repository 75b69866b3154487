#pragma once

#include "app/CEngineWnd.h"
#include "app/IFrame.h"
#include "ui/strip/IStripCommands.h"

#include <QMainWindow>
#include <QPointer>

#include <map>
#include <memory>

class CStockStrip;
class CTrayIcon;
class QAction;
class QDialog;
class QLabel;
class QToolBar;

// The program's main window: the tool bar (Broadcast, Hide, Quiet), the main menu, the status bar
// with its three panes (messages, active or inactive, alert count), the tray icon and, as its
// central widget, the engine window. Every command goes to the engine window first, then here.
//
// Its close box only hides it: the program goes on in the tray (or, with no tray on the desktop,
// in the task bar: the window is minimised). The program ends through Exit
// (the menus, a right double click on the tray icon), which waits for a quote download under way
// before the window closes for good and Closed() is emitted.
class CMainFrame final : public QMainWindow, public IFrame, public IStripCommands
{
    Q_OBJECT

public:
    static constexpr int kDefaultWidth = 500;
    static constexpr int kDefaultHeight = 400;
    static constexpr int kMinimumWidth = 400;
    static constexpr int kMinimumHeight = 300;

    explicit CMainFrame(const EngineServices& services = {}, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds the tool bar, the status bar, the engine window (false when it cannot be built: the
    // program cannot start) and the menus, and last the tray icon. The window stays hidden; it has
    // its default geometry, 500 × 400 centred on the primary screen's available area.
    bool Create();

    // Every command of the program, whoever gives it: the engine window first, then the frame.
    void OnCommand(int commandId);
    // Sends a command from a later turn of the event loop (as a posted message would arrive).
    void PostCommand(int commandId) override;
    // Whether the command is enabled now (Exit is not while one of the program's dialogs is open).
    bool IsCommandEnabled(int commandId) const;
    // Brings the enabled states and check marks of every menu, tool bar and tray item up to date.
    void UpdateCommandStates();

    // Closes the window for good (what Exit ends with): the Stock Strip goes, the placement is
    // saved, the engine window closes (character unloaded, lists freed, timer stopped), the tray
    // icon goes and Closed() is emitted. Waits for an update pass that is still unwinding, and for
    // a menu or question still open in an event loop of its own.
    void CloseFrame();
    // Exit as soon as it is possible: at once, or once the dialogs open now have closed.
    void RequestExit();
    // Saves the window's placement for the next run (as closing does).
    void SavePlacement();

    // The status bar: the message pane (shown at once), the activity pane, the alert pane.
    void SetStatusText(const QString& text) override;
    void SetActive(bool active) override;
    bool IsActive() const { return m_active; }
    void SetAlertCount(long count) override;
    QString StatusText() const;
    QString ActivityText() const;
    QString AlertText() const;
    // " Active" / " Inactive"; " Alerts: " followed by the count.
    static QString ActivityPaneText(bool active);
    static QString AlertPaneText(long count);

    // The Stock Strip: shown (created) and hidden (deleted, its band given back) without touching
    // the "Show" setting, its pages rebuilt, its options applied again; null while hidden.
    bool IsStripShown() const override { return m_strip != nullptr; }
    void ShowStrip() override;
    void HideStrip() override;
    void RebuildStrip() override;
    void ApplyStripOptions() override;
    CStockStrip* Strip() const { return m_strip.get(); }

    // IStripCommands: the strip's menu.
    void PostStripCommand(int commandId) override { PostCommand(commandId); }
    bool IsStripCommandEnabled(int commandId) const override { return IsCommandEnabled(commandId); }

    // The tray icon shows the alert icon (an alert was raised) or the program icon.
    void SetTrayAlertIcon(bool alert) override;
    bool IsTrayAlertIcon() const { return m_trayAlert; }

    CEngineWnd* EngineWnd() const { return m_engine; }
    CTrayIcon* Tray() const { return m_tray; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // The action of a command in the main menu and tool bar (nullptr when it has none).
    QAction* Action(int commandId) const;
    // The wait dialog shown while Exit waits for a download; nullptr when not shown.
    QDialog* WaitDialog() const;
    bool IsClosed() const { return m_closed; }

    // The default geometry: width × height centred in the available area of the primary screen.
    static QRect DefaultGeometry(const QRect& available);

signals:
    // The window closed for good (Exit): the program ends.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateToolBar();
    void CreateStatusBar();
    void CreateMenus();
    void CreateTray();
    QAction* MakeAction(int commandId, const QString& text);
    void ExitCommand();
    void ToggleStripCommand();
    void ShowWaitDialog();

    EngineServices m_services;
    CEngineWnd* m_engine = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_activityPane = nullptr;
    QLabel* m_alertPane = nullptr;
    CTrayIcon* m_tray = nullptr;
    std::map<int, QList<QAction*>> m_actions;
    QPointer<QDialog> m_waitDialog;
    std::unique_ptr<CStockStrip> m_strip;
    bool m_active = false;
    bool m_trayAlert = false;
    bool m_exitPending = false;
    bool m_closing = false;
    bool m_closed = false;
};
