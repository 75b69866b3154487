#pragma once

#include "market/CHttpFetcher.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

class IBroadcaster;
class IDialupLink;
class IEngineClock;
class IEngineView;
class IReachability;
class IRuleChecker;
class QEventLoop;
class Stock;

// The working centre behind the main window: the one schedule timer, the active-hours test, the
// update cycle that fetches every stock's quote in the Stocks page's order, and what follows it
// (broadcast, rule check, hiding the character). Windows, the character and the rules are reached
// through small interfaces, so everything here runs and is tested without a display.
//
// Quotes are fetched one at a time on the fetcher's worker thread; meanwhile the engine keeps the
// event loop running, so the windows stay live and commands, timer events and edits arrive in the
// middle of a pass. The update-running flag turns a nested update away, each stock is found again
// by name after its request, and a change of sort order restarts the pass.
class CEngine final : public QObject
{
    Q_OBJECT

public:
    // Fetch result of a quote whose stock was removed or renamed during the request.
    static constexpr int FETCH_STOCK_GONE = 6;
    // The schedule timer: id and period.
    static constexpr int ID_TIMER_SCHEDULE = 100;
    static constexpr int kSchedulePeriodMs = 60000;

    // reachability: the network check before each request (null = the system's).
    CEngine(IEngineView& view, IBroadcaster& broadcaster, IRuleChecker& rules, IDialupLink& dialup, IEngineClock& clock,
            IReachability* reachability = nullptr, QObject* parent = nullptr);
    ~CEngine() override;

    // The start message: the active state, the strip, the first update, broadcast and rule check,
    // then the timer.
    void Start();
    // Stops the timer (the engine window closes).
    void Stop();
    bool IsTimerRunning() const { return m_timer.isActive(); }
    // How long after a timer event the next one is due.
    int TimerIntervalMs() const { return m_timer.interval(); }
    // One timer event.
    void Tick();
    // The Broadcast command: update, broadcast and check the rules now, whatever the schedule says.
    void BroadcastCommand();

    // Whether the program is inside its active hours at the time ("ActiveDays", "ActiveStart",
    // "ActiveStop"); records the state in the activity pane and shows or hides the strip.
    bool ComputeActive(const QDateTime& time);
    bool IsActive() const { return m_active; }
    // The pure rule: weekday bit (Sunday = bit 0) and the minutes of the day, both ends included,
    // over midnight when the stop comes before the start.
    static bool IsWithinActiveHours(const QDateTime& time, qint32 activeDays, qint32 activeStart, qint32 activeStop);

    void RunScheduled(const QDateTime& time, bool active, bool broadcastDue, bool rulesDue, bool force);
    // Refreshes every stock's quote once; true when at least one arrived.
    bool UpdateCycle();
    // Fetches and stores one stock's quote; the fetch result code (0, 1, 3, 4, 6 or 8).
    int FetchQuote(Stock* stock);

    // Exit while a quote is being fetched: the engine finishes the request, then posts the Exit
    // command again through the view.
    bool IsDownloadRunning() const { return m_waiting; }
    void RequestStop() { m_stopRequested = true; }
    bool IsStopRequested() const { return m_stopRequested; }
    bool IsUpdateRunning() const { return m_updateRunning; }
    int LastFetchResult() const { return m_lastFetchResult; }

    qint64 LastBroadcastTick() const { return m_lastBroadcastTick; }
    qint64 LastRuleTick() const { return m_lastRuleTick; }

    CHttpFetcher& Fetcher() { return m_fetcher; }

    // The status stamp: the local day name, ", ", the time without seconds (Monday, 3:45 PM).
    static QString StatusStamp(const QDateTime& time);

protected:
    void customEvent(QEvent* event) override;

private:
    std::pair<int, int> CurrentSort() const;

    IEngineView& m_view;
    IBroadcaster& m_broadcaster;
    IRuleChecker& m_rules;
    IDialupLink& m_dialup;
    IEngineClock& m_clock;

    CHttpFetcher m_fetcher;
    QTimer m_timer;
    bool m_scheduled = false; // the timer runs: each event re-arms it
    qint64 m_lastBroadcastTick = 0;
    qint64 m_lastRuleTick = 0;
    bool m_active = false;
    bool m_updateRunning = false;
    bool m_waiting = false;
    bool m_stopRequested = false;
    int m_lastFetchResult = CHttpFetcher::FETCH_OK;
    QString m_answer;             // the body of the request under way
    QEventLoop* m_wait = nullptr; // the loop that runs while a quote is awaited
};
