// The schedule's tick counts the time the machine was suspended. A time namespace whose boot clock
// runs a day ahead of its monotonic clock stands in for a machine that slept for a day.

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(EngineClock, TickCountsSuspendedTime)
{
    const QString unshare = QStandardPaths::findExecutable(u"unshare"_s);
    if (unshare.isEmpty())
        GTEST_SKIP() << "unshare (util-linux) is not installed";
    QProcess probe;
    probe.start(unshare, {u"--user"_s, u"--map-root-user"_s, u"--time"_s, u"--boottime"_s, u"86400"_s,
                          QStringLiteral(ENGINE_CLOCK_PROBE)});
    ASSERT_TRUE(probe.waitForFinished(20000));
    if (probe.exitCode() != 0)
        GTEST_SKIP() << "no time namespace here: " << probe.readAllStandardError().toStdString();
    const QList<QByteArray> fields = probe.readAllStandardOutput().trimmed().split(' ');
    ASSERT_EQ(fields.size(), 2);
    const qint64 slept = fields[0].toLongLong() - fields[1].toLongLong();
    EXPECT_NEAR(double(slept), 86'400'000.0, 10'000.0);
}
