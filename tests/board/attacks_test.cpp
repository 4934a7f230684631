#include <gtest/gtest.h>

#include "board/attacks.h"
#include "board/magic_search.h"

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
    struct Known {
        bool rook;
        int sq;
        uint64_t magic, tries;
    };
    // Each search draws where the one before stopped: bishops a1..h8, then rooks.
    constexpr Known KNOWN[] = {
        {false, A1, 0x4020011001010028ULL, 9592},
        {true, A1, 0x0180042210400480ULL, 4951},
        {true, H8, 0x1000030144241082ULL, 119477},
    };
    uint64_t saved_state = magic_rng_state;
    magic_rng_state = 0x1234567890ABCDEFULL;
    uint64_t tries[2][64];
    for (int rook = 0; rook < 2; ++rook)
        for (int sq = 0; sq < 64; ++sq) {
            const MagicEntry& e = rook ? rook_magics[sq] : bishop_magics[sq];
            auto slow = rook ? rook_attacks_slow : bishop_attacks_slow;
            EXPECT_EQ(find_magic(sq, e.mask, popcount(e.mask), slow, &tries[rook][sq]), e.magic) << rook << " " << sq;
        }
    magic_rng_state = saved_state;
    for (const Known& k : KNOWN) {
        EXPECT_EQ((k.rook ? rook_magics : bishop_magics)[k.sq].magic, k.magic) << k.rook << " " << k.sq;
        EXPECT_EQ(tries[k.rook][k.sq], k.tries) << k.rook << " " << k.sq;
    }
}
