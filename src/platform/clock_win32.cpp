#include <windows.h>

#include "platform/clock.h"

uint64_t tick_ms() { return GetTickCount64(); }

LocalTimeOfDay local_time_of_day() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}
