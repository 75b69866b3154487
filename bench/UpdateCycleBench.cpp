// One update cycle over 100 stocks against the local quote server (tools/quotesim, run as a
// process). Reports the whole cycle and Quorvane's own share: the cycle minus the time the server
// spent answering, per stock.
//   scripts/build test && build/test/bench/bench_update_cycle

#include "QuoteSim.h"

#include "app/CEngine.h"
#include "app/EngineClock.h"
#include "app/IEngineView.h"
#include "base/CSettings.h"
#include "market/StockList.h"
#include "platform/IDialupLink.h"
#include "platform/IReachability.h"
#include "rules/IRuleChecker.h"
#include "speech/IBroadcaster.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kStocks = 100;

class QuietView final : public IEngineView
{
public:
    void SetStatusText(const QString&) override {}
    void SetActive(bool) override {}
    void RedrawStockRow(int) override {}
    void CommitStocks() override {}
    bool IsStripShown() const override { return false; }
    void ShowStrip() override {}
    void HideStrip() override {}
    void RefreshStrip() override {}
    void PostExitCommand() override {}
    void SetWaitCursor(bool) override {}
};

class QuietBroadcaster final : public IBroadcaster
{
public:
    bool HasPriceChanged() override { return false; }
    void Broadcast(const QDateTime&, bool, bool) override {}
    void HideCharacter() override {}
};

class QuietRules final : public IRuleChecker
{
public:
    void CheckAllRules(bool) override {}
};

class NoDialup final : public IDialupLink
{
public:
    bool IsAvailable() override { return false; }
    int IsDialupConnected() override { return 0; }
    void HangUp() override {}
};

class Connected final : public IReachability
{
public:
    bool IsConnected() override { return true; }
};

void BM_UpdateCycle100Stocks(benchmark::State& state)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(u"config"_s).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(u"data"_s).toUtf8());
    QuoteSim server;
    if (!server.IsRunning()) {
        state.SkipWithError("quotesim did not start");
        return;
    }
    qputenv("QUORVANE_URL_INI", WriteQuoteSimUrlIni(home.path(), server).toUtf8());
    GetSettings().SetDefaults(false);
    GetSettings().type = u"LAN"_s;
    StockList::DeleteAll();
    for (int i = 0; i < kStocks; ++i)
        StockList::Add(u"Stock %1"_s.arg(i, 3, 10, QChar(u'0')), QString(), u"S%1"_s.arg(i), u"United States"_s);

    QuietView view;
    QuietBroadcaster broadcaster;
    QuietRules rules;
    NoDialup dialup;
    SystemEngineClock clock;
    Connected connected;
    CEngine engine(view, broadcaster, rules, dialup, clock, &connected);

    qint64 serverBefore = server.ServerNanoseconds();
    qint64 requestsBefore = server.Requests();
    double ownSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool updated = engine.UpdateCycle();
        const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        if (!updated)
            state.SkipWithError("the update cycle failed");
        const qint64 serverNow = server.ServerNanoseconds();
        ownSeconds += total - double(serverNow - serverBefore) * 1e-9;
        serverBefore = server.ServerNanoseconds(); // the stats request itself is not a quote
        state.ResumeTiming();
    }
    const qint64 requests = server.Requests() - requestsBefore;
    state.counters["stocks"] = kStocks;
    state.counters["requests_per_cycle"] = double(requests) / double(state.iterations());
    state.counters["own_ms_per_stock"] = ownSeconds * 1e3 / double(state.iterations()) / kStocks;
    StockList::DeleteAll();
}

// One request on its own, synchronous (no thread, no event loop) or asynchronous (the worker
// thread and the completion message, as the update cycle uses it): where a quote's time goes.
void BM_FetchOneQuote(benchmark::State& state)
{
    const bool async = state.range(0) != 0;
    QuoteSim server;
    if (!server.IsRunning()) {
        state.SkipWithError("quotesim did not start");
        return;
    }
    Connected connected;
    CHttpFetcher fetcher(&connected);
    fetcher.SetURL(server.Url(u"/csv/IBM"_s));
    QObject receiver;
    QString output;
    for (auto _ : state) {
        output.clear();
        if (!async) {
            if (fetcher.Fetch(output) != CHttpFetcher::FETCH_OK)
                state.SkipWithError("the request failed");
            continue;
        }
        QEventLoop loop;
        class Waiter final : public QObject
        {
        public:
            explicit Waiter(QEventLoop& loop)
                : m_loop(loop)
            {}
            void customEvent(QEvent*) override { m_loop.quit(); }

        private:
            QEventLoop& m_loop;
        } waiter(loop);
        fetcher.FetchAsync(&waiter, WM_FETCH_DONE, output);
        loop.exec();
    }
}

} // namespace

BENCHMARK(BM_FetchOneQuote)->Arg(0)->Arg(1)->ArgName("async")->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_UpdateCycle100Stocks)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
