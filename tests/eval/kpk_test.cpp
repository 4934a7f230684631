#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "eval/kpk.h"

namespace {

uint8_t entry(int pawn, int side, int weak_king, int strong_king) {
    return kpk_bitbase[kpk_index(pawn, side, weak_king, strong_king)];
}

TEST(Kpk, NothingLeftOpenAfterTheBuild) {
    for (int i = 0; i < KPK_SIZE; ++i)
        ASSERT_TRUE(kpk_bitbase[i] == KPK_INVALID || kpk_bitbase[i] == KPK_DRAW || kpk_bitbase[i] == KPK_WIN) << i;
}

// The start-up build settles whole sets of placements at once; it must agree
// byte for byte with plain repeated passes of kpk_classify over the table.
TEST(Kpk, MatchesRepeatedClassificationPasses) {
    std::vector<uint8_t> built(kpk_bitbase, kpk_bitbase + KPK_SIZE);
    std::fill(kpk_bitbase, kpk_bitbase + KPK_SIZE, KPK_UNKNOWN);
    int passes = 0;
    for (bool changed = true; changed; ++passes) {
        changed = false;
        for (int file = 0; file < 4; ++file)
            for (int rank = 1; rank <= 6; ++rank)
                for (int s = 0; s < 64; ++s)
                    for (int w = 0; w < 64; ++w)
                        for (int side = 0; side < 2; ++side) {
                            int p = make_square(file, rank);
                            uint8_t& slot = kpk_bitbase[kpk_index(p, side, w, s)];
                            if (slot != KPK_UNKNOWN) continue;
                            uint8_t v = kpk_classify(s, w, side, p);
                            if (v != KPK_UNKNOWN) {
                                slot = v;
                                changed = true;
                            }
                        }
    }
    std::replace(kpk_bitbase, kpk_bitbase + KPK_SIZE, uint8_t(KPK_UNKNOWN), uint8_t(KPK_DRAW));
    std::vector<uint8_t> reference(kpk_bitbase, kpk_bitbase + KPK_SIZE);
    std::copy(built.begin(), built.end(), kpk_bitbase);

    EXPECT_GT(passes, 10);
    int mismatches = 0;
    for (int i = 0; i < KPK_SIZE; ++i) mismatches += built[i] != reference[i];
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(std::count(built.begin(), built.end(), KPK_WIN), 50000);
}

TEST(Kpk, ImpossiblePlacementsAreInvalid) {
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(entry(D4, side, E6, E6), KPK_INVALID);  // kings on one square
        EXPECT_EQ(entry(D4, side, D4, A1), KPK_INVALID);  // bare king on the pawn
        EXPECT_EQ(entry(D4, side, A8, D4), KPK_INVALID);  // strong king on the pawn
        EXPECT_EQ(entry(D4, side, E6, E5), KPK_INVALID);  // kings side by side
        EXPECT_EQ(entry(D4, side, F7, E6), KPK_INVALID);
    }
    // Bare king in check from the pawn with the pawn's side to move.
    EXPECT_EQ(entry(D4, 0, E5, A1), KPK_INVALID);
    // With the bare king to move the check is legal, and the king takes the lone pawn.
    EXPECT_EQ(entry(D4, 1, E5, A1), KPK_DRAW);
}

TEST(Kpk, KnownPlacementsInEveryOrientation) {
    const struct {
        int sk, p, wk;
        bool strong_to_move, win;
    } cases[] = {
        {D5, D4, D7, true, false},  // White Kd5, Pd4 against Kd7: opposition decides
        {D5, D4, D7, false, true},
        {C6, C5, C8, true, true},  // Kc6, Pc5 against Kc8 wins whoever moves
        {C6, C5, C8, false, true},
        {A6, A5, A8, true, false},  // rook pawns with the defender in the corner
        {B6, A6, A8, false, false},
        {B5, C4, H8, true, true},
    };
    // Mirrored files, and the colour-swapped twins for Black.
    for (const auto& c : cases)
        for (int flip : {0, 7, 56, 63})
            EXPECT_EQ(kpk_is_win(c.sk ^ flip, c.p ^ flip, c.wk ^ flip, flip >= 56 ? BLACK : WHITE, c.strong_to_move),
                      c.win)
                << c.sk << " " << c.p << " " << c.wk << " flip " << flip;
    EXPECT_EQ(entry(A6, 1, A8, B6), KPK_DRAW);
    // A pawn on its last rank has no entry and is never a win.
    EXPECT_FALSE(kpk_is_win(A1, E8, H1, WHITE, true));
    EXPECT_FALSE(kpk_is_win(A1, E1, H1, BLACK, true));
}

}  // namespace
