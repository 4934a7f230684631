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

// DTZ score of one engine move from the mover's view, as the ranking defines it.
int score_of(Position& pos, Move m) {
    TbPosition root = tb_position_from(pos, pos.halfmove_clock);
    TbPosition next;
    TbMove tm = tb_make_move(move_from(m), move_to(m), 0);
    if (is_promotion(m)) {
        static constexpr int BY_TYPE[5] = {0, TB_PROMOTE_KNIGHT, TB_PROMOTE_BISHOP, TB_PROMOTE_ROOK, TB_PROMOTE_QUEEN};
        tm = tb_make_move(move_from(m), move_to(m), BY_TYPE[promotion_type(m)]);
    }
    EXPECT_TRUE(tb_do_move(next, root, tm));
    if (tb_is_mate(next)) return 1;
    int s, v;
    if (next.rule50) {
        v = -tb_dtz(next, s);
        v += v > 0 ? 1 : v < 0 ? -1 : 0;
    } else {
        v = TB_ZEROING_DTZ[-tb_wdl(next, s) + 2];
    }
    EXPECT_NE(s, 0);
    return v;
}

TEST(TbRoot, QueenEndingPlaysTheFastestWinningMove) {
    load_real_tables();
    RootCase c("8/8/8/8/8/2k5/8/KQ6 w - - 0 1");
    Move m;
    ASSERT_TRUE(tb_root_move(c.pos, m));
    ASSERT_NE(m, NO_MOVE);
    MoveList legal;
    generate_legal_moves(c.pos, legal);
    int chosen = score_of(c.pos, m), best = INT32_MAX;
    for (int i = 0; i < legal.count; i++) {
        int v = score_of(c.pos, legal.moves[i]);
        if (v > 0) best = std::min(best, v);
    }
    EXPECT_EQ(chosen, best);
    EXPECT_GT(chosen, 1);
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

TEST(TbRoot, LosingSideDelaysAsLongAsPossible) {
    load_real_tables();
    RootCase c("8/8/8/8/8/2k5/8/KQ6 b - - 0 1");
    Move m;
    ASSERT_TRUE(tb_root_move(c.pos, m));
    MoveList legal;
    generate_legal_moves(c.pos, legal);
    int worst = 0;
    for (int i = 0; i < legal.count; i++) worst = std::min(worst, score_of(c.pos, legal.moves[i]));
    EXPECT_EQ(score_of(c.pos, m), worst);
    EXPECT_LT(worst, -1);
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

TEST(TbRoot, EnPassantComesBackAsTheEngineMove) {
    load_real_tables();
    RootCase c("7k/8/8/3pP3/8/8/8/4K3 w - d6 0 2");
    Move m;
    ASSERT_TRUE(tb_root_move(c.pos, m));
    EXPECT_EQ(move_kind(m), EN_PASSANT);
    EXPECT_EQ(move_from(m), E5);
    EXPECT_EQ(move_to(m), D6);
}

TEST(TbRoot, PromotionAndDoublePushKinds) {
    load_real_tables();
    RootCase promo("8/2P5/8/8/8/8/k7/4K3 w - - 0 1");
    Move m;
    ASSERT_TRUE(tb_root_move(promo.pos, m));
    EXPECT_EQ(move_kind(m), PROMO_QUEEN);
    RootCase capture_promo("1r6/2P5/8/8/8/8/k7/4K3 w - - 0 1");
    ASSERT_TRUE(tb_root_move(capture_promo.pos, m));
    EXPECT_EQ(move_kind(m), PROMO_CAPTURE_QUEEN);
    EXPECT_EQ(move_to(m), B8);
    // Only the double step wins here (the single one lets the king catch the pawn).
    RootCase push("8/8/8/8/8/8/k3P3/4K3 w - - 0 1");
    ASSERT_TRUE(tb_root_move(push.pos, m));
    int score = score_of(push.pos, m);
    EXPECT_EQ(score, 1);
    EXPECT_EQ(move_kind(m), move_to(m) == E4 ? DOUBLE_PUSH : QUIET);
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
