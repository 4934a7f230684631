#include <gtest/gtest.h>

#include "book/book.h"
#include "eval/psq.h"
#include "search/root.h"
#include "search/tt.h"
#include "tablebase/tablebase.h"
#include "uci/commands.h"

namespace {

TEST(GoCommand, ReadsEveryLimit) {
    SearchLimits l = parse_go("go wtime 1000 btime 2000 winc 10 binc 20 movestogo 30 movetime 40 depth 50 nodes 60");
    EXPECT_EQ(l.wtime, 1000);
    EXPECT_EQ(l.btime, 2000);
    EXPECT_EQ(l.winc, 10);
    EXPECT_EQ(l.binc, 20);
    EXPECT_EQ(l.movestogo, 30);
    EXPECT_EQ(l.movetime, 40);
    EXPECT_EQ(l.depth, 50);
    EXPECT_EQ(l.nodes, 60);
    EXPECT_EQ(l.infinite, 0);
}

TEST(GoCommand, OddForms) {
    SearchLimits bare = parse_go("go");
    EXPECT_EQ(bare.wtime + bare.btime + bare.movetime + bare.depth + bare.nodes + bare.infinite, 0);
    SearchLimits both = parse_go("go movetime 1000 depth 8");
    EXPECT_EQ(both.movetime, 1000);
    EXPECT_EQ(both.depth, 8);
    EXPECT_EQ(parse_go("go movetime1000").movetime, 1000);
    EXPECT_EQ(parse_go("go wtime").wtime, 0);
    EXPECT_EQ(parse_go("go   infinite").infinite, 1);
    EXPECT_EQ(parse_go("gox depth 3").depth, 3);
    SearchLimits noise = parse_go("go ponder searchmoves e2e4 mate 3 btime -50 depth x");
    EXPECT_EQ(noise.btime, -50);
    EXPECT_EQ(noise.depth, 0);
    EXPECT_EQ(noise.infinite, 0);
}

struct SetOption : ::testing::Test {
    void TearDown() override {
        tt_resize(256);
        multipv = 1;
        book_enabled = false;
        eval_style = STYLE_PESTO;
        psq_init();
        tb_probe_limit = 0;
    }
};

TEST_F(SetOption, HashIsClampedAndReallocates) {
    cmd_setoption("setoption name Hash value 0");
    EXPECT_EQ(tt_count, 65536u);
    cmd_setoption("setoption name Hash value 99999");
    EXPECT_EQ(tt_count, uint64_t(1) << 27);
    cmd_setoption("setoption name Hash value junk");
    EXPECT_EQ(tt_count, 65536u);
    cmd_setoption("setoption name Hash value 16");
    EXPECT_EQ(tt_count, uint64_t(1) << 20);
}

TEST_F(SetOption, MultiPvIsClamped) {
    cmd_setoption("setoption name MultiPV value 0");
    EXPECT_EQ(multipv, 1);
    cmd_setoption("setoption name MultiPV value 300");
    EXPECT_EQ(multipv, 256);
    cmd_setoption("setoption name MultiPV value 3");
    EXPECT_EQ(multipv, 3);
}

TEST_F(SetOption, OwnBookAndStyleCompareCaseSensitively) {
    cmd_setoption("setoption name OwnBook value true");
    EXPECT_TRUE(book_enabled);
    cmd_setoption("setoption name OwnBook value True");
    EXPECT_FALSE(book_enabled);
    cmd_setoption("setoption name Style value Linear");
    EXPECT_EQ(eval_style, STYLE_LINEAR);
    cmd_setoption("setoption name Style value linear");
    EXPECT_EQ(eval_style, STYLE_PESTO);
}

TEST_F(SetOption, WithoutValueOrWithUnknownNamesNothingChanges) {
    cmd_setoption("setoption name MultiPV");
    cmd_setoption("setoption name Threads value 4");
    cmd_setoption("setoption MultiPV value 4");  // no "name"
    cmd_setoption("setoption name multipv value 4");
    EXPECT_EQ(multipv, 1);
    EXPECT_EQ(tt_count, uint64_t(1) << 24);
}

TEST_F(SetOption, SyzygyPathEmptyMarkerKeepsEarlierTables) {
    tb_probe_limit = 4;
    cmd_setoption("setoption name SyzygyPath value <empty>");
    EXPECT_EQ(tb_probe_limit, 4);
    cmd_setoption("setoption name SyzygyPath value ");
    EXPECT_EQ(tb_probe_limit, 4);
}

}  // namespace
