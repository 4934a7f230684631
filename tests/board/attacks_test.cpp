#include <gtest/gtest.h>

#include "board/attacks.h"
#include "board/lines.h"
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

// Two squares that one slider kind connects: the line is what that slider
// reaches from either over an empty board, with both squares; between them,
// what each reaches with the other in the way.
TEST(Lines, EveryPairAgreesWithRayWalking) {
    for (int a = 0; a < 64; ++a)
        for (int b = 0; b < 64; ++b) {
            Bitboard line = 0, between = 0;
            for (auto slider : {bishop_attacks_slow, rook_attacks_slow})
                if (a != b && (slider(a, 0) & square_bb(b))) {
                    line = (slider(a, 0) & slider(b, 0)) | square_bb(a) | square_bb(b);
                    between = slider(a, square_bb(b)) & slider(b, square_bb(a));
                }
            ASSERT_EQ(LINE_THROUGH[a][b], line) << a << " " << b;
            ASSERT_EQ(BETWEEN[a][b], between) << a << " " << b;
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
