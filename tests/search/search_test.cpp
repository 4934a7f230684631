#include <gtest/gtest.h>

#include "board/legality.h"
#include "board/makemove.h"
#include "search/pv.h"
#include "eval/evaluate.h"
#include "data_table.h"
#include "search/search_fixture.h"

namespace {

// Brute force over legal moves: can the side to move mate within n moves?
bool all_replies_mated(Position& pos, int n);
bool forces_mate(Position& pos, int n) {
    MoveList list;
    generate_legal_moves(pos, list);
    for (int i = 0; i < list.count; ++i) {
        make_move(pos, list.moves[i]);
        bool mates = all_replies_mated(pos, n - 1);
        unmake_move(pos, list.moves[i]);
        if (mates) return true;
    }
    return false;
}
bool all_replies_mated(Position& pos, int n) {
    MoveList list;
    generate_legal_moves(pos, list);
    if (list.count == 0) return in_check(pos);
    if (n == 0) return false;
    for (int i = 0; i < list.count; ++i) {
        make_move(pos, list.moves[i]);
        bool mated = forces_mate(pos, n);
        unmake_move(pos, list.moves[i]);
        if (!mated) return false;
    }
    return true;
}

struct SearchTest : ::testing::Test {
    void SetUp() override { reset_search_state(); }
    void TearDown() override { tt_resize(256); }
};

TEST_F(SearchTest, FindsShortestMatesWithExactScores) {
    for (const TableRow& row : read_table("mates.txt")) {
        SCOPED_TRACE(row[0]);
        const int moves = std::stoi(row[1]);
        reset_search_state();
        Position pos = position_from(row[0].c_str());
        // Late-move pruning hides some quiet mating moves from shallow non-PV nodes: search deep enough.
        FixedDepthResult r = search_fixed_depth(pos, 12);
        EXPECT_EQ(r.score, MATE - (2 * moves - 1));
        ASSERT_NE(r.move, NO_MOVE);
        make_move(pos, r.move);
        EXPECT_TRUE(all_replies_mated(pos, moves - 1)) << move_to_str(r.move);
    }
}

TEST_F(SearchTest, StalemateAndFiftyMoveRuleScoreZeroEvenWhenMated) {
    Position stalemate = position_from("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    EXPECT_EQ(search_fixed_depth(stalemate, 3).score, 0);
    prepare_quiet_search();
    Position pos = position_from("R5k1/5ppp/8/8/8/8/8/6K1 b - - 100 80");
    EXPECT_EQ(search(pos, &search_stack[ROOT_STACK_INDEX + 1], 3, -INFINITE_SCORE, INFINITE_SCORE, false, 1), 0);
    Position winning = position_from("6k1/5ppp/8/8/8/8/8/R5K1 w - - 100 80");
    EXPECT_EQ(search(winning, &search_stack[ROOT_STACK_INDEX], 3, -INFINITE_SCORE, INFINITE_SCORE, true, 0), 0);
}

TEST_F(SearchTest, RepetitionWithinTheReversibleStretchIsADraw) {
    Position pos = position_from("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1");
    const Move out = make_move_value(G1, H1, QUIET), back = make_move_value(H1, G1, QUIET);
    const Move bout = make_move_value(G8, H8, QUIET), bback = make_move_value(H8, G8, QUIET);
    make_move(pos, out);
    make_move(pos, bout);
    make_move(pos, back);
    make_move(pos, bback);  // the start position again, with White to move
    prepare_quiet_search();
    EXPECT_EQ(search(pos, &search_stack[ROOT_STACK_INDEX], 4, -INFINITE_SCORE, INFINITE_SCORE, true, 0), 0);
    EXPECT_EQ(search_stack[ROOT_STACK_INDEX].pv_length, 0);

    // Had the clock been reset two plies ago, the earlier occurrence would not count.
    pos.halfmove_clock = 3;
    EXPECT_EQ(search_fixed_depth(pos, 3).score, MATE - 1) << "mate in one is found, not a draw";
}

// After a search every field of the position is as before, and the root's
// line is legal; update_pv met no illegal line inside the tree.
TEST_F(SearchTest, LeavesThePositionUnchangedAndItsLineLegal) {
    const char* fens[] = {
        START_FEN,
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3",
    };
    pv_report_active = false;
    for (const char* fen : fens) {
        SCOPED_TRACE(fen);
        Position pos = position_from(fen);
        MoveList legal;
        generate_legal_moves(pos, legal);
        make_move(pos, legal.moves[legal.count - 1]);  // some history for the repetition test to read
        Position copy = pos;
        search_fixed_depth(pos, 7);
        EXPECT_TRUE(same_position(pos, copy));
        const StackEntry& root = search_stack[ROOT_STACK_INDEX];
        ASSERT_GT(root.pv_length, 0);
        for (int k = 0; k < root.pv_length; ++k) {
            make_move(pos, root.pv[k]);
            ASSERT_TRUE(legal_after_make(pos)) << "index " << k;
        }
    }
    EXPECT_FALSE(pv_report_active);
}

TEST_F(SearchTest, NodeLimitStopsTheSearch) {
    Position pos = position_from(START_FEN);
    prepare_quiet_search();
    search_limits.nodes = 5000;
    root_depth = 1;
    StackEntry* root = &search_stack[ROOT_STACK_INDEX];
    for (int d = 1; d <= 30 && !stop_search; ++d) search(pos, root, d, -INFINITE_SCORE, INFINITE_SCORE, true, 0);
    EXPECT_TRUE(stop_search);
    EXPECT_EQ(search_nodes, 5000u) << "every node after the limit returns before counting";
    stop_search = false;
}

TEST_F(SearchTest, QuiescenceStandsPatWithoutTouchingTheTable) {
    prepare_quiet_search();
    // White is a queen up with nothing to capture.
    Position pos = position_from("4k3/8/8/8/8/8/8/3QK3 w - - 0 1");
    StackEntry* ss = &search_stack[ROOT_STACK_INDEX];
    int s = quiescence(pos, ss, -100, 100, 0);
    EXPECT_GE(s, 100);
    EXPECT_FALSE(tt_probe(pos.hash, 0).hit);
    // Inside a wide window: stand pat stored as an upper bound with no move.
    s = quiescence(pos, ss, -INFINITE_SCORE, INFINITE_SCORE, 0);
    TTProbe probe = tt_probe(pos.hash, 0);
    ASSERT_TRUE(probe.hit);
    EXPECT_EQ(probe.bound, BOUND_UPPER);
    EXPECT_EQ(probe.move, NO_MOVE);
    EXPECT_EQ(probe.depth, 0);
    EXPECT_EQ(probe.score, s);
}

TEST_F(SearchTest, QuiescenceWinsHangingMaterial) {
    prepare_quiet_search();
    Position pos = position_from("4k3/8/8/3r4/8/8/3Q4/4K3 w - - 0 1");
    StackEntry* ss = &search_stack[ROOT_STACK_INDEX];
    int with_rook = quiescence(pos, ss, -INFINITE_SCORE, INFINITE_SCORE, 0);
    EXPECT_EQ(ss->pv_length, 1);
    EXPECT_EQ(ss->pv[0], make_move_value(D2, D5, CAPTURE));
    EXPECT_GT(with_rook, evaluate(pos) + 300) << "the rook is taken, not counted against White";
}

}  // namespace
