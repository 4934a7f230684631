#include <gtest/gtest.h>

#include "board/types.h"
#include "search/limits.h"

namespace {

TEST(TimeControl, AllotmentExamples) {
    struct Case {
        int time, inc, movestogo, movetime;
        int64_t soft, hard;
    };
    const Case cases[] = {
        {60000, 0, 0, 0, 2396, 7188},   {3000, 2000, 0, 0, 1160, 1160},     {500, 0, 0, 0, 6, 18},
        {0, 0, 0, 0, 5, 10},            {10000, 100, 20, 0, 570, 1710},     {120000, 1000, 40, 0, 3747, 11241},
        {-500, 0, 0, 0, 5, 10},  // a negative clock counts as none
        {60000, 0, 0, 1000, 990, 990},  {60000, 0, 0, 5, -5, -5},  // movetime keeps 10 ms in hand
    };
    for (const Case& c : cases)
        for (Color side : {WHITE, BLACK}) {
            SCOPED_TRACE(testing::Message() << c.time << " movetime " << c.movetime << " side " << side);
            // Only the mover's clock counts.
            SearchLimits l{};
            (side == WHITE ? l.wtime : l.btime) = c.time;
            (side == WHITE ? l.winc : l.binc) = c.inc;
            (side == WHITE ? l.btime : l.wtime) = 777777;
            (side == WHITE ? l.binc : l.winc) = 99999;
            l.movestogo = c.movestogo;
            l.movetime = c.movetime;
            TimeBudget b = allot_time(l, side);
            EXPECT_EQ(b.soft, c.soft);
            EXPECT_EQ(b.hard, c.hard);
        }
}

TEST(TimeControl, DepthNodesAndInfiniteHaveNoClock) {
    for (int which = 0; which < 3; ++which) {
        SearchLimits l{};
        l.wtime = 60000;
        l.movetime = 1000;
        l.depth = which == 0 ? 3 : 0;
        l.nodes = which == 1 ? 1000 : 0;
        l.infinite = which == 2;
        TimeBudget b = allot_time(l, WHITE);
        EXPECT_EQ(b.soft, NO_TIME_LIMIT);
        EXPECT_EQ(b.hard, NO_TIME_LIMIT);
    }
}

}  // namespace
