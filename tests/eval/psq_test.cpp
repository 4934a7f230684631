#include <gtest/gtest.h>

#include <cstring>

#include "board/makemove.h"
#include "board/movegen.h"
#include "eval/eval_corpus.h"
#include "eval/psq.h"

namespace {

Position pos, twin;

void play(Position& p, const char* text) {
    MoveList list;
    generate_legal_moves(p, list);
    for (int i = 0; i < list.count; ++i)
        if (std::strcmp(move_to_str(list.moves[i]), text) == 0) return make_move(p, list.moves[i]);
    FAIL() << "no legal move " << text;
}

TEST(PieceSquare, InitialPositionSumsToZeroInBothStyles) {
    for (int style : {STYLE_LINEAR, STYLE_PESTO}) {
        eval_style = style;
        psq_init();
        parse_fen(pos, START_FEN);
        EXPECT_EQ(pos.psq_score, 0) << "style " << style;
    }
    EXPECT_EQ(eval_style, STYLE_PESTO);  // left as start-up had it
}

TEST(PieceSquare, MirroredTwinHasTheNegatedSum) {
    int checked = 0;
    for (const std::string& fen : evaluation_corpus(1)) {
        parse_fen(pos, fen.c_str());
        parse_fen(twin, mirrored_fen(pos).c_str());
        ASSERT_EQ(twin.psq_score, -pos.psq_score) << fen;
        ++checked;
    }
    EXPECT_GT(checked, 300);
}

TEST(PieceSquare, PromotionReplacesThePawnEntry) {
    parse_fen(pos, "3r3k/4P3/8/8/8/8/8/4K3 w - - 0 1");
    Score before = pos.psq_score;
    play(pos, "e7e8q");
    EXPECT_EQ(pos.psq_score - before, psq_table[W_QUEEN][E8] - psq_table[W_PAWN][E7]);

    parse_fen(pos, "3r3k/4P3/8/8/8/8/8/4K3 w - - 0 1");
    play(pos, "e7d8n");
    EXPECT_EQ(pos.psq_score - before, psq_table[W_KNIGHT][D8] - psq_table[W_PAWN][E7] - psq_table[B_ROOK][D8]);
}

TEST(PieceSquare, PhaseCountsPiecesAndIsCapped) {
    parse_fen(pos, START_FEN);
    EXPECT_EQ(game_phase(pos), 24);
    parse_fen(pos, "4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 w - - 0 1");
    EXPECT_EQ(game_phase(pos), 0);
    parse_fen(pos, "r2qk2r/8/8/8/8/8/8/R2QK2R w - - 0 1");
    EXPECT_EQ(game_phase(pos), 16);
    parse_fen(pos, "rnbqkbnr/pppppppp/8/8/8/8/1PPPPPPP/QNBQKBNR w - - 0 1");
    EXPECT_EQ(game_phase(pos), 24);  // 26 points of pieces
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
