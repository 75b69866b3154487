// Prints the schedule's tick and the monotonic clock, in milliseconds: "<tick> <monotonic>".

#include "app/EngineClock.h"

#include <cstdio>
#include <time.h>

int main()
{
    timespec monotonic{};
    clock_gettime(CLOCK_MONOTONIC, &monotonic);
    SystemEngineClock clock;
    std::printf("%lld %lld\n", static_cast<long long>(clock.TickMs()),
                static_cast<long long>(monotonic.tv_sec) * 1000 + monotonic.tv_nsec / 1000000);
    return 0;
}
