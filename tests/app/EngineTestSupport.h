#pragma once

#include "app/EngineClock.h"
#include "app/IEngineView.h"
#include "platform/IDialupLink.h"
#include "platform/IReachability.h"
#include "rules/IRuleChecker.h"
#include "speech/IBroadcaster.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Small recording implementations of the engine's interfaces.

class RecordingView final : public IEngineView
{
public:
    QStringList statuses;
    std::vector<bool> activeStates;
    std::vector<int> redrawnRows;
    int commits = 0;
    int stripRefreshes = 0;
    int exitCommands = 0;
    QStringList cursor; // "wait" / "normal"
    bool stripShown = false;
    int stripShows = 0;
    int stripHides = 0;
    std::function<void()> onStatus; // called after each status text

    void SetStatusText(const QString& text) override
    {
        statuses << text;
        if (onStatus)
            onStatus();
    }
    void SetActive(bool active) override { activeStates.push_back(active); }
    void RedrawStockRow(int row) override { redrawnRows.push_back(row); }
    void CommitStocks() override { ++commits; }
    bool IsStripShown() const override { return stripShown; }
    void ShowStrip() override
    {
        stripShown = true;
        ++stripShows;
    }
    void HideStrip() override
    {
        stripShown = false;
        ++stripHides;
    }
    void RefreshStrip() override { ++stripRefreshes; }
    void PostExitCommand() override { ++exitCommands; }
    void SetWaitCursor(bool on) override { cursor << (on ? QStringLiteral("wait") : QStringLiteral("normal")); }
};

class RecordingBroadcaster final : public IBroadcaster
{
public:
    struct Call
    {
        QDateTime time;
        bool changed;
        bool force;
    };
    std::vector<Call> broadcasts;
    int hides = 0;
    bool priceChanged = true;

    bool HasPriceChanged() override { return priceChanged; }
    void Broadcast(const QDateTime& time, bool changed, bool force) override
    {
        broadcasts.push_back({time, changed, force});
    }
    void HideCharacter() override { ++hides; }
};

class RecordingRules final : public IRuleChecker
{
public:
    std::vector<bool> checks; // the force of each check
    void CheckAllRules(bool force) override { checks.push_back(force); }
};

class FakeDialup final : public IDialupLink
{
public:
    bool connected = false;
    int hangUps = 0;
    bool IsAvailable() override { return true; }
    int IsDialupConnected() override { return connected ? 1 : 0; }
    void HangUp() override { ++hangUps; }
};

class FixedReachability final : public IReachability
{
public:
    bool connected = true;
    bool IsConnected() override { return connected; }
};

// A clock the test moves by hand.
class ManualClock final : public IEngineClock
{
public:
    qint64 tick = 0;
    QDateTime now;
    qint64 TickMs() override { return tick; }
    QDateTime Now() override { return now; }
    // Moves both clocks on by ms.
    void Advance(qint64 ms)
    {
        tick += ms;
        now = now.addMSecs(ms);
    }
};
