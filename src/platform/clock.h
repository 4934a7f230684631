// Time services: a monotonic millisecond tick counter for search timing,
// and the local time of day for the protocol log's stamps.
#pragma once

#include <cstdint>

uint64_t tick_ms();

struct LocalTimeOfDay {
    int hour, minute, second, millisecond;
};
LocalTimeOfDay local_time_of_day();
