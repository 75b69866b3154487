// The web update's download beside curl's for the same 100 MB file from the local update site
// (tools/quotesim), interleaved: each iteration runs `curl -o`, then Quorvane's download, with its
// SHA-256 check as the version file announces it (sha256:1) or without (sha256:0). The time
// reported is Quorvane's; counters give curl's and the ratio (target: own / curl <= 1.5).
//   scripts/build test --target bench_web_download && build/test/bench/bench_web_download
// QUORVANE_BENCH_DIR=<folder> picks the disk the files are written to (default: the temporary folder).

#include "QuoteSim.h"

#include "webupdate/CUpdateDownload.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kSize = 100LL * 1024 * 1024;

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_Download100MB(benchmark::State& state)
{
    QuoteSim server({u"--update-size"_s, QString::number(kSize)});
    const QString base = qEnvironmentVariable("QUORVANE_BENCH_DIR");
    QTemporaryDir folder(base.isEmpty() ? QDir::tempPath() + u"/bench-web-XXXXXX"_s : base + u"/bench-web-XXXXXX"_s);
    if (!server.IsRunning() || !folder.isValid()) {
        state.SkipWithError("quotesim did not start, or no folder for the files");
        return;
    }
    const QString url = server.Url(u"/update/files/update.bin"_s);
    QString sha256;
    for (const QByteArray& line : server.Control(u"/update/version.txt"_s).split('\n')) {
        if (state.range(0) != 0 && line.startsWith("SHA256:"))
            sha256 = QString::fromLatin1(line.mid(7).trimmed());
    }
    const QString curlFile = folder.filePath(u"curl.bin"_s);
    double curlSeconds = 0;
    double ownSeconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        const int curl = QProcess::execute(u"curl"_s, {u"-s"_s, u"-o"_s, curlFile, url});
        const double curlTime = Seconds(start);
        if (curl != 0 || QFileInfo(curlFile).size() != kSize) {
            state.SkipWithError("curl failed (is it installed?)");
            break;
        }

        CUpdateDownload download;
        QEventLoop loop;
        int result = 0;
        QObject::connect(&download, &CUpdateDownload::Finished, &loop, [&](int code) {
            result = code;
            loop.quit();
        });
        start = std::chrono::steady_clock::now();
        download.Start(WebTransfer::Request::Make(url, {}, u"Quorva"_s), folder.path(), u"own.bin"_s, sha256);
        loop.exec();
        const double ownTime = Seconds(start);
        if (result != CUpdateDownload::DOWNLOAD_COMPLETE || QFileInfo(download.FilePath()).size() != kSize) {
            state.SkipWithError("the download failed");
            break;
        }
        state.SetIterationTime(ownTime);
        curlSeconds += curlTime;
        ownSeconds += ownTime;
        QFile::remove(curlFile);
        QFile::remove(download.FilePath());
    }
    if (state.iterations() > 0 && curlSeconds > 0) {
        state.counters["curl_ms"] = curlSeconds * 1e3 / double(state.iterations());
        state.counters["own_ms"] = ownSeconds * 1e3 / double(state.iterations());
        state.counters["own_per_curl"] = ownSeconds / curlSeconds;
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}

} // namespace

BENCHMARK(BM_Download100MB)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("sha256")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseManualTime();

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
