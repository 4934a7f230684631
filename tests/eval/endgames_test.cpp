// Endings the evaluation recognises: dead draws, mates against a bare king,
// the two won patterns, the KPK lookup and the scale factors.
#include <gtest/gtest.h>

#include <string>

#include "eval/endgames.h"
#include "eval/evaluate.h"

namespace {

Position pos;

const Position& setup(const std::string& fen) {
    parse_fen(pos, fen.c_str());
    return pos;
}

int eval_fen(const std::string& fen) { return evaluate(setup(fen)); }

// The value of a placement with White and with Black to move.
int eval_white_to_move(const std::string& board) { return eval_fen(board + " w - - 0 1"); }
int eval_black_to_move(const std::string& board) { return eval_fen(board + " b - - 0 1"); }

TEST(Endgames, ExactValuesWithEitherSideToMove) {
    const struct {
        const char* board;
        int white, black;  // value with White, with Black to move
    } cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 20, 20},  // the tempo alone
        // Dead draws: bare kings, a lone minor, two knights, same-coloured bishops.
        {"4k3/8/8/8/8/8/8/4K3", 0, 0},
        {"4k3/8/8/8/8/8/8/4K1N1", 0, 0},
        {"4k3/8/8/8/8/8/8/2B1K3", 0, 0},
        {"4kb2/8/8/8/8/8/8/4K3", 0, 0},
        {"4k3/8/8/8/8/8/8/1N2K1N1", 0, 0},
        {"1n2k1n1/8/8/8/8/8/8/4K3", 0, 0},
        {"4kb2/8/8/8/8/8/8/2B1K3", 0, 0},  // dark squares c1, f8
        {"2b1k3/8/8/8/8/8/8/3BK3", 0, 0},  // light squares d1, c8
        // Opposite bishops without pawns: mirror-symmetric, so the tempo scaled by 16/256.
        {"2b1k3/8/8/8/8/8/8/2B1K3", 1, 1},
        // Kc3 and Rh2 against Ka1: 10000 + 100 (corner) + 512 + 100 (kings two apart).
        {"8/8/8/8/8/2K5/7R/k7", 10712, -10712},
        {"K7/7r/2k5/8/8/8/8/8", -10712, 10712},  // colours exchanged: Black mates
        {"8/8/8/8/7R/2K5/7R/k7", 10712 + 512, -(10712 + 512)},
        {"8/8/8/8/8/2K5/7Q/k7", 10000 + 100 + 936 + 100, -(10000 + 100 + 936 + 100)},
        {"8/8/8/8/7R/2K5/7Q/k7", 10000 + 100 + 936 + 512 + 100, -(10000 + 100 + 936 + 512 + 100)},
        {"8/8/8/8/3k4/8/8/R6K", 10592, -10592},  // centre king, kings four apart: 10000 + 20 + 512 + 60
        // Rook pawn with the wrong bishop: Bc1 is dark, a8 light; Black's h-pawn with Bf8.
        {"1k6/8/8/P7/8/8/8/2B1K3", 0, 0},
        {"4kb2/8/8/8/7p/8/8/6K1", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(eval_white_to_move(c.board), c.white) << c.board;
        EXPECT_EQ(eval_black_to_move(c.board), c.black) << c.board;
    }
    // Not dead or not the pattern: bishop and knight, two knights against one, the
    // queens' phase, a pawn beside the rook, pawns on two files beside the wrong bishop.
    EXPECT_NE(eval_white_to_move("4k3/8/8/8/8/8/8/2B1K1N1"), 0);
    EXPECT_NE(eval_white_to_move("4k1n1/8/8/8/8/8/8/1N2K1N1"), 0);
    EXPECT_LT(eval_white_to_move("8/8/8/8/7Q/2K5/7Q/k7"), 10000);
    EXPECT_LT(eval_white_to_move("8/8/8/8/8/2K5/P6R/k7"), 10000);
    EXPECT_NE(eval_white_to_move("1k6/8/8/P7/1P6/8/8/2B1K3"), 0);
    // Positions without kings still evaluate.
    EXPECT_EQ(eval_fen("8/8/8/8/8/8/8/8 w - - 0 1"), 20);
    for (const char* fen : {"8/8/8/8/4Q3/8/8/8 b - - 0 1", "8/P7/8/8/8/8/8/4K3 w - - 0 1", "7k/8/8/8/8/8/8/P7 w - - 0 1"})
        eval_fen(fen);
}

