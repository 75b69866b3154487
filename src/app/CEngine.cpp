#include "app/CEngine.h"

#include "app/EngineClock.h"
#include "app/IEngineView.h"
#include "base/CSettings.h"
#include "base/ReachabilityPolicy.h"
#include "market/Countries.h"
#include "market/QuoteAnswer.h"
#include "market/QuoteRetrieval.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "platform/IDialupLink.h"
#include "rules/CompanionValues.h"
#include "rules/IRuleChecker.h"
#include "speech/IBroadcaster.h"

#include <QEventLoop>
#include <QLocale>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The minutes of the day of a stored time of day (a time_t of which the local hour and minute count).
int MinutesOfDay(qint32 storedTime)
{
    const QTime time = QDateTime::fromSecsSinceEpoch(storedTime).time();
    return time.hour() * 60 + time.minute();
}

} // namespace

CEngine::CEngine(IEngineView& view, IBroadcaster& broadcaster, IRuleChecker& rules, IDialupLink& dialup,
                 IEngineClock& clock, IReachability* reachability, QObject* parent)
    : QObject(parent)
    , m_view(view)
    , m_broadcaster(broadcaster)
    , m_rules(rules)
    , m_dialup(dialup)
    , m_clock(clock)
    , m_fetcher(reachability)
{
    // The schedule compares tick counts strictly ("more than the interval since the last broadcast"),
    // which counts on each timer event coming a little more than a period after the previous one, as
    // a system timer's do. A precise timer is never early (the broadcast minutes depend on it) but is
    // also never late: re-armed at each event, a millisecond over the period, it keeps its events
    // strictly more than a minute apart, so no due broadcast or rule check falls through.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setSingleShot(true);
    m_timer.setInterval(kSchedulePeriodMs + 1);
    connect(&m_timer, &QTimer::timeout, this, &CEngine::Tick);
}

CEngine::~CEngine() = default;

QString CEngine::StatusStamp(const QDateTime& time)
{
    const QLocale locale;
    // The locale's short time, with any seconds taken out ("h:mm:ss" -> "h:mm").
    static const QRegularExpression seconds(u"[:.,]?\\s*s+"_s);
    QString format = locale.timeFormat(QLocale::ShortFormat);
    format.remove(seconds);
    return locale.dayName(time.date().dayOfWeek(), QLocale::LongFormat) + u", "_s +
           locale.toString(time.time(), format.trimmed());
}

void CEngine::Start()
{
    const QDateTime now = m_clock.Now();
    const bool active = ComputeActive(now);
    const CSettings& settings = GetSettings();
    RunScheduled(now, active, settings.readBroadcast != 0, settings.checkRules != 0, false);
    if (!m_stopRequested) {
        m_scheduled = true;
        m_timer.start();
    }
}

void CEngine::Stop()
{
    m_scheduled = false;
    m_timer.stop();
}

void CEngine::Tick()
{
    const qint64 tick = m_clock.TickMs();
    if (m_scheduled)
        m_timer.start(); // armed after the tick is read: the next event's tick is more than a period on
    const QDateTime now = m_clock.Now();
    const bool active = ComputeActive(now);
    const CSettings& settings = GetSettings();

    bool broadcastDue = false;
    // Values set in memory since the last load may be out of range: take them through the table's.
    const qint64 broadcastInterval =
        CSettings::EntryOf(&CSettings::broadcastInterval).Valid(settings.broadcastInterval);
    if (settings.readBroadcast != 0 && tick > m_lastBroadcastTick + broadcastInterval * 60000 &&
        now.time().minute() % broadcastInterval == 0) {
        broadcastDue = true;
        m_lastBroadcastTick = tick;
    }
    bool rulesDue = false;
    const qint64 rulesInterval = CSettings::EntryOf(&CSettings::rulesInterval).Valid(settings.rulesInterval);
    if (settings.checkRules != 0 && tick > m_lastRuleTick + rulesInterval * 60000) {
        rulesDue = true;
        m_lastRuleTick = tick;
    }
    RunScheduled(now, active, broadcastDue, rulesDue, false);
}

void CEngine::BroadcastCommand()
{
    const CSettings& settings = GetSettings();
    RunScheduled(m_clock.Now(), true, settings.readBroadcast != 0, settings.checkRules != 0, true);
}

bool CEngine::IsWithinActiveHours(const QDateTime& time, qint32 activeDays, qint32 activeStart, qint32 activeStop)
{
    const int weekday = time.date().dayOfWeek() % 7; // Sunday = 0
    if (((quint32(activeDays) >> weekday) & 1U) == 0)
        return false;
    const int start = MinutesOfDay(activeStart);
    const int stop = MinutesOfDay(activeStop);
    const int now = time.time().hour() * 60 + time.time().minute();
    if (stop >= start)
        return start <= now && now <= stop;
    return now >= start || now <= stop;
}

bool CEngine::ComputeActive(const QDateTime& time)
{
    const CSettings& settings = GetSettings();
    m_active = IsWithinActiveHours(time, settings.activeDays, settings.activeStart, settings.activeStop);
    m_view.SetActive(m_active);
    const bool stripWanted = settings.show != 0 && (settings.hideInactive == 0 || m_active);
    if (stripWanted && !m_view.IsStripShown())
        m_view.ShowStrip();
    else if (!stripWanted && m_view.IsStripShown())
        m_view.HideStrip();
    return m_active;
}

