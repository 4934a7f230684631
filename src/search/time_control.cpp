#include "search/limits.h"

#include <algorithm>

#include "board/types.h"
#include "platform/clock.h"

SearchLimits search_limits{};
uint64_t search_start = 0;
int64_t time_soft = NO_TIME_LIMIT;
int64_t time_hard = NO_TIME_LIMIT;

namespace {
constexpr int64_t MOVE_OVERHEAD = 10;  // kept in hand for the reply to reach the interface
}

TimeBudget allot_time(const SearchLimits& limits, int side) {
    if (limits.infinite || limits.depth > 0 || limits.nodes > 0) return {NO_TIME_LIMIT, NO_TIME_LIMIT};
    if (limits.movetime > 0) return {limits.movetime - MOVE_OVERHEAD, limits.movetime - MOVE_OVERHEAD};
    const int64_t time = side == WHITE ? limits.wtime : limits.btime;
    const int32_t inc = side == WHITE ? limits.winc : limits.binc;
    int64_t t = (time > 0 ? time : 100) - 100;
    if (t < 10) t = 10;
    int64_t mtg = limits.movestogo > 0 ? limits.movestogo : t < 1000 ? 60 : t < 5000 ? 40 : t < 15000 ? 30 : 25;
    // 3 * inc in 32 bits, as the clock protocol's numbers are 32-bit.
    int64_t base = t / mtg + int64_t(int32_t(uint32_t(3) * uint32_t(inc)) / 4);
    int64_t hard = std::min((2 * t) / 5, 3 * base);
    return {std::max(std::min(base, hard), int64_t(5)), std::max(hard, int64_t(10))};
}

int64_t search_elapsed_ms() { return int64_t(tick_ms() - search_start); }

bool search_runs_unbounded(const SearchLimits& limits) {
    return limits.infinite && limits.depth <= 0 && limits.nodes <= 0;
}

volatile bool stop_search = false;
void (*search_poll)() = [] {};
