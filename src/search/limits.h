// The limits of one `go` and the clock budget derived from them.
#pragma once

#include <cstdint>

struct SearchLimits {
    int32_t wtime;
    int32_t btime;
    int32_t winc;
    int32_t binc;
    int32_t movestogo;  // 0 = not given
    int32_t movetime;   // 0 = not given
    int32_t depth;      // 0 = no limit
    int32_t nodes;      // 0 = no limit
    uint8_t infinite;
};

constexpr int64_t NO_TIME_LIMIT = 4611686018427387903LL;  // 2^62 - 1

extern SearchLimits search_limits;  // of the running search
extern uint64_t search_start;       // tick count when the search began
extern int64_t time_soft;           // ms after which no new iteration starts
extern int64_t time_hard;           // ms after which the running search stops

struct TimeBudget {
    int64_t soft;
    int64_t hard;
};

// Soft and hard limits for the side to move: 60000 ms left and no increment
// give 2396 and 7188; a depth, node or infinite search gets NO_TIME_LIMIT.
TimeBudget allot_time(const SearchLimits& limits, int side);

// Milliseconds since search_start.
int64_t search_elapsed_ms();

// True when only a stop ends the search: infinite, with no depth or node limit.
bool search_runs_unbounded(const SearchLimits& limits);

// Set to end the running search: by its own node and time limits, or or by the
// front end on `stop`, `quit` or the end of its input.
extern volatile bool stop_search;

// Reads input that arrived while the search runs; the front end installs
// its reader, and until then the search polls nothing.
extern void (*search_poll)();
