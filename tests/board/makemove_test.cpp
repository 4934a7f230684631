#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "board/legality.h"
#include "board/makemove.h"
#include "board/perft.h"
#include "board/zobrist.h"
#include "board_test_util.h"
#include "eval/psq.h"

namespace {

struct EpdCase {
    std::string fen;
    std::vector<uint64_t> counts;  // counts[d - 1] for depth d
};

// Rows "fen ; D1 20 ; D2 400 ..." of the perft file.
std::vector<EpdCase> read_epd() {
    std::vector<EpdCase> cases;
    std::ifstream in(TEST_DATA_DIR "/perft.epd");
    for (std::string line; std::getline(in, line);) {
        if (line.find(" ;") == std::string::npos) continue;
        EpdCase c{line.substr(0, line.find(" ;")), {}};
        for (size_t at = line.find("; D"); at != std::string::npos; at = line.find("; D", at + 1))
            c.counts.push_back(std::stoull(line.substr(line.find(' ', at + 2) + 1)));
        cases.push_back(c);
    }
    return cases;
}

// Makes and unmakes every pseudo-legal move below pos to the given depth,
// checking that each unmake restores the record bit for bit.
void check_make_unmake(Position& pos, int depth) {
    static Position before[8];
    Move moves[MAX_MOVES];
    Move* end = generate_moves(pos, moves);
    before[depth] = pos;
    const LegalityMasks masks = legality_masks(pos, in_check(pos));
    for (Move* m = moves; m < end; ++m) {
        const bool foreseen = legal_before_make(pos, *m), settled = legal_before_make(pos, *m, masks);
        make_move(pos, *m);
        // The shortcuts must give the answer of the attack test on the move made.
        ASSERT_EQ(foreseen, legal_after_make(pos)) << move_to_str(*m);
        ASSERT_EQ(settled, legal_after_make(pos)) << move_to_str(*m);
        // The keys and score kept incrementally must equal a fresh computation.
        uint64_t key = zobrist_castling[pos.castling] ^ (pos.side == BLACK ? zobrist_side : 0);
        if (pos.ep_square != NO_SQUARE) key ^= zobrist_ep[file_of(pos.ep_square)];
        uint64_t pawn_key = 0;
        Score score = 0;
        for (int sq = 0; sq < 64; ++sq) {
            int piece = pos.board[sq];
            if (piece == NO_PIECE) continue;
            ASSERT_TRUE(pos.piece_bb[piece] & square_bb(sq));
            key ^= zobrist_piece[piece][sq];
            if (type_of(piece) == PAWN) pawn_key ^= zobrist_piece[piece][sq];
            score += psq_table[piece][sq];
        }
        ASSERT_EQ(key, pos.hash) << move_to_str(*m);
        ASSERT_EQ(pawn_key, pos.pawn_hash) << move_to_str(*m);
        ASSERT_EQ(score, pos.psq_score) << move_to_str(*m);
        ASSERT_EQ(pos.occupied, pos.color_bb[WHITE] | pos.color_bb[BLACK]);
        if (depth > 1 && legal_after_make(pos)) check_make_unmake(pos, depth - 1);
        unmake_move(pos, *m);
        ASSERT_TRUE(same_position(pos, before[depth])) << move_to_str(*m);
    }
}

}  // namespace

// The board display shows what a FEN sets up; the full-move number and the refusal are not shown.
TEST(Fen, ClocksAreReadAndBrokenPlacementsRefused) {
    EXPECT_EQ(position_from("4k3/8/8/8/8/8/8/4K3 b - - 37 112").fullmove_number, 112);
    EXPECT_GT(position_from("4k3/8/8/8/8/8/8/4K3 w - - 7 99999999999999999999").fullmove_number, 0);
    Position pos;
    for (const char* fen : {"4k3/8/8/8/8/8/8/4K2X w KQ - 5 9", "4k3/9/8/8/8/8/8/4K3 w - - 0 1",
                            "4k3/0/8/8/8/8/8/4K3 w - - 0 1", "rnbqkbnrr/8/8/8/8/8/8/4K3 w - - 0 1",
                            "8/8/8/8/8/8/8/8/k7 w - - 0 1"})
        EXPECT_FALSE(parse_fen(pos, fen)) << fen;
}

TEST(MakeMove, NullMoveRoundTripClearsEnPassant) {
    Position& pos = position_from("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
    Position copy = pos;
    make_null_move(pos);
    EXPECT_EQ(pos.ep_square, NO_SQUARE);
    EXPECT_EQ(pos.side, WHITE);
    EXPECT_EQ(pos.hash, copy.hash ^ zobrist_ep[file_of(E3)] ^ zobrist_side);
    unmake_null_move(pos);
    EXPECT_TRUE(same_position(pos, copy));
}

TEST(MakeMove, EveryMoveOfManyPositionsRestoresTheRecord) {
    for (const EpdCase& c : read_epd()) {
        Position& pos = position_from(c.fen.c_str());
        check_make_unmake(pos, 3);
    }
}

// Positions where the legality shortcuts take their rarer paths, held to the rule as above.
TEST(MakeMove, LegalityShortcutsAgreeWithTheRuleInOddPositions) {
    for (const char* fen : {
             "8/8/8/KPp4r/8/8/8/4k3 w - c6 0 1",     // en passant would bare the king along its rank
             "4k3/4b3/8/1pP5/8/K7/8/8 w - b6 0 1",   // en passant by a pinned pawn, off its pin line
             "4k3/4b3/8/2Pp4/8/K7/8/8 w - d6 0 1",   // en passant by a pinned pawn, along its pin line
             "4k3/4r3/8/8/8/8/4B3/R3K2r w Q - 0 1",  // in check, and the bishop that could block is pinned
             "3rk3/8/8/8/8/8/3Q4/3K4 w - - 0 1",     // a pinned queen moves along its pin line or not at all
             "4k3/8/8/8/8/8/8/r3K3 w - - 0 1",       // the king cannot step away along the checking rank
             "4k3/8/8/8/8/8/8/K3K2R w K - 0 1",      // two white kings, one of them castling
             "4k3/8/8/8/8/8/3q4/R7 w - - 0 1",       // no white king: nothing is legal
         }) {
        Position& pos = position_from(fen);
        check_make_unmake(pos, 2);
    }
}

TEST(Perft, EveryPublishedCountOfTheEpdFile) {
    auto cases = read_epd();
    ASSERT_EQ(cases.size(), 19u);
    for (const EpdCase& c : cases) {
        Position& pos = position_from(c.fen.c_str());
        for (size_t d = 1; d <= c.counts.size(); ++d)
            EXPECT_EQ(perft(pos, int(d)), c.counts[d - 1]) << c.fen << " depth " << d;
    }
}
