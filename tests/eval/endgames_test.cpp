// Endings the evaluation recognises: dead draws, mates against a bare king,
// the two won patterns, the KPK lookup and the scale factors.
#include <gtest/gtest.h>

#include <string>

#include "eval/endgames.h"
#include "eval/evaluate.h"

namespace {

Position pos;

int eval_fen(const std::string& fen) {
    parse_fen(pos, fen.c_str());
    return evaluate(pos);
}

// The same placement with each side to move.
int eval_white_to_move(const std::string& board) { return eval_fen(board + " w - - 0 1"); }
int eval_black_to_move(const std::string& board) { return eval_fen(board + " b - - 0 1"); }

TEST(Endgames, InitialPositionIsTheTempo) {
    EXPECT_EQ(eval_fen(START_FEN), 20);
    EXPECT_EQ(eval_black_to_move("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"), 20);
}

TEST(Endgames, DeadDrawsAreExactlyZero) {
    const char* boards[] = {
        "4k3/8/8/8/8/8/8/4K3",      // kings only
        "4k3/8/8/8/8/8/8/4K1N1",    // knight
        "4k3/8/8/8/8/8/8/2B1K3",    // bishop
        "4kb2/8/8/8/8/8/8/4K3",     // black bishop
        "4k3/8/8/8/8/8/8/1N2K1N1",  // two knights
        "1n2k1n1/8/8/8/8/8/8/4K3",  // two black knights
        "4kb2/8/8/8/8/8/8/2B1K3",   // bishops on dark squares (c1, f8)
        "2b1k3/8/8/8/8/8/8/3BK3",   // bishops on light squares (d1, c8)
    };
    for (const char* b : boards) {
        EXPECT_EQ(eval_white_to_move(b), 0) << b;
        EXPECT_EQ(eval_black_to_move(b), 0) << b;
    }
    // A bishop and a knight, or two knights against a knight, are not dead.
    EXPECT_NE(eval_white_to_move("4k3/8/8/8/8/8/8/2B1K1N1"), 0);
    EXPECT_NE(eval_white_to_move("4k1n1/8/8/8/8/8/8/1N2K1N1"), 0);
}

TEST(Endgames, OppositeBishopsWithoutPawnsScaleBySixteen) {
    // c1 and c8 differ in colour; everything else is mirror-symmetric, so
    // the value before scaling is the tempo alone: 20 * 16 / 256 = 1.
    EXPECT_EQ(eval_white_to_move("2b1k3/8/8/8/8/8/8/2B1K3"), 1);
    EXPECT_EQ(eval_black_to_move("2b1k3/8/8/8/8/8/8/2B1K3"), 1);
    parse_fen(pos, "2b1k3/8/8/8/8/8/8/2B1K3 w - - 0 1");
    EXPECT_EQ(eval_scale_factor(pos, 20), 16);
    // With pawns the opposite-bishop rule itself applies.
    parse_fen(pos, "2b1k3/p7/8/8/8/8/P7/2B1K3 w - - 0 1");
    EXPECT_EQ(eval_scale_factor(pos, 20), 32);
    parse_fen(pos, "2b1k3/pp6/8/8/8/8/PPP5/2B1K3 w - - 0 1");
    EXPECT_EQ(eval_scale_factor(pos, 20), 160);  // five pawns
    parse_fen(pos, "2b1k3/pp6/8/8/8/8/P7/2B1K3 w - - 0 1");
    EXPECT_EQ(eval_scale_factor(pos, 20), 96);
}

TEST(Endgames, RooksAndQueensAgainstBareKing) {
    // Kc3 and Rh2 against Ka1: 10000 + 100 (corner) + 512 + 100 (kings two apart).
    EXPECT_EQ(eval_white_to_move("8/8/8/8/8/2K5/7R/k7"), 10712);
    EXPECT_EQ(eval_black_to_move("8/8/8/8/8/2K5/7R/k7"), -10712);
    EXPECT_EQ(eval_white_to_move("8/8/8/8/7R/2K5/7R/k7"), 10712 + 512);
    EXPECT_EQ(eval_white_to_move("8/8/8/8/8/2K5/7Q/k7"), 10000 + 100 + 936 + 100);
    EXPECT_EQ(eval_white_to_move("8/8/8/8/7R/2K5/7Q/k7"), 10000 + 100 + 936 + 512 + 100);
    // Colours exchanged: Black mates.
    EXPECT_EQ(eval_black_to_move("K7/7r/2k5/8/8/8/8/8"), 10712);
    EXPECT_EQ(eval_white_to_move("K7/7r/2k5/8/8/8/8/8"), -10712);
    // Centre king, kings four apart: 10000 + 20 + 512 + 60.
    EXPECT_EQ(eval_white_to_move("8/8/8/8/3k4/8/8/R6K"), 10592);
    // Two queens reach phase 8: evaluated normally.
    EXPECT_LT(eval_white_to_move("8/8/8/8/7Q/2K5/7Q/k7"), 10000);
    // A pawn beside the rook is no longer a bare-king mate.
    EXPECT_LT(eval_white_to_move("8/8/8/8/8/2K5/P6R/k7"), 10000);
}

TEST(Endgames, KingAndPawnFollowTheBitbase) {
    // Kd5, Pd4 against Kd7: a draw with White to move, a win with Black to move.
    EXPECT_EQ(eval_white_to_move("8/3k4/8/3K4/3P4/8/8/8"), 0);
    const int win = eval_black_to_move("8/3k4/8/3K4/3P4/8/8/8");
    EXPECT_LT(win, -100);
    parse_fen(pos, "8/3k4/8/3K4/3P4/8/8/8 b - - 0 1");
    EXPECT_EQ(eval_scale_factor(pos, 100), NORMAL_SCALE);
    // The same with colours exchanged, and moved to the e-file.
    EXPECT_EQ(eval_black_to_move("8/8/8/3p4/3k4/8/3K4/8"), 0);
    EXPECT_NEAR(eval_white_to_move("8/8/8/3p4/3k4/8/3K4/8"), win, 1);
    EXPECT_EQ(eval_white_to_move("8/4k3/8/4K3/4P3/8/8/8"), 0);
    // Rook pawn with the defender in the corner.
    EXPECT_EQ(eval_white_to_move("k7/8/K7/P7/8/8/8/8"), 0);
    EXPECT_EQ(eval_black_to_move("k7/8/PK6/8/8/8/8/8"), 0);
    EXPECT_GT(eval_white_to_move("2k5/8/2K5/2P5/8/8/8/8"), 100);
    EXPECT_LT(eval_black_to_move("2k5/8/2K5/2P5/8/8/8/8"), -100);
}

TEST(Endgames, RookPawnWithTheWrongBishop) {
    // Bc1 is dark, a8 light: the bishop never covers the corner the king holds.
    EXPECT_EQ(eval_white_to_move("1k6/8/8/P7/8/8/8/2B1K3"), 0);
    EXPECT_EQ(eval_black_to_move("1k6/8/8/P7/8/8/8/2B1K3"), 0);
    // Near misses: the right bishop, or the king too far from the corner.
    parse_fen(pos, "1k6/8/8/P7/8/8/8/3BK3 w - - 0 1");
    EXPECT_EQ(eval_scale_factor(pos, 100), NORMAL_SCALE);
    EXPECT_GT(evaluate(pos), 100);
    parse_fen(pos, "2k5/8/8/P7/8/8/8/2B1K3 w - - 0 1");
    EXPECT_EQ(eval_scale_factor(pos, 100), NORMAL_SCALE);
    parse_fen(pos, "3k4/8/8/P7/8/8/8/2B1K3 w - - 0 1");
    EXPECT_EQ(eval_scale_factor(pos, 100), NORMAL_SCALE);
    EXPECT_GT(evaluate(pos), 100);
    // Black's version: h-pawn, promotion on h1 (light), dark bishop f8.
    EXPECT_EQ(eval_black_to_move("4kb2/8/8/8/7p/8/8/6K1"), 0);
    // Pawns on two files are not covered by the rule.
    EXPECT_NE(eval_white_to_move("1k6/8/8/P7/1P6/8/8/2B1K3"), 0);
}

TEST(Endgames, RookAndPawnAgainstRook) {
    // Weak king on the promotion square, strong king low, weak rook on the sixth.
    parse_fen(pos, "4k3/8/r7/4P3/4K3/8/8/7R w - - 0 1");
    EXPECT_EQ(krpkr_scale(pos, WHITE), 0);
    EXPECT_EQ(evaluate(pos), 0);
    // Near miss: the rook on the seventh.
    parse_fen(pos, "4k3/r7/8/4P3/4K3/8/8/7R w - - 0 1");
    EXPECT_EQ(krpkr_scale(pos, WHITE), NORMAL_SCALE);
    EXPECT_GT(evaluate(pos), 0);
    // Black's pawn, seen from Black's side.
    parse_fen(pos, "7r/8/8/4k3/4p3/R7/8/4K3 b - - 0 1");
    EXPECT_EQ(krpkr_scale(pos, BLACK), 0);
    EXPECT_EQ(evaluate(pos), 0);
    // Weak king in front of the pawn, strong king two away: drawn only when
    // the strong side is not to move (it then needs three).
    parse_fen(pos, "1r6/8/8/4k3/4P3/8/2K5/7R b - - 0 1");
    EXPECT_EQ(krpkr_scale(pos, WHITE), 0);
    parse_fen(pos, "1r6/8/8/4k3/4P3/8/2K5/7R w - - 0 1");
    EXPECT_EQ(krpkr_scale(pos, WHITE), NORMAL_SCALE);
    parse_fen(pos, "1r6/8/8/4k3/4P3/8/8/K6R w - - 0 1");
    EXPECT_EQ(krpkr_scale(pos, WHITE), 0);
    // Pawn on the sixth rank: never this rule.
    parse_fen(pos, "1r6/4k3/4P3/8/8/8/8/K6R w - - 0 1");
    EXPECT_EQ(krpkr_scale(pos, WHITE), NORMAL_SCALE);
}

TEST(Endgames, PawnlessScaleFactors) {
    struct Case {
        const char* fen;
        int scale;
    };
    const Case cases[] = {
        {"4k3/8/8/8/8/8/8/1B2K1N1 w - - 0 1", 128},  // bishop and knight against king: 6
        {"4kb2/8/8/8/8/8/8/1B2K1N1 w - - 0 1", 16},  // a minor up: 3
        {"4kb2/8/8/8/8/8/8/4K2R w - - 0 1", 16},     // rook against bishop: 2
        {"4kr2/8/8/8/8/8/8/4K2Q w - - 0 1", 64},     // queen against rook: 4
        {"4kn2/8/8/8/8/8/8/4K2Q w - - 0 1", 128},    // queen against knight: 6
        {"4kr2/8/8/8/8/8/8/R3K2Q w - - 0 1", 256},   // queen and rook against rook: 9
        {"4kr2/8/8/8/8/8/8/4K1RR w - - 0 1", 64},    // two rooks against one: 5
    };
    for (const Case& c : cases) {
        parse_fen(pos, c.fen);
        EXPECT_EQ(eval_scale_factor(pos, 100), c.scale) << c.fen;
    }
    // The stronger side is chosen by the sign of the value: Black a rook up.
    parse_fen(pos, "4k2r/8/8/8/8/8/8/1B2K3 w - - 0 1");
    EXPECT_EQ(eval_scale_factor(pos, -100), 16);
}

TEST(Endgames, WonPatternBonuses) {
    // Bishop and knight: the bare king in the bishop's corner scores most.
    parse_fen(pos, "7k/8/8/8/8/8/8/2B1K1N1 w - - 0 1");  // dark bishop, king h8, kings 7 apart
    EXPECT_EQ(eval_special_endgames(pos), 200 + 10);
    parse_fen(pos, "7k/8/8/8/8/8/8/4KBN1 w - - 0 1");  // light bishop: h8 reads as h1
    EXPECT_EQ(eval_special_endgames(pos), 130 + 10);
    parse_fen(pos, "2b1k1n1/8/8/8/8/8/8/K7 w - - 0 1");  // Black's light bishop, White king a1
    EXPECT_EQ(eval_special_endgames(pos), -(130 + 10));
    // Rook and pawn on the seventh with the king in front of the rook's way.
    parse_fen(pos, "2K5/3P4/8/8/8/6k1/r7/7R w - - 0 1");
    EXPECT_EQ(eval_special_endgames(pos), 20 * (15 + 3));
    parse_fen(pos, "8/8/8/8/6K1/8/R2p4/2k4r b - - 0 1");
    EXPECT_EQ(eval_special_endgames(pos), -20 * (15 + 3));
    parse_fen(pos, "1K6/P7/8/8/8/6k1/r7/7R w - - 0 1");  // a-pawn: not the pattern
    EXPECT_EQ(eval_special_endgames(pos), 0);
    parse_fen(pos, "8/3P4/2K5/8/8/6k1/r7/7R w - - 0 1");  // king off the eighth rank
    EXPECT_EQ(eval_special_endgames(pos), 0);
}

TEST(Endgames, TempoAndBonusesAreScaledWithTheValue) {
    // Bishop and knight against king is scaled by 128/256: the two sides to
    // move differ by 2 * 20 tempo before scaling, 20 after.
    const int white = eval_white_to_move("7k/8/8/8/8/8/8/2B1K1N1");
    const int black = eval_black_to_move("7k/8/8/8/8/8/8/2B1K1N1");
    EXPECT_NEAR(white + black, 20, 1);
    EXPECT_GT(white, 300);
}

TEST(Endgames, PositionsWithoutKingsStillEvaluate) {
    EXPECT_EQ(eval_fen("8/8/8/8/8/8/8/8 w - - 0 1"), 20);
    eval_fen("8/8/8/8/4Q3/8/8/8 b - - 0 1");
    eval_fen("8/P7/8/8/8/8/8/4K3 w - - 0 1");
    eval_fen("7k/8/8/8/8/8/8/P7 w - - 0 1");
}

}  // namespace
