#include <gtest/gtest.h>

#include "board/types.h"
#include "search/limits.h"

namespace {

SearchLimits clock_limits(int time, int inc, int movestogo) {
    SearchLimits l{};
    l.wtime = time;
    l.winc = inc;
    l.movestogo = movestogo;
    l.btime = 777777;  // the other side's clock never matters
    l.binc = 99999;
    return l;
}

TEST(TimeControl, AllotmentExamples) {
    struct Case {
        int time, inc, movestogo;
        int64_t soft, hard;
    };
    const Case cases[] = {
        {60000, 0, 0, 2396, 7188},  {3000, 2000, 0, 1160, 1160}, {500, 0, 0, 6, 18},
        {0, 0, 0, 5, 10},           {10000, 100, 20, 570, 1710}, {120000, 1000, 40, 3747, 11241},
        {-500, 0, 0, 5, 10},  // a negative clock counts as none
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        TimeBudget b = allot_time(clock_limits(c.time, c.inc, c.movestogo), WHITE);
        EXPECT_EQ(b.soft, c.soft);
        EXPECT_EQ(b.hard, c.hard);
    }
}

TEST(TimeControl, BlackUsesItsOwnClock) {
    SearchLimits l{};
    l.wtime = 1;
    l.btime = 60000;
    TimeBudget b = allot_time(l, BLACK);
    EXPECT_EQ(b.soft, 2396);
    EXPECT_EQ(b.hard, 7188);
}

TEST(TimeControl, MovetimeKeepsTenMillisecondsInHand) {
    SearchLimits l = clock_limits(60000, 0, 0);
    l.movetime = 1000;
    TimeBudget b = allot_time(l, WHITE);
    EXPECT_EQ(b.soft, 990);
    EXPECT_EQ(b.hard, 990);
    l.movetime = 5;
    b = allot_time(l, WHITE);
    EXPECT_EQ(b.soft, -5);
    EXPECT_EQ(b.hard, -5);
}

TEST(TimeControl, DepthNodesAndInfiniteHaveNoClock) {
    SearchLimits l = clock_limits(60000, 0, 0);
    l.movetime = 1000;
    SearchLimits depth = l, nodes = l, infinite = l;
    depth.depth = 3;
    nodes.nodes = 1000;
    infinite.infinite = 1;
    for (const SearchLimits& x : {depth, nodes, infinite}) {
        TimeBudget b = allot_time(x, WHITE);
        EXPECT_EQ(b.soft, NO_TIME_LIMIT);
        EXPECT_EQ(b.hard, NO_TIME_LIMIT);
    }
}

}  // namespace
