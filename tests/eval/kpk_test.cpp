// The bitbase against the real tables is in tablebase/kpk_agreement_test; here, its build against
// the plain classification and what the tables cannot see.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "eval/kpk.h"

namespace {

uint8_t entry(int pawn, int side, int weak_king, int strong_king) {
    return kpk_bitbase[kpk_index(pawn, side, weak_king, strong_king)];
}

// The start-up build settles whole sets of placements at once; it must agree byte for byte with
// plain repeated passes of kpk_classify over the table.
TEST(Kpk, MatchesRepeatedClassificationPasses) {
    const std::vector<uint8_t> built(kpk_bitbase, kpk_bitbase + KPK_SIZE);
    std::fill(kpk_bitbase, kpk_bitbase + KPK_SIZE, KPK_UNKNOWN);
    int passes = 0;
    for (bool changed = true; changed; ++passes) {
        changed = false;
        for (int p = A2; p <= H7; ++p)  // pawns on files a-d: the bitbase mirrors the others
            for (int s = 0; s < 64 && file_of(p) < 4; ++s)
                for (int w = 0; w < 64; ++w)
                    for (int side = 0; side < 2; ++side) {
                        uint8_t& slot = kpk_bitbase[kpk_index(p, side, w, s)];
                        if (slot != KPK_UNKNOWN) continue;
                        slot = kpk_classify(s, w, side, p);
                        changed |= slot != KPK_UNKNOWN;
                    }
    }
    std::replace(kpk_bitbase, kpk_bitbase + KPK_SIZE, uint8_t(KPK_UNKNOWN), uint8_t(KPK_DRAW));
    const std::vector<uint8_t> reference(kpk_bitbase, kpk_bitbase + KPK_SIZE);
    std::copy(built.begin(), built.end(), kpk_bitbase);
    EXPECT_GT(passes, 10);
    EXPECT_TRUE(built == reference);
    EXPECT_GT(std::count(built.begin(), built.end(), KPK_WIN), 50000);
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
