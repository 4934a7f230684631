#include "board/movegen.h"
#include "tablebase/probe.h"
#include "tablebase/root.h"
#include "tablebase/tablebase.h"
#include "tb_test_util.h"

namespace {

struct RootCase {
    Position pos;
    explicit RootCase(const char* fen) { EXPECT_TRUE(parse_fen(pos, fen)) << fen; }
};

// KQvK has no zeroing wins bar mates: the chosen move leaves the opponent
// the losing child with the smallest distance.
TEST(TbRoot, QueenEndingPlaysTheFastestWinningMove) {
    load_real_tables();
    RootCase c("8/8/8/8/8/2k5/8/KQ6 w - - 0 1");
    Move m;
    ASSERT_TRUE(tb_root_move(c.pos, m));
    TbPosition root = tb_position_from(c.pos, 0), next;
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

TEST(TbRoot, MateInOneIsChosen) {
    load_real_tables();
    for (const char* fen : {"k7/8/1K6/8/8/8/7Q/8 w - - 0 1", "8/8/8/8/8/5k2/8/4K2Q b - - 0 1",
                            "7k/8/6K1/8/8/8/8/R7 w - - 0 1", "k7/3N4/1K6/5B2/8/8/8/8 w - - 0 1"}) {
        RootCase c(fen);
        Move m;
        ASSERT_TRUE(tb_root_move(c.pos, m)) << fen;
        TbPosition after;
        tb_do_move(after, tb_position_from(c.pos, 0), tb_make_move(move_from(m), move_to(m), 0));
        if (c.pos.side == WHITE) {
            EXPECT_TRUE(tb_is_mate(after)) << fen << " " << move_to_str(m);
        }
    }
}

TEST(TbRoot, DrawingMoveRankDependsOnMaterialAndSideOnly) {
    load_real_tables();
    // Bare knight: every legal move draws. The rank is the key modulo their number.
    for (const char* fen : {"8/8/8/4k3/8/8/8/KN6 w - - 0 1", "8/8/8/8/1N6/8/5k2/K7 w - - 0 1",
                            "8/8/8/4k3/8/8/8/KN6 b - - 0 1"}) {
        RootCase c(fen);
        TbPosition root = tb_position_from(c.pos, 0);
        TbMove moves[TB_MAX_MOVES];
        TbMove* end = tb_gen_legal(root, moves);
        int n = int(end - moves);
        int dtz;
        uint16_t r = tb_rank_root_moves(root, dtz);
        EXPECT_EQ(dtz, 0);
        uint64_t key = tb_material_key(root, !root.turn);
        EXPECT_EQ(r, moves[key % uint64_t(n)]) << fen;
        Move m;
        ASSERT_TRUE(tb_root_move(c.pos, m));
        EXPECT_EQ(move_from(m), tb_move_from(r));
        EXPECT_EQ(move_to(m), tb_move_to(r));
    }
}

TEST(TbRoot, NoLegalMoveLeavesTheChoiceToTheSearch) {
    load_real_tables();
    TbPosition mated = tb_position_from(RootCase("k7/1Q6/1K6/8/8/8/8/8 b - - 0 1").pos, 0);
    int dtz;
    EXPECT_EQ(tb_rank_root_moves(mated, dtz), TB_CHECKMATE);
    TbPosition stalemated = tb_position_from(RootCase("k7/8/1Q6/8/8/8/8/7K b - - 0 1").pos, 0);
    EXPECT_EQ(tb_rank_root_moves(stalemated, dtz), TB_STALEMATE);
    for (const char* fen : {"k7/1Q6/1K6/8/8/8/8/8 b - - 0 1", "k7/8/1Q6/8/8/8/8/7K b - - 0 1"}) {
        RootCase c(fen);
        Move m = 123;
        EXPECT_TRUE(tb_root_move(c.pos, m));
        EXPECT_EQ(m, NO_MOVE);
    }
}

TEST(TbRoot, FiftyMoveCounterDoesNotChangeTheChoice) {
    load_real_tables();
    for (const char* fen : {"8/8/8/8/8/2k5/8/KQ6 w - - %d 1", "8/8/4k3/8/8/8/3PK3/8 w - - %d 1",
                            "8/8/2k5/8/8/8/1R6/4K3 w - - %d 1", "8/6k1/8/8/8/8/3PK3/8 b - - %d 1"}) {
        char a[100], b[100];
        std::snprintf(a, sizeof a, fen, 0);
        std::snprintf(b, sizeof b, fen, 90);
        RootCase ca(a), cb(b);
        Move ma, mb;
        ASSERT_TRUE(tb_root_move(ca.pos, ma));
        ASSERT_TRUE(tb_root_move(cb.pos, mb));
        EXPECT_EQ(ma, mb) << fen;
    }
}

TEST(TbRoot, MoveKindsComeBackAsEngineMoves) {
    load_real_tables();
    struct Case {
        const char* fen;
        int from, to, kind;
    };
    const Case cases[] = {
        {"7k/8/8/3pP3/8/8/8/4K3 w - d6 0 2", E5, D6, EN_PASSANT},
        {"8/2P5/8/8/8/8/k7/4K3 w - - 0 1", C7, C8, PROMO_QUEEN},
        {"1r6/2P5/8/8/8/8/k7/4K3 w - - 0 1", C7, B8, PROMO_CAPTURE_QUEEN},
        {"8/8/8/8/8/8/k3P3/4K3 w - - 0 1", E2, E3, QUIET},  // both steps win (1): generation order picks e3
    };
    for (const Case& c : cases) {
        RootCase root(c.fen);
        Move m;
        ASSERT_TRUE(tb_root_move(root.pos, m)) << c.fen;
        EXPECT_EQ(m, make_move_value(c.from, c.to, c.kind)) << c.fen << " " << move_to_str(m);
    }
}

TEST(TbRoot, MissingTablesFailQuietly) {
    ScratchDir dir;
    dir.copy_real("KQvK.rtbw");  // no DTZ file
    tb_load(dir.str().c_str());
    RootCase c("8/8/8/8/8/2k5/8/KQ6 w - - 0 1");
    Move m = 5;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(tb_root_move(c.pos, m));
    EXPECT_EQ(m, NO_MOVE);
    bool ok;
    EXPECT_EQ(tb_probe_wdl(c.pos, ok), 2);
    EXPECT_TRUE(ok);
    RootCase more("8/8/8/8/8/2k5/8/KQR5 w - - 0 1");
    EXPECT_FALSE(tb_root_move(more.pos, m));
    tb_probe_wdl(more.pos, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
