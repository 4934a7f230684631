#include <gtest/gtest.h>

#include "board/position.h"
#include "search/see.h"

namespace {

int see_of(const char* fen, int from, int to, int kind) {
    Position pos;
    parse_fen(pos, fen);
    return see(pos, make_move_value(from, to, kind));
}

TEST(StaticExchange, PawnTakesKnightDefendedByPawnWinsTwoHundred) {
    EXPECT_EQ(see_of("4k3/8/2p5/3n4/4P3/8/8/4K3 w - - 0 1", E4, D5, CAPTURE), 200);
}

TEST(StaticExchange, KnightTakesPawnDefendedByPawnLosesTwoHundred) {
    EXPECT_EQ(see_of("4k3/8/4p3/3p4/8/2N5/8/4K3 w - - 0 1", C3, D5, CAPTURE), -200);
}

TEST(StaticExchange, UndefendedPromotionPushCountsAsAPawn) {
    EXPECT_EQ(see_of("7k/P7/8/8/8/8/8/4K3 w - - 0 1", A7, A8, PROMO_QUEEN), 100);
}

TEST(StaticExchange, SliderBehindARecapturerJoinsIn) {
    // Rxd5 Rxd5 Rxd5, and then the d8 piece recaptures through the vacated d7.
    EXPECT_EQ(see_of("3r2k1/3r4/8/3p4/8/8/3R4/3R2K1 w - - 0 1", D2, D5, CAPTURE), -400);
    EXPECT_EQ(see_of("3q2k1/3r4/8/3p4/8/8/3R4/3R2K1 w - - 0 1", D2, D5, CAPTURE), -400);
    // Without the hidden d8 piece the doubled white rooks win the pawn.
    EXPECT_EQ(see_of("6k1/3r4/8/3p4/8/8/3R4/3R2K1 w - - 0 1", D2, D5, CAPTURE), 100);
}

TEST(StaticExchange, BlackCapturesAreMirrored) {
    EXPECT_EQ(see_of("4k3/8/8/4p3/3N4/2P5/8/4K3 b - - 0 1", E5, D4, CAPTURE), 200);
}

TEST(StaticExchange, EnPassantTakesAPawn) {
    // exd6 e.p., cxd6: an even trade.
    EXPECT_EQ(see_of("4k3/2p5/8/3pP3/8/8/8/4K3 w - d6 0 1", E5, D6, EN_PASSANT), 0);
}

TEST(StaticExchange, KingMayNotTakeADefendedPiece) {
    EXPECT_EQ(see_of("4k3/8/8/8/2b5/3n4/4K3/8 w - - 0 1", E2, D3, CAPTURE), 300 - 20000);
}

}  // namespace
