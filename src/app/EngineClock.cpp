#include "app/EngineClock.h"

#include <QElapsedTimer>

#include <time.h>

qint64 SystemEngineClock::TickMs()
{
    // The time since the system started, the time it was suspended included, like the tick counter
    // the schedule was designed around: after a night in suspend the intervals have run on, so the
    // next broadcast on the wall clock is not skipped. 64 bits never wrap.
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) == 0)
        return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
    QElapsedTimer timer;
    timer.start();
    return timer.msecsSinceReference();
}

QDateTime SystemEngineClock::Now()
{
    return QDateTime::currentDateTime();
}
