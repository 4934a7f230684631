#include <gtest/gtest.h>

#include <vector>

#include "board/makemove.h"
#include "board/movegen.h"

namespace {

// Captures (with every promotion) plus quiets must be the full move list,
// the quiets in the full generator's relative order.
void check_split(Position& pos, int depth) {
    Move all[MAX_MOVES], caps[MAX_MOVES], quiets[MAX_MOVES];
    const int n_all = int(generate_moves(pos, all) - all);
    const int n_caps = int(generate_captures(pos, caps) - caps);
    const int n_quiets = int(generate_quiets(pos, quiets) - quiets);
    ASSERT_EQ(n_caps + n_quiets, n_all);
    std::vector<Move> expected;
    for (int i = 0; i < n_all; ++i)
        if (!is_capture(all[i]) && !is_promotion(all[i])) expected.push_back(all[i]);
    ASSERT_EQ(std::vector<Move>(quiets, quiets + n_quiets), expected);
    for (int i = 0; i < n_caps; ++i) ASSERT_TRUE(is_capture(caps[i]) || is_promotion(caps[i]));
    if (depth == 0) return;
    for (int i = 0; i < n_all; ++i) {
        make_move(pos, all[i]);
        if (mover_king_safe(pos)) check_split(pos, depth - 1);
        unmake_move(pos, all[i]);
    }
}

TEST(QuietGeneration, CapturesAndQuietsPartitionTheMoveList) {
    const char* fens[] = {
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "P3k3/8/8/8/8/8/8/4K2p w - - 0 1",  // pawns on the edge ranks from a broken FEN
    };
    for (const char* fen : fens) {
        SCOPED_TRACE(fen);
        Position pos;
        parse_fen(pos, fen);
        check_split(pos, 2);
    }
}

}  // namespace
