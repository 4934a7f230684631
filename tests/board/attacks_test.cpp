#include <gtest/gtest.h>

#include "board/attacks.h"

namespace {

Bitboard squares(std::initializer_list<int> list) {
    Bitboard b = 0;
    for (int sq : list) b |= square_bb(sq);
    return b;
}

}  // namespace

TEST(Attacks, LeaperTables) {
    EXPECT_EQ(pawn_attacks[WHITE][A2], squares({B3}));
    EXPECT_EQ(pawn_attacks[BLACK][H7], squares({G6}));
    EXPECT_EQ(pawn_attacks[WHITE][E8], 0u);
    EXPECT_EQ(pawn_attacks[BLACK][E1], 0u);
    EXPECT_EQ(pawn_attacks[WHITE][E4], squares({D5, F5}));
    EXPECT_EQ(knight_attacks[A1], squares({B3, C2}));
    EXPECT_EQ(popcount(knight_attacks[E4]), 8);
    EXPECT_EQ(king_attacks[A1], squares({A2, B1, B2}));
    EXPECT_EQ(popcount(king_attacks[E4]), 8);
}

TEST(Attacks, SliderLookupsAgreeWithRayWalking) {
    EXPECT_EQ(rook_attacks(A1, squares({B1, A2})), squares({B1, A2}));
    EXPECT_EQ(popcount(rook_attacks(A1, 0)), 14);
    EXPECT_EQ(popcount(bishop_attacks(D4, 0)), 13);
    EXPECT_EQ(piece_attacks(6, E4, WHITE, 0), 0u);
    EXPECT_EQ(piece_attacks(QUEEN, D4, WHITE, 0), rook_attacks(D4, 0) | bishop_attacks(D4, 0));
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

TEST(Attacks, MaskSizesAndSliceLayout) {
    EXPECT_EQ(popcount(rook_magics[A1].mask), 12);
    EXPECT_EQ(popcount(rook_magics[D4].mask), 10);
    EXPECT_EQ(popcount(bishop_magics[A1].mask), 6);
    EXPECT_EQ(popcount(bishop_magics[D4].mask), 9);
    EXPECT_EQ(bishop_magics[A1].attacks, bishop_table);
    EXPECT_EQ(rook_magics[A1].attacks, rook_table);
    EXPECT_EQ(bishop_magics[H8].attacks + (size_t(1) << popcount(bishop_magics[H8].mask)), bishop_table + 5248);
    EXPECT_EQ(rook_magics[H8].attacks + (size_t(1) << popcount(rook_magics[H8].mask)), rook_table + 102400);
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
    EXPECT_EQ(tries_after[1][A1], 4951u);
    EXPECT_EQ(rook_magics[H8].magic, 0x1000030144241082ULL);
    EXPECT_EQ(tries_after[1][H8], 119477u);
}