void CEngine::RunScheduled(const QDateTime& time, bool active, bool broadcastDue, bool rulesDue, bool force)
{
    if (!force && !(active && (broadcastDue || rulesDue)))
        return;
    const bool updated = UpdateCycle();
    if (m_stopRequested)
        return;
    if (!force && !updated)
        return;
    if (force || broadcastDue) {
        const bool changed = m_broadcaster.HasPriceChanged();
        m_broadcaster.Broadcast(time, changed, force);
    }
    if (force)
        m_rules.CheckAllRules(true);
    else if (rulesDue)
        m_rules.CheckAllRules(false);
    if (GetSettings().alwaysShow == 0)
        m_broadcaster.HideCharacter();
}

std::pair<int, int> CEngine::CurrentSort() const
{
    return {QueryStockSortCriteria(), QueryStockSortOrder()};
}

bool CEngine::UpdateCycle()
{
    if (m_updateRunning)
        return false;
    const QString stamp = StatusStamp(m_clock.Now());
    const CSettings& settings = GetSettings();

    bool offline = false;
    if (settings.type == u"Dialup"_s) {
        offline = m_dialup.IsDialupConnected() == 0;
        if (offline && settings.autoDial == 0) {
            m_view.SetStatusText(u"No Connection: "_s + stamp);
            return false;
        }
    }

    m_updateRunning = true;
    int successes = 0;
    bool changed = false;
    std::pair<int, int> sort = CurrentSort();

    for (int index = 0; index < StockList::Count();) {
        Stock* stock = StockList::At(index, true);
        if (stock == nullptr) {
            ++index;
            continue;
        }
        m_view.SetStatusText(u"Updating "_s + stock->Name());
        const Stock before(*stock);
        const int result = FetchQuote(stock);
        stock = nullptr; // the request let everything happen: only what is found again counts

        if (result == CHttpFetcher::FETCH_NO_CONNECTION)
            break;
        if (result != CHttpFetcher::FETCH_OK && m_stopRequested)
            break;
        if (result == CHttpFetcher::FETCH_OK) {
            ++successes;
            const Stock* current = StockList::FindByName(before.Name());
            const bool differs = current != nullptr && !before.SameForDisplay(*current);
            if (differs || changed)
                changed = true;
            if (differs)
                m_view.RedrawStockRow(index);
        }
        const std::pair<int, int> sortNow = CurrentSort();
        if (sortNow != sort) {
            // The user sorted the list during the request: start again from the top of the new order.
            sort = sortNow;
            index = 0;
            continue;
        }
        ++index;
    }

    if (offline && settings.autoHangup != 0) {
        m_view.SetWaitCursor(true);
        m_dialup.HangUp();
        m_view.SetWaitCursor(false);
    }

    if (!m_stopRequested) {
        if (changed) {
            m_view.CommitStocks();
            if (m_view.IsStripShown())
                m_view.RefreshStrip();
        }
        if (successes > 0)
            m_view.SetStatusText(u"Updated: "_s + stamp);
        else if (StockList::Count() > 0)
            m_view.SetStatusText(u"Error during update: "_s + stamp);
    }
    m_updateRunning = false;
    return successes > 0;
}

int CEngine::FetchQuote(Stock* stock)
{
    if (m_stopRequested)
        return CHttpFetcher::FETCH_BUSY;

    const CSettings& settings = GetSettings();
    QString proxy;
    if (settings.type == u"LAN"_s) {
        proxy = settings.proxyServer;
        if (!settings.proxyPort.isEmpty())
            proxy += u":"_s + settings.proxyPort;
    }
    m_fetcher.SetProxy(proxy);
    m_fetcher.SetAttemptConnect(ReachabilityHoldsRequestsBack());

    m_waiting = true;
    QString url;
    QString userAgent;
    {
        const Countries::ConfigurationSnapshot configuration; // URL.ini read once for both
        url = stock->QuoteURL();
        userAgent = QuoteRetrieval::UserAgentOf(stock->Country());
    }
    if (url.isEmpty()) {
        m_waiting = false;
        return CHttpFetcher::FETCH_BAD_URL;
    }
    m_fetcher.SetUserAgent(userAgent);
    m_fetcher.SetMaxBodySize(QuoteRetrieval::kMaxAnswerSize);
    m_fetcher.SetURL(url);
    m_answer.clear();
    const int started = m_fetcher.FetchAsync(this, WM_FETCH_DONE, m_answer);
    if (started != CHttpFetcher::FETCH_PENDING) {
        m_waiting = false;
        return started;
    }
    const QString name = stock->Name();

    // Keep the program live until the answer is in.
    QEventLoop loop;
    m_wait = &loop;
    if (m_waiting)
        loop.exec();
    m_wait = nullptr;
    if (m_waiting) {
        // The application is quitting: the answer never came. Nothing is parsed.
        m_waiting = false;
        m_lastFetchResult = CHttpFetcher::FETCH_FAILED;
    }

    if (m_stopRequested) {
        m_view.PostExitCommand();
        return m_lastFetchResult;
    }
    int result = m_lastFetchResult;
    if (result == CHttpFetcher::FETCH_OK) {
        Stock* found = StockList::FindByName(name);
        if (found == nullptr) {
            result = FETCH_STOCK_GONE;
        } else {
            const Countries::ConfigurationSnapshot configuration; // format, multiplier, time zone
            const QString& country = found->Country();
            const auto answer = QuoteRetrieval::ParseAnswer(country, QuoteRetrieval::AnswerFormatOf(country), m_answer);
            if (answer)
                QuoteRetrieval::ApplyQuote(*found, *answer);
            else
                result = CHttpFetcher::FETCH_FAILED; // an answer without a quote changes nothing
        }
    }
    m_answer.clear();
    return result;
}

void CEngine::customEvent(QEvent* event)
{
    if (event->type() != WM_FETCH_DONE) {
        QObject::customEvent(event);
        return;
    }
    m_lastFetchResult = static_cast<FetchDoneEvent*>(event)->Code();
    m_waiting = false;
    if (m_wait != nullptr)
        m_wait->quit();
}
