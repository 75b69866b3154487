// Loading and saving a stock file of 10,000 stocks, against reading and writing the same bytes raw.
// BM_RawRead reads from the page cache; BM_RawReadAndDecode adds the UTF-8 decoding a load cannot do
// without, for readers who want the floor of a load rather than of a read.
// The raw write gets the same durability as the real one (temporary file, fsync, rename), so the
// comparison shows what the parsing, formatting and rotation cost; BM_RawWriteNoSync shows the
// price of the fsync itself.
#include "market/Countries.h"
#include "market/DataFile.h"
#include "market/Stock.h"
#include "market/StockList.h"

#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kStocks = 10000;

QString MainFile()
{
    return DataFile::MainPath(DataFile::Format{u"Quorvan"_s, {}, 2, {}, {}, {}});
}

void FillList()
{
    StockList::DeleteAll();
    const QStringList& countries = Countries::CountryNames();
    for (int i = 0; i < kStocks; ++i) {
        Stock* stock = StockList::Add(u"Company %1, Holdings"_s.arg(i), i % 3 ? QString() : u"Company %1"_s.arg(i),
                                      u"SYM%1.X"_s.arg(i), countries[i % countries.size()]);
        stock->SetPrice(QString::number(10 + i % 997) + u".25"_s, false);
        stock->SetChange(i % 2 ? u"-0.5"_s : u"0.75"_s, false);
        stock->ComputePercent();
        stock->SetVolume(QString::number(100000 + i));
        stock->SetQuoteTime(946684800 + i);
        stock->SetTimeZone(u"ET"_s);
    }
}

QByteArray ReadRaw(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void BM_LoadStockFile(benchmark::State& state)
{
    FillList();
    StockList::Save();
    for (auto _ : state) {
        StockList::DeleteAll();
        if (!StockList::Load())
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(StockList::Count());
    }
    state.SetBytesProcessed(state.iterations() * QFile(MainFile()).size());
}
BENCHMARK(BM_LoadStockFile)->Unit(benchmark::kMillisecond);

void BM_RawRead(benchmark::State& state)
{
    FillList();
    StockList::Save();
    for (auto _ : state) {
        const QByteArray bytes = ReadRaw(MainFile());
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * QFile(MainFile()).size());
}
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);

// Informative, not the baseline of the load target: the raw read plus the one step no load can skip,
// turning the UTF-8 bytes into the UTF-16 text that every QString holds.
void BM_RawReadAndDecode(benchmark::State& state)
{
    FillList();
    StockList::Save();
    for (auto _ : state) {
        const QString text = QString::fromUtf8(ReadRaw(MainFile()));
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * QFile(MainFile()).size());
}
BENCHMARK(BM_RawReadAndDecode)->Unit(benchmark::kMillisecond);

void BM_SaveStockFile(benchmark::State& state)
{
    FillList();
    for (auto _ : state) {
        if (!StockList::Save())
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * QFile(MainFile()).size());
}
BENCHMARK(BM_SaveStockFile)->Unit(benchmark::kMillisecond);

void RawWrite(benchmark::State& state, bool sync)
{
    FillList();
    StockList::Save();
    const QByteArray bytes = ReadRaw(MainFile());
    const QByteArray temp = QFile::encodeName(MainFile() + u".raw"_s);
    const QByteArray target = QFile::encodeName(MainFile() + u".rawtarget"_s);
    for (auto _ : state) {
        const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size() || (sync && ::fsync(fd)))
            state.SkipWithError("write failed");
        ::close(fd);
        ::rename(temp.constData(), target.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_RawWrite(benchmark::State& state)
{
    RawWrite(state, true);
}
BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond);

void BM_RawWriteNoSync(benchmark::State& state)
{
    RawWrite(state, false);
}
BENCHMARK(BM_RawWriteNoSync)->Unit(benchmark::kMillisecond);

// Formatting and parsing alone, without any file.
void BM_FormatAndParseLines(benchmark::State& state)
{
    FillList();
    for (auto _ : state) {
        for (int i = 0; i < StockList::Count(); ++i) {
            Stock* stock = StockList::At(i);
            stock->Format();
            Stock parsed;
            parsed.version = 2;
            parsed.line = stock->line;
            parsed.Parse();
            benchmark::DoNotOptimize(parsed.Price().size());
        }
    }
}
BENCHMARK(BM_FormatAndParseLines)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Work in a folder of our own: never the user's stock file. QUORVANE_BENCH_DIR picks the disk.
    const QByteArray base = qgetenv("QUORVANE_BENCH_DIR");
    QTemporaryDir folder(base.isEmpty() ? QString() : QFile::decodeName(base) + u"/quorvane-bench-XXXXXX"_s);
    if (!folder.isValid())
        return 1;
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder.path()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    StockList::DeleteAll();
    return 0;
}
