#include <sys/time.h>

#include <ctime>

#include "platform/clock.h"

uint64_t tick_ms() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint64_t(ts.tv_sec) * 1000 + uint64_t(ts.tv_nsec) / 1000000;
}

LocalTimeOfDay local_time_of_day() {
    timeval tv;
    gettimeofday(&tv, nullptr);
    time_t seconds = tv.tv_sec;
    tm local;
    localtime_r(&seconds, &local);
    return {local.tm_hour, local.tm_min, local.tm_sec, int(tv.tv_usec / 1000)};
}
