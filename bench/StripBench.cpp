// Building the Stock Strip's pages for 500 enabled stocks, beside measuring the same 500 item texts
// with QFontMetrics alone (the floor: what any strip must spend to know its items' widths). Target:
// RebuildPages within 3 times the floor.
//   scripts/build test bench_strip && build/test/bench/bench_strip

#include "base/CSettings.h"
#include "base/CommandIds.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "rules/AlertList.h"
#include "ui/strip/CMarkupText.h"
#include "ui/strip/CStockStrip.h"
#include "ui/strip/IStripCommands.h"

#include <QApplication>
#include <QFontMetrics>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kStocks = 500;

class NoCommands final : public IStripCommands
{
public:
    void PostStripCommand(int) override {}
    bool IsStripCommandEnabled(int) const override { return true; }
};

// 500 quoted stocks with varied names, prices and changes, one in twenty with an alert.
void MakeStocks()
{
    if (StockList::Count() == kStocks)
        return;
    const QStringList words{u"Acme"_s, u"Globex"_s, u"Initech"_s, u"Umbrella"_s, u"Hooli"_s, u"Vandelay"_s};
    for (int i = 0; i < kStocks; ++i) {
        const QString name = words[i % words.size()] + u' ' + QString::number(i);
        Stock* stock = StockList::Add(name, name, u"S%1"_s.arg(i), u"United States"_s);
        stock->SetPrice(QString::number(10 + i * 0.37, 'f', 2), false);
        const double change = (i % 7 - 3) * 0.41;
        stock->SetChange(QString::number(change, 'f', 2), false);
        stock->ComputePercent();
        if (i % 20 == 0)
            InsertNewAlert(u"rule"_s, u"1"_s, u"now"_s, u"United States"_s, name);
    }
}

void BM_RebuildPages(benchmark::State& state)
{
    MakeStocks();
    NoCommands commands;
    CStockStrip strip(commands);
    strip.SetSlideEnabled(false);
    strip.Create();
    for (auto _ : state)
        strip.RebuildPages();
    state.counters["pages"] = strip.PageCount();
    state.counters["per_stock_us"] = benchmark::Counter(double(kStocks), benchmark::Counter::kIsIterationInvariantRate |
                                                                             benchmark::Counter::kInvert);
}
BENCHMARK(BM_RebuildPages)->Unit(benchmark::kMicrosecond);

void BM_FontMetricsAlone(benchmark::State& state)
{
    MakeStocks();
    // The items' texts as the strip shows them, in the strip's font.
    QStringList texts;
    for (int i = 0; i < kStocks; ++i) {
        const Stock* stock = StockList::At(i);
        texts.append(u"    "_s + stock->Name() + u' ' + stock->FormatPrice(2, 0) + u", "_s + stock->FormatChange(2, 0) +
                     u"    "_s);
    }
    const CMarkupText text;
    const QFontMetrics metrics(text.Font(CMarkupText::NormalFont));
    for (auto _ : state) {
        int width = 0;
        for (const QString& item : texts)
            width += metrics.horizontalAdvance(item);
        benchmark::DoNotOptimize(width);
    }
}
BENCHMARK(BM_FontMetricsAlone)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home; // the strip saves nothing here, but reads the options from it
    qputenv("XDG_CONFIG_HOME", home.filePath(u"config"_s).toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
