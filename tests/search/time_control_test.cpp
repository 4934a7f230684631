#include <gtest/gtest.h>

#include "data_table.h"
#include "search/limits.h"
#include "uci/commands.h"

namespace {

TEST(GoCommand, ReadsEveryLimit) {
    SearchLimits l = parse_go("go wtime 1000 btime 2000 winc 10 binc 20 movestogo 30 movetime 40 depth 50 nodes 60");
    const int32_t got[] = {l.wtime, l.btime, l.winc, l.binc, l.movestogo, l.movetime, l.depth, l.nodes, l.infinite};
    const int32_t want[] = {1000, 2000, 10, 20, 30, 40, 50, 60, 0};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(got[i], want[i]) << i;
}

TEST(TimeControl, AllotmentOfTheTable) {
    for (const TableRow& row : read_table("time_control.txt")) {
        const TimeBudget b = allot_time(parse_go(row[1].c_str()), row[0] == "b" ? BLACK : WHITE);
        auto text = [](int64_t ms) { return ms == NO_TIME_LIMIT ? std::string("none") : std::to_string(ms); };
        EXPECT_EQ(text(b.soft) + " " + text(b.hard), row[2] + " " + row[3]) << row[0] << " " << row[1];
    }
}

}  // namespace
