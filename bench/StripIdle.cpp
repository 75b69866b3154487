// The processor time of a shown Stock Strip left alone: shows the strip with 40 stocks, lets it
// settle, then reports the processor time the whole program used over the idle period, as a share
// of one core. Run by bench/strip_idle_cpu.sh under Xvfb.
//   strip_idle SECONDS ADVANCE   (ADVANCE: the advance timer's period in seconds, 0 = off)

#include "base/CSettings.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "ui/strip/CStockStrip.h"
#include "ui/strip/IStripCommands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

class NoCommands final : public IStripCommands
{
public:
    void PostStripCommand(int) override {}
    bool IsStripCommandEnabled(int) const override { return true; }
};

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(u"config"_s).toUtf8());
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int seconds = arguments.value(1, u"60"_s).toInt();
    const int advance = arguments.value(2, u"0"_s).toInt();

    for (int i = 0; i < 40; ++i) {
        Stock* stock = StockList::Add(u"Stock %1"_s.arg(i), QString(), u"S%1"_s.arg(i), u"United States"_s);
        stock->SetPrice(QString::number(20 + i), false);
        stock->SetChange(u"0.5"_s, false);
        stock->ComputePercent();
    }
    GetSettings().autoAdvance = advance > 0 ? 1 : 0;
    GetSettings().advanceInterval = std::max(advance, 1);
    NoCommands commands;
    CStockStrip strip(commands);
    strip.Create();

    double cpuAtStart = 0;
    QElapsedTimer clock;
    QTimer::singleShot(2000, &app, [&] {
        cpuAtStart = ProcessCpuSeconds();
        clock.start();
        QTimer::singleShot(seconds * 1000, &app, [&] {
            const double cpu = ProcessCpuSeconds() - cpuAtStart;
            const double elapsed = double(clock.elapsed()) / 1000.0;
            std::printf("advance %s, %d pages: idle %.1f s, processor time %.3f s = %.3f %% of a core\n",
                        advance > 0 ? qPrintable(u"every %1 s"_s.arg(advance)) : "off", strip.PageCount(), elapsed, cpu,
                        100.0 * cpu / elapsed);
            QCoreApplication::quit();
        });
    });
    return QApplication::exec();
}
