// The root choice relation; the chosen moves of many positions are in the TbUci transcripts.
#include "tablebase/probe.h"
#include "tablebase/root.h"
#include "tablebase/tablebase.h"
#include "tb_test_util.h"

namespace {

Position& root_position(const char* fen) {
    static Position pos;
    EXPECT_TRUE(parse_fen(pos, fen)) << fen;
    return pos;
}

// KQvK has no zeroing wins bar mates: the chosen move leaves the opponent the losing child with
// the smallest distance.
TEST(TbRoot, QueenEndingPlaysTheFastestWinningMove) {
    load_real_tables();
    Position& pos = root_position("8/8/8/8/8/2k5/8/KQ6 w - - 0 1");
    Move m;
    ASSERT_TRUE(tb_root_move(pos, m));
    TbPosition root = tb_position_from(pos, 0), next;
    TbMove moves[TB_MAX_MOVES];
    int chosen = 0, fastest = INT32_MIN, s;
    for (TbMove* t = moves, *end = tb_gen_legal(root, moves); t < end; t++) {
        tb_do_move(next, root, *t);
        if (tb_wdl(next, s) != -2) continue;
        int dtz = tb_dtz(next, s);
        fastest = std::max(fastest, dtz);
        if (tb_move_from(*t) == move_from(m) && tb_move_to(*t) == move_to(m)) chosen = dtz;
    }
    EXPECT_EQ(chosen, fastest);
    EXPECT_LT(chosen, -1);
}

// Without the DTZ file (which the option's pairing check would refuse) the root gives up quietly,
// while WDL still answers; so does a position with more pieces than any table.
TEST(TbRoot, MissingTablesFailQuietly) {
    ScratchDir dir;
    dir.copy_real("KQvK.rtbw");
    tb_load(dir.str().c_str());
    Move m = 5;
    bool ok;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(tb_root_move(root_position("8/8/8/8/8/2k5/8/KQ6 w - - 0 1"), m));
    EXPECT_EQ(m, NO_MOVE);
    EXPECT_EQ(tb_probe_wdl(root_position("8/8/8/8/8/2k5/8/KQ6 w - - 0 1"), ok), 2);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(tb_root_move(root_position("8/8/8/8/8/2k5/8/KQR5 w - - 0 1"), m));
    tb_probe_wdl(root_position("8/8/8/8/8/2k5/8/KQR5 w - - 0 1"), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
