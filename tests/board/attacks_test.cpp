#include <gtest/gtest.h>

#include "board/attacks.h"

TEST(Attacks, SliderLookupsAgreeWithRayWalking) {
    EXPECT_EQ(piece_attacks(QUEEN, D4, WHITE, 0), rook_attacks(D4, 0) | bishop_attacks(D4, 0));
    EXPECT_EQ(piece_attacks(6, E4, WHITE, 0), 0u);
    // Pseudo-random occupancies on every square.
    uint64_t x = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < 20000; ++i) {
        x ^= x << 13, x ^= x >> 7, x ^= x << 17;
        int sq = int(x % 64);
        Bitboard occ = x & (x >> 3) & (x >> 11);
        ASSERT_EQ(bishop_attacks(sq, occ), bishop_attacks_slow(sq, occ)) << sq;
        ASSERT_EQ(rook_attacks(sq, occ), rook_attacks_slow(sq, occ)) << sq;
    }
}

TEST(Attacks, MagicSearchFromTheFixedSeedFindsTheKnownMultipliers) {
    uint64_t saved_state = magic_rng_state;
    magic_rng_state = 0x1234567890ABCDEFULL;
    uint64_t tries = 0, tries_after[2][64];  // cumulative, bishops first
    for (int rook = 0; rook < 2; ++rook)
        for (int sq = 0; sq < 64; ++sq) {
            const MagicEntry& e = rook ? rook_magics[sq] : bishop_magics[sq];
            auto slow = rook ? rook_attacks_slow : bishop_attacks_slow;
            EXPECT_EQ(find_magic(sq, e.mask, popcount(e.mask), slow, &tries), e.magic) << rook << " " << sq;
            tries_after[rook][sq] = tries;
        }
    magic_rng_state = saved_state;
    EXPECT_EQ(bishop_magics[A1].magic, 0x4020011001010028ULL);
    EXPECT_EQ(tries_after[0][A1], 9592u);
    EXPECT_EQ(rook_magics[A1].magic, 0x0180042210400480ULL);
    EXPECT_EQ(tries_after[1][H8], 119477u);
}
