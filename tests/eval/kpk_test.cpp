// The bitbase against the real tables is in tablebase/kpk_agreement_test; here, what they cannot see.
#include <gtest/gtest.h>

#include "eval/kpk.h"

namespace {

uint8_t entry(int pawn, int side, int weak_king, int strong_king) {
    return kpk_bitbase[kpk_index(pawn, side, weak_king, strong_king)];
}

TEST(Kpk, ImpossiblePlacementsAreInvalidAndNothingIsLeftOpen) {
    for (int i = 0; i < KPK_SIZE; ++i)
        ASSERT_TRUE(kpk_bitbase[i] == KPK_INVALID || kpk_bitbase[i] == KPK_DRAW || kpk_bitbase[i] == KPK_WIN) << i;
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(entry(D4, side, E6, E6), KPK_INVALID);  // kings on one square
        EXPECT_EQ(entry(D4, side, D4, A1), KPK_INVALID);  // bare king on the pawn
        EXPECT_EQ(entry(D4, side, A8, D4), KPK_INVALID);  // strong king on the pawn
        EXPECT_EQ(entry(D4, side, E6, E5), KPK_INVALID);  // kings side by side
    }
    // Bare king in check from the pawn with the pawn's side to move; with the bare king to move
    // the check is legal, and the king takes the lone pawn.
    EXPECT_EQ(entry(D4, 0, E5, A1), KPK_INVALID);
    EXPECT_EQ(entry(D4, 1, E5, A1), KPK_DRAW);
    // A pawn on its last rank has no entry and is never a win.
    EXPECT_FALSE(kpk_is_win(A1, E8, H1, WHITE, true));
    EXPECT_FALSE(kpk_is_win(A1, E1, H1, BLACK, true));
}

}  // namespace
