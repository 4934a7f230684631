#include <gtest/gtest.h>

#include <utility>

#include "board/position.h"
#include "eval/psq.h"

namespace {

Position pos;

TEST(PieceSquare, InitialPositionSumsToZeroInBothStyles) {
    for (int style : {STYLE_LINEAR, STYLE_PESTO}) {
        eval_style = style;
        psq_init();
        parse_fen(pos, START_FEN);
        EXPECT_EQ(pos.psq_score, 0) << "style " << style;
    }
    EXPECT_EQ(eval_style, STYLE_PESTO);  // left as start-up had it
}

TEST(PieceSquare, PhaseCountsPiecesAndIsCapped) {
    const std::pair<const char*, int> cases[] = {
        {START_FEN, 24},
        {"4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 w - - 0 1", 0},
        {"r2qk2r/8/8/8/8/8/8/R2QK2R w - - 0 1", 16},
        {"rnbqkbnr/pppppppp/8/8/8/8/1PPPPPPP/QNBQKBNR w - - 0 1", 24},  // 26 points of pieces
    };
    for (const auto& [fen, phase] : cases) {
        parse_fen(pos, fen);
        EXPECT_EQ(game_phase(pos), phase) << fen;
    }
}

TEST(PieceSquare, TaperReadsTheHalvesAsPacked) {
    // Built as -7/0 the end-game half reads back as -1: the arithmetic shift.
    EXPECT_EQ(mg_value(make_score(-7, 0)), -7);
    EXPECT_EQ(eg_value(make_score(-7, 0)), -1);
    EXPECT_EQ(taper(make_score(-7, 0), 12), -4);
    // Halves that read -7 and 0 taper to -3.5, truncated toward zero.
    Score s = make_score(-7, 1);
    ASSERT_EQ(mg_value(s), -7);
    ASSERT_EQ(eg_value(s), 0);
    EXPECT_EQ(taper(s, 12), -3);
    EXPECT_EQ(taper(make_score(100, -50), 24), 100);
    EXPECT_EQ(taper(make_score(100, -50), 0), -50);
    EXPECT_EQ(taper(make_score(-100, 50), 0), 49);
    // Sums keep both halves in step.
    Score sum = make_score(-30, 40) + make_score(10, -45) - make_score(-5, 5);
    EXPECT_EQ(mg_value(sum), -15);
    EXPECT_EQ(eg_value(sum), -11);  // -10 read one lower because the mg half is negative
}

}  // namespace
