#include "app/EngineClock.h"

#include <QElapsedTimer>

qint64 SystemEngineClock::TickMs()
{
    // The monotonic clock counts from the system's start, like the tick counter the schedule was
    // designed around; 64 bits never wrap.
    QElapsedTimer timer;
    timer.start();
    return timer.msecsSinceReference();
}

QDateTime SystemEngineClock::Now()
{
    return QDateTime::currentDateTime();
}
