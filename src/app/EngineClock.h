#pragma once

#include <QDateTime>

// The two clocks of the schedule: a monotonic millisecond counter (intervals) and the wall clock
// (active hours, the minutes on which broadcasts fall, status stamps). Tests drive their own.
class IEngineClock
{
public:
    virtual ~IEngineClock() = default;
    // Milliseconds since the system started, suspended time included; never goes back.
    virtual qint64 TickMs() = 0;
    // The current local time.
    virtual QDateTime Now() = 0;
};

class SystemEngineClock final : public IEngineClock
{
public:
    qint64 TickMs() override;
    QDateTime Now() override;
};
