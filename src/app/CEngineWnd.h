#pragma once

#include "app/IEngineView.h"
#include "ui/IPageHost.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class CAlertNotifier;
class CAlertsPage;
class DesktopNotifications;
class QAbstractButton;
class CBroadcaster;
class CCharacterManager;
class CEngine;
class IFrame;
class CRulesPage;
class CStocksPage;
class CTabPage;
class IAgentControl;
class IDialupLink;
class IEngineClock;
class IReachability;
class IRuleChecker;
class QTabWidget;
class QTimer;
class QWindow;

// What the engine window is built on. Every member left empty takes the desktop's own: the
// character engine with its windows and the sound card, the setup wizard, the system clocks,
// NetworkManager for dial-up and the desktop's network state. Tests give their own.
struct EngineServices
{
    std::function<std::unique_ptr<IAgentControl>()> makeAgentControl;
    // Asked on a first run (no connection "Type"): false ends the start-up (RunSetupWizard).
    std::function<bool(CCharacterManager&)> runSetupWizard;
    IEngineClock* clock = nullptr;
    IDialupLink* dialup = nullptr;
    IReachability* reachability = nullptr;
};

// The main window's client area and the program's working centre: the tab control with the Stocks,
// Rules and Alerts pages, the character (its engine and manager), the broadcast, the rule check and
// the core engine with its one-minute schedule and the update cycle. It is the engine's view and the
// pages' host, and it takes every command first (OnCommand), before the main frame.
class CEngineWnd final : public QWidget, public IEngineView, public IPageHost
{
    Q_OBJECT

public:
    CEngineWnd(IFrame& frame, const EngineServices& services, QWidget* parent = nullptr);
    ~CEngineWnd() override;

    // Builds everything, in this order: the screen size and the settings, the tabs and their pages,
    // the character (false when no character can be loaded: the program cannot start), the setup
    // wizard on a first run (false when it is cancelled), the data files; then the engine is
    // started once the event loop runs and a shown main window has been exposed (StartEngine).
    bool Create();
    // The window closes: the timer stops, the character is silenced and unloaded, the pages go and
    // the four lists are freed. Safe to call twice.
    void Close();

    // A command of the menus, the tool bar or the tray; true when the engine window handled it.
    bool OnCommand(int commandId);
    // Whether a command of the engine window is enabled now, and whether its item carries a check
    // mark (Quiet, price updates).
    bool IsCommandChecked(int commandId) const;

    // The tabs: 0 Stocks, 1 Rules, 2 Alerts.
    int TabCount() const;
    int CurrentTab() const;
    void SelectTab(int index);
    // Ctrl+Tab and Ctrl+Shift+Tab: the next or previous tab, cyclically.
    void SelectNextTab(bool backwards);
    // The shown page's one enabled button whose Alt letter is this key (nullptr when none, or when
    // several share it). The page's own buttons take their letters before the tool bar and menus.
    QAbstractButton* PageMnemonicButton(QKeyCombination key) const;
    QTabWidget* Tabs() const { return m_tabs; }
    CTabPage* Page(int index) const;
    CStocksPage* StocksPage() const { return m_stocks; }
    CRulesPage* RulesPage() const { return m_rules; }
    CAlertsPage* AlertsPage() const { return m_alerts; }

    CEngine* Engine() const { return m_engine.get(); }
    CCharacterManager* Characters() const { return m_characters.get(); }
    bool IsStarted() const { return m_started; }

    // The main frame's window moved or was resized: the current page fits its columns.
    void OnExitSizeMove();

    // IEngineView
    void SetStatusText(const QString& text) override;
    void SetActive(bool active) override;
    void RedrawStockRow(int row) override;
    void CommitStocks() override;
    bool IsStripShown() const override;
    void ShowStrip() override;
    void HideStrip() override;
    void RefreshStrip() override;
    void PostExitCommand() override;
    void SetWaitCursor(bool on) override;

    // IPageHost
    void StartUpdateCycle() override;
    void SayStock(const Stock& stock, bool force) override;
    void PlayAnnouncement(const CAnnouncement* announcement, const CRule* rule, bool force) override;
    QStringList GetGestureList() override;
    void SetTrayAlertIcon(bool alert) override;
    void SetAlertCount(int count) override;
    void RebuildStrip() override;
    void ShowHelpTopic(int topicId) override;

signals:
    // The start message was handled: the first update, broadcast and rule check ran and the
    // one-minute timer runs.
    void Started();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateTabs();
    void ShowCurrentPage();
    void StartWhenShown();
    void StartEngine();
    void ReadAllPrices();
    void ToggleQuiet();
    void TogglePriceUpdates();
    void ShowAbout();
    void ApplyOptions();
    void RefreshPage(CTabPage* page);

    IFrame& m_frame;
    EngineServices m_services;

    QTabWidget* m_tabs = nullptr;
    // The pages belong to the tab control.
    CStocksPage* m_stocks = nullptr;
    CRulesPage* m_rules = nullptr;
    CAlertsPage* m_alerts = nullptr;

    std::unique_ptr<IAgentControl> m_agent;
    std::unique_ptr<CCharacterManager> m_characters;
    std::unique_ptr<CBroadcaster> m_broadcaster;
    std::unique_ptr<DesktopNotifications> m_notifications; // alerts the character will not tell
    std::unique_ptr<CAlertNotifier> m_alertNotifier;
    std::unique_ptr<IRuleChecker> m_ruleChecker;
    std::unique_ptr<IEngineClock> m_ownClock;
    std::unique_ptr<CEngine> m_engine;

    QPointer<QWindow> m_exposeWindow; // the shown main window, until its first expose starts the engine
    QTimer* m_fitTimer = nullptr;     // fits the current page's columns once a resize has settled
    bool m_paletteDisplay = false;    // the screen shows 256 colours or fewer
    bool m_created = false;
    bool m_started = false;
    bool m_closed = false;
    int m_waitCursors = 0;
};
