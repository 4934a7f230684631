#include <gtest/gtest.h>

#include "board/attacks.h"
#include "board/magic_search.h"
#include "data_table.h"

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
    const std::vector<TableRow> rows = read_table("magics.txt");
    ASSERT_EQ(rows.size(), 128u);
    uint64_t saved_state = magic_rng_state;
    magic_rng_state = 0x1234567890ABCDEFULL;
    for (const TableRow& row : rows) {
        const bool rook = row[0] == "rook";
        const int sq = (row[1][0] - 'a') + 8 * (row[1][1] - '1');
        const MagicEntry& e = rook ? rook_magics[sq] : bishop_magics[sq];
        uint64_t tries = 0;
        const uint64_t magic =
            find_magic(sq, e.mask, popcount(e.mask), rook ? rook_attacks_slow : bishop_attacks_slow, &tries);
        EXPECT_EQ(magic, std::stoull(row[2], nullptr, 16)) << row[0] << " " << row[1];
        EXPECT_EQ(tries, std::stoull(row[3])) << row[0] << " " << row[1];
        EXPECT_EQ(e.magic, magic) << "start-up's " << row[0] << " " << row[1];
    }
    magic_rng_state = saved_state;
}