TEST(Endgames, KingAndPawnFollowTheBitbase) {
    // Kd5, Pd4 against Kd7: a draw with White to move, a win with Black to move.
    EXPECT_EQ(eval_white_to_move("8/3k4/8/3K4/3P4/8/8/8"), 0);
    const int win = eval_black_to_move("8/3k4/8/3K4/3P4/8/8/8");
    EXPECT_LT(win, -100);
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

TEST(Endgames, ScaleFactors) {
    const struct {
        const char* fen;
        int value, scale;  // the unscaled value's sign picks the stronger side
    } cases[] = {
        // Opposite bishops: 16 without pawns, then by pawn count.
        {"2b1k3/8/8/8/8/8/8/2B1K3 w - - 0 1", 20, 16},
        {"2b1k3/p7/8/8/8/8/P7/2B1K3 w - - 0 1", 20, 32},
        {"2b1k3/pp6/8/8/8/8/PPP5/2B1K3 w - - 0 1", 20, 160},  // five pawns
        {"2b1k3/pp6/8/8/8/8/P7/2B1K3 w - - 0 1", 20, 96},
        // Pawnless endings.
        {"4k3/8/8/8/8/8/8/1B2K1N1 w - - 0 1", 100, 128},   // bishop and knight against king: 6
        {"4kb2/8/8/8/8/8/8/1B2K1N1 w - - 0 1", 100, 16},   // a minor up: 3
        {"4kb2/8/8/8/8/8/8/4K2R w - - 0 1", 100, 16},      // rook against bishop: 2
        {"4kr2/8/8/8/8/8/8/4K2Q w - - 0 1", 100, 64},      // queen against rook: 4
        {"4kn2/8/8/8/8/8/8/4K2Q w - - 0 1", 100, 128},     // queen against knight: 6
        {"4kr2/8/8/8/8/8/8/R3K2Q w - - 0 1", 100, 256},    // queen and rook against rook: 9
        {"4kr2/8/8/8/8/8/8/4K1RR w - - 0 1", 100, 64},     // two rooks against one: 5
        {"4k2r/8/8/8/8/8/8/1B2K3 w - - 0 1", -100, 16},    // Black a rook up
        // Near misses of the wrong bishop: the right bishop, or the king too far from the corner.
        {"1k6/8/8/P7/8/8/8/3BK3 w - - 0 1", 100, NORMAL_SCALE},
        {"2k5/8/8/P7/8/8/8/2B1K3 w - - 0 1", 100, NORMAL_SCALE},
        {"3k4/8/8/P7/8/8/8/2B1K3 w - - 0 1", 100, NORMAL_SCALE},
    };
    for (const auto& c : cases) EXPECT_EQ(eval_scale_factor(setup(c.fen), c.value), c.scale) << c.fen;
    EXPECT_GT(eval_fen("1k6/8/8/P7/8/8/8/3BK3 w - - 0 1"), 100);
    EXPECT_GT(eval_fen("3k4/8/8/P7/8/8/8/2B1K3 w - - 0 1"), 100);
    // Tempo and bonuses are scaled with the value: bishop and knight (128/256) differ
    // by 2 * 20 tempo between the sides to move before scaling, 20 after.
    const int white = eval_white_to_move("7k/8/8/8/8/8/8/2B1K1N1");
    EXPECT_NEAR(white + eval_black_to_move("7k/8/8/8/8/8/8/2B1K1N1"), 20, 1);
    EXPECT_GT(white, 300);
}

TEST(Endgames, RookAndPawnAgainstRook) {
    const struct {
        const char* fen;
        int strong, scale;
    } cases[] = {
        // Weak king on the promotion square, strong king low, weak rook on the sixth.
        {"4k3/8/r7/4P3/4K3/8/8/7R w - - 0 1", WHITE, 0},
        {"4k3/r7/8/4P3/4K3/8/8/7R w - - 0 1", WHITE, NORMAL_SCALE},  // near miss: rook on the seventh
        {"7r/8/8/4k3/4p3/R7/8/4K3 b - - 0 1", BLACK, 0},
        // Weak king in front of the pawn, strong king two away: drawn only when the
        // strong side is not to move (it then needs three).
        {"1r6/8/8/4k3/4P3/8/2K5/7R b - - 0 1", WHITE, 0},
        {"1r6/8/8/4k3/4P3/8/2K5/7R w - - 0 1", WHITE, NORMAL_SCALE},
        {"1r6/8/8/4k3/4P3/8/8/K6R w - - 0 1", WHITE, 0},
        {"1r6/4k3/4P3/8/8/8/8/K6R w - - 0 1", WHITE, NORMAL_SCALE},  // pawn on the sixth: never
    };
    for (const auto& c : cases) EXPECT_EQ(krpkr_scale(setup(c.fen), c.strong), c.scale) << c.fen;
    EXPECT_EQ(eval_fen(cases[0].fen), 0);
    EXPECT_EQ(eval_fen(cases[2].fen), 0);
    EXPECT_GT(eval_fen(cases[1].fen), 0);
}

TEST(Endgames, WonPatternBonuses) {
    const struct {
        const char* fen;
        int bonus;
    } cases[] = {
        // Bishop and knight: the bare king in the bishop's corner scores most; kings 7 apart.
        {"7k/8/8/8/8/8/8/2B1K1N1 w - - 0 1", 200 + 10},     // dark bishop, king h8
        {"7k/8/8/8/8/8/8/4KBN1 w - - 0 1", 130 + 10},       // light bishop: h8 reads as h1
        {"2b1k1n1/8/8/8/8/8/8/K7 w - - 0 1", -(130 + 10)},  // Black's light bishop, White king a1
        // Rook and pawn on the seventh with the king in front of the rook's way.
        {"2K5/3P4/8/8/8/6k1/r7/7R w - - 0 1", 20 * (15 + 3)},
        {"8/8/8/8/6K1/8/R2p4/2k4r b - - 0 1", -20 * (15 + 3)},
        {"1K6/P7/8/8/8/6k1/r7/7R w - - 0 1", 0},   // a-pawn: not the pattern
        {"8/3P4/2K5/8/8/6k1/r7/7R w - - 0 1", 0},  // king off the eighth rank
    };
    for (const auto& c : cases) EXPECT_EQ(eval_special_endgames(setup(c.fen)), c.bonus) << c.fen;
}

}  // namespace
