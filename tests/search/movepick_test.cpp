#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "board/legality.h"
#include "board/makemove.h"
#include "search/history.h"
#include "search/movepick.h"
#include "search/see.h"

namespace {

const char* const ORDER_FENS[] = {
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "r1bqkbnr/pppp1ppp/2n5/4p3/3PP3/5N2/PPP2PPP/RNBQKB1R b KQkq d3 0 3",
};

std::vector<Move> drain(MovePicker& picker, const Position& pos, bool skip_quiets = false) {
    std::vector<Move> out;
    for (Move m; (m = picker_next(picker, pos, skip_quiets)) != NO_MOVE;) out.push_back(m);
    return out;
}

std::vector<Move> sorted(std::vector<Move> v) {
    std::sort(v.begin(), v.end());
    return v;
}

std::vector<Move> all_moves(const Position& pos) {
    Move buffer[MAX_MOVES];
    return std::vector<Move>(buffer, generate_moves(pos, buffer));
}

bool quiet(Move m) { return !is_capture(m) && !is_promotion(m); }

// Class of a move in the picker's order after the hash move: captures (and, out of check,
// promotions) winning material, then in check the quiet promotions, the quiets, and last the
// losing captures.
int stage_of(const Position& pos, Move m, bool evasions) {
    if (quiet(m)) return 2;
    if (evasions && !is_capture(m)) return 1;
    return see(pos, m) >= 0 ? 0 : 3;
}

// Every pseudo-legal move exactly once: the hash move first, then the classes in order, the
// killer leading the quiets and, out of check, exchange values falling within each capture class.
void check_order(const Position& pos, const std::vector<Move>& got, Move hash, Move killer, bool evasions) {
    ASSERT_EQ(sorted(got), sorted(all_moves(pos)));
    EXPECT_EQ(got[0], hash);
    for (size_t i = 2; i < got.size(); ++i) {
        const int before = stage_of(pos, got[i - 1], evasions), now = stage_of(pos, got[i], evasions);
        EXPECT_LE(before, now) << move_to_str(got[i]);
        if (!evasions && before == now && now != 2) {
            EXPECT_GE(see(pos, got[i - 1]), see(pos, got[i])) << move_to_str(got[i]);
        }
    }
    EXPECT_EQ(*std::find_if(got.begin() + 1, got.end(), quiet), killer) << "the killer leads the quiet moves";
}

struct MovePickerTest : ::testing::Test {
    void SetUp() override { clear_search_tables(); }
    void TearDown() override { clear_search_tables(); }
};

TEST_F(MovePickerTest, StagesComeInOrderAndCoverEveryMoveOnce) {
    for (const char* fen : ORDER_FENS) {
        SCOPED_TRACE(fen);
        Position pos;
        parse_fen(pos, fen);
        Move hash = NO_MOVE, killer = NO_MOVE;
        for (Move m : all_moves(pos))
            if (quiet(m)) (hash ? killer : hash) = m;
        killers[3][0] = killer;
        MovePicker picker;
        picker_init(picker, hash, 3, NO_PIECE, 0, false);
        check_order(pos, drain(picker, pos), hash, killer, false);
    }
}

// A capture as hash move comes once; implausible hash moves are dropped and the captures follow at once.
TEST_F(MovePickerTest, HashMoveIsCheckedAndNeverRepeated) {
    Position pos;
    parse_fen(pos, ORDER_FENS[0]);
    const Move hash = make_move_value(E5, D7, CAPTURE);  // d7 holds a black pawn: plausible
    MovePicker picker;
    picker_init(picker, hash, 0, NO_PIECE, 0, false);
    std::vector<Move> got = drain(picker, pos);
    EXPECT_EQ(got[0], hash);
    EXPECT_EQ(std::count(got.begin(), got.end(), hash), 1);
    EXPECT_EQ(got.size(), all_moves(pos).size());
    const Move implausible[] = {
        make_move_value(A4, A5, QUIET),    // empty from-square
        make_move_value(A8, A7, QUIET),    // enemy piece on it
        make_move_value(E5, C6, CAPTURE),  // nothing to capture
        make_move_value(E5, F7, QUIET),    // quiet move onto an occupied square
    };
    for (Move m : implausible) {
        picker_init(picker, m, 0, NO_PIECE, 0, false);
        Move first = picker_next(picker, pos, false);
        EXPECT_TRUE(first != m && is_capture(first)) << move_to_str(m);
        EXPECT_EQ(picker.hash_move, NO_MOVE);
    }
    // skip_quiets leaves only the captures, the bad ones still last.
    picker_init(picker, NO_MOVE, 0, NO_PIECE, 0, false);
    got = drain(picker, pos, true);
    int captures = 0;
    for (Move m : all_moves(pos)) captures += !quiet(m);
    EXPECT_EQ(int(got.size()), captures);
    for (Move m : got) EXPECT_FALSE(quiet(m));
    EXPECT_LT(see(pos, got.back()), 0);
}

TEST_F(MovePickerTest, QuietsFollowCounterMoveThenHistoryThenGenerationOrder) {
    Position pos;
    parse_fen(pos, "4k3/8/8/8/8/8/1P6/R3K1N1 w Q - 0 1");
    MovePicker picker;
    picker_init(picker, NO_MOVE, 0, NO_PIECE, 0, false);
    Move buffer[MAX_MOVES];
    EXPECT_EQ(drain(picker, pos), std::vector<Move>(buffer, generate_quiets(pos, buffer)));

    const Move counter = make_move_value(A1, A5, QUIET);
    counter_moves[B_KING][E8] = counter;
    quiet_history[WHITE][G1][H3] = 500;
    picker_init(picker, NO_MOVE, 0, B_KING, E8, false);
    std::vector<Move> got = drain(picker, pos);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[0], counter);
    EXPECT_EQ(got[1], make_move_value(G1, H3, QUIET));
}

