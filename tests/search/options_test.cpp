#include <gtest/gtest.h>

#include "book/book.h"
#include "eval/psq.h"
#include "search/root.h"
#include "search/tt.h"
#include "tablebase/tablebase.h"
#include "uci/commands.h"

namespace {

TEST(GoCommand, ReadsEveryLimitAndSkipsNoise) {
    SearchLimits l = parse_go("go wtime 1000 btime 2000 winc 10 binc 20 movestogo 30 movetime 40 depth 50 nodes 60");
    const int32_t got[] = {l.wtime, l.btime, l.winc, l.binc, l.movestogo, l.movetime, l.depth, l.nodes, l.infinite};
    const int32_t want[] = {1000, 2000, 10, 20, 30, 40, 50, 60, 0};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(got[i], want[i]) << i;

    SearchLimits bare = parse_go("go");
    EXPECT_EQ(bare.wtime + bare.btime + bare.movetime + bare.depth + bare.nodes + bare.infinite, 0);
    EXPECT_EQ(parse_go("go movetime 1000 depth 8").depth, 8);
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

TEST_F(SetOption, ValuesAreClampedAndComparedCaseSensitively) {
    const std::pair<const char*, uint64_t> hash[] = {{"0", 65536}, {"99999", 1ULL << 27}, {"junk", 65536}, {"16", 1ULL << 20}};
    for (auto [value, count] : hash) {
        cmd_setoption((std::string("setoption name Hash value ") + value).c_str());
        EXPECT_EQ(tt_count, count) << value;
    }
    const std::pair<const char*, int> lines[] = {{"0", 1}, {"300", 256}, {"3", 3}};
    for (auto [value, expected] : lines) {
        cmd_setoption((std::string("setoption name MultiPV value ") + value).c_str());
        EXPECT_EQ(multipv, expected) << value;
    }
    cmd_setoption("setoption name OwnBook value true");
    EXPECT_TRUE(book_enabled);
    cmd_setoption("setoption name OwnBook value True");
    EXPECT_FALSE(book_enabled);
    cmd_setoption("setoption name Style value Linear");
    EXPECT_EQ(eval_style, STYLE_LINEAR);
    cmd_setoption("setoption name Style value linear");
    EXPECT_EQ(eval_style, STYLE_PESTO);
}

TEST_F(SetOption, MissingValuesUnknownNamesAndEmptySyzygyPathChangeNothing) {
    for (const char* line : {"setoption name MultiPV", "setoption name Threads value 4", "setoption MultiPV value 4",
                             "setoption name multipv value 4"})
        cmd_setoption(line);
    EXPECT_EQ(multipv, 1);
    EXPECT_EQ(tt_count, uint64_t(1) << 24);
    tb_probe_limit = 4;
    cmd_setoption("setoption name SyzygyPath value <empty>");
    cmd_setoption("setoption name SyzygyPath value ");
    EXPECT_EQ(tb_probe_limit, 4);
}

}  // namespace