TEST_F(MovePickerTest, EvasionsComeInOneScoredList) {
    Position pos;
    // White king in check; Rxh5 wins a pawn, Qxf3 loses the queen to gxf3, b8 promotes.
    parse_fen(pos, "4r1k1/1P6/8/7p/6p1/5n2/8/3QK2R w K - 0 1");
    ASSERT_TRUE(in_check(pos));
    const Move hash = make_move_value(E1, F2, QUIET), killer = make_move_value(E1, F1, QUIET);
    killers[2][0] = killer;
    MovePicker picker;
    picker_init(picker, hash, 2, NO_PIECE, 0, true);
    EXPECT_EQ(picker.stage, STAGE_GEN_EVASIONS);
    check_order(pos, drain(picker, pos), hash, killer, true);
}

// Captures (with every promotion) plus quiets are the full move list, the
// quiets in the full generator's relative order; checked two plies deep.
void check_split(Position& pos, int depth) {
    std::vector<Move> all = all_moves(pos), expected;
    Move caps[MAX_MOVES], quiets[MAX_MOVES];
    const Move* caps_end = generate_captures(pos, caps);
    for (Move m : all)
        if (quiet(m)) expected.push_back(m);
    ASSERT_EQ(std::vector<Move>(quiets, generate_quiets(pos, quiets)), expected);
    ASSERT_EQ(caps_end - caps + expected.size(), all.size());
    for (const Move* m = caps; m < caps_end; ++m) ASSERT_FALSE(quiet(*m));
    if (depth == 0) return;
    for (Move m : all) {
        make_move(pos, m);
        if (legal_after_make(pos)) check_split(pos, depth - 1);
        unmake_move(pos, m);
    }
}

TEST(QuietGeneration, CapturesAndQuietsPartitionTheMoveList) {
    for (const char* fen : {ORDER_FENS[0], ORDER_FENS[1], ORDER_FENS[2], "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
                            "P3k3/8/8/8/8/8/8/4K2p w - - 0 1"}) {  // the last: pawns on edge ranks from a broken FEN
        SCOPED_TRACE(fen);
        Position pos;
        parse_fen(pos, fen);
        check_split(pos, 2);
    }
}

}  // namespace
