#include <set>

#include "tablebase/decompress.h"
#include "tablebase/indexing.h"
#include "tablebase/probe.h"
#include "tb_test_util.h"

namespace {

// Size of one mapped table, found through a probe that maps the file.
uint64_t table_size(const char* name, int side, int t, TbPosition pos) {
    int success;
    tb_lookup(pos, 0, success, TB_WDL);
    TbEntry* e = entry_of(name);
    if (!e || !e->ready[TB_WDL]) return 0;
    TbCodebook* cb = tb_encoding(*e, TB_WDL, side, t).codebook;
    return cb ? cb->size : 0;
}

TEST(TbIndexing, TableSizes) {
    load_real_tables();
    TbPosition pos;
    int kqk[] = {0, 9, 63};
    ASSERT_TRUE(build(pos, {WK, WQ, BK}, kqk, true));
    EXPECT_EQ(table_size("KQvK", 0, 0, pos), 31332u);
    int kqqk[] = {0, 9, 10, 63};
    ASSERT_TRUE(build(pos, {WK, WQ, WQ, BK}, kqqk, true));
    EXPECT_EQ(table_size("KQQvK", 0, 0, pos), 873642u);
    int kpk[] = {0, 9, 63};
    ASSERT_TRUE(build(pos, {WK, WP, BK}, kpk, true));
    for (int t = 0; t < 4; t++) EXPECT_EQ(table_size("KPvK", 0, t, pos), 23436u) << "file group " << t;
}

TEST(TbIndexing, KingPairs) {
    EXPECT_EQ(tb_kk_index[tb_triangle[B1]][D1], 0);
    EXPECT_EQ(tb_kk_index[tb_triangle[B1]][H8], 57);
    EXPECT_EQ(tb_kk_index[tb_triangle[A1]][C3], 441);
    EXPECT_EQ(tb_kk_index[tb_triangle[D4]][H8], 461);
    EXPECT_EQ(tb_kk_index[tb_triangle[B1]][C2], -1);  // adjacent
    std::set<int> numbers;
    for (const auto& row : tb_kk_index)
        for (int v : row)
            if (v >= 0) numbers.insert(v);
    EXPECT_EQ(numbers.size(), 462u);
    EXPECT_EQ(*numbers.rbegin(), 461);
    // First pass: a diagonal first king takes second kings below the diagonal only.
    EXPECT_EQ(tb_kk_index[tb_triangle[A1]][B3], -1);
    EXPECT_LT(tb_kk_index[tb_triangle[A1]][C2], 441);
}

TEST(TbIndexing, SquareTables) {
    EXPECT_EQ(tb_triangle[B1], 0);
    EXPECT_EQ(tb_triangle[D4], 9);
    EXPECT_EQ(tb_triangle[E5], 9);
    EXPECT_EQ(tb_triangle[H8], 6);
    EXPECT_EQ(tb_triangle[A2], 0);
    EXPECT_EQ(tb_lower_triangle[B1], 0);
    EXPECT_EQ(tb_lower_triangle[H1], 6);
    EXPECT_EQ(tb_lower_triangle[C2], 7);
    EXPECT_EQ(tb_lower_triangle[H7], 27);
    EXPECT_EQ(tb_lower_triangle[A1], 28);
    EXPECT_EQ(tb_lower_triangle[H8], 35);
    EXPECT_EQ(tb_lower_triangle[A2], 0);
    EXPECT_EQ(tb_diag[H1], 8);
    EXPECT_EQ(tb_diag[A8], 15);
    EXPECT_EQ(tb_diag[C1], 0);
    EXPECT_EQ(tb_pawn_order[E7], 0);
    EXPECT_EQ(tb_pawn_order[D7], 1);
    EXPECT_EQ(tb_pawn_order[E6], 2);
    EXPECT_EQ(tb_pawn_order[D2], 11);
    EXPECT_EQ(tb_pawn_order[F7], 12);
    EXPECT_EQ(tb_pawn_order[A2], 47);
    EXPECT_EQ(tb_lead_slot[A2], 0);
    EXPECT_EQ(tb_lead_slot[H7], 5);
    EXPECT_EQ(tb_lead_slot[E2], 18);
    EXPECT_EQ(tb_pawn_factor[0][2], 6u);
    EXPECT_EQ(tb_binomial[2][62], 1891u);
    EXPECT_EQ(tb_binomial[3][2], 0u);
    EXPECT_EQ(tb_binomial[0][0], 1u);
}

// First-group index of three unique pieces, factor 1, no further groups.
uint64_t three_piece_index(int a, int b, int c) {
    TbEntry entry{};
    entry.num = 3;
    TbEncoding enc{};
    enc.factor[0] = 1;
    int sq[] = {a, b, c};
    return tb_position_index(sq, enc, entry, false);
}

TEST(TbIndexing, WorkedExamples) {
    EXPECT_EQ(three_piece_index(E4, A8, H1), 31326u);
    EXPECT_EQ(three_piece_index(G6, D5, A1), 13887u);
    // A piece on the diagonal never decides the transposition; the first piece off it does.
    EXPECT_EQ(three_piece_index(A1, B3, C1), three_piece_index(A1, C2, A3));
}

// Every placement of KQvK (three unique pieces) and of KPvK lands inside
// its table, and every index of the table is reached.
TEST(TbIndexing, ThreePieceIndexesCoverTheirTables) {
    TbEntry piece{};
    piece.num = 3;
    TbEncoding enc{};
    enc.factor[0] = 1;
    std::vector<bool> hit(31332);
    for (int a = 0; a < 64; a++)
        for (int b = 0; b < 64; b++)
            for (int c = 0; c < 64; c++) {
                if (a == b || a == c || b == c) continue;
                int sq[] = {a, b, c};
                uint64_t idx = tb_position_index(sq, enc, piece, false);
                ASSERT_LT(idx, 31332u);
                hit[idx] = true;
            }
    EXPECT_EQ(std::count(hit.begin(), hit.end(), false), 0);

    TbEntry pawn{};
    pawn.num = 3;
    pawn.has_pawns = true;
    pawn.pawn_count[0] = 1;
    for (int t = 0; t < 4; t++) {
        TbEncoding penc{};
        uint8_t record[] = {0, 1, 6, 14};  // order 0; white pawn, white king, black king
        ASSERT_EQ(tb_read_encoding(penc, pawn, record, 0, t), 23436u);
        std::vector<bool> seen(23436);
        for (int p = 8; p < 56; p++) {
            if (tb_file_group[p & 7] != t) continue;
            for (int a = 0; a < 64; a++)
                for (int b = 0; b < 64; b++) {
                    if (a == b || a == p || b == p) continue;
                    int sq[] = {p, a, b};
                    uint64_t idx = tb_position_index(sq, penc, pawn, true);
                    ASSERT_LT(idx, 23436u);
                    seen[idx] = true;
                }
        }
        EXPECT_EQ(std::count(seen.begin(), seen.end(), false), 0) << "file group " << t;
    }
}

TEST(TbIndexing, KingPairTableWithTwoLikePieces) {
    TbEntry e{};
    e.num = 4;
    e.kk_enc = true;
    TbEncoding enc{};
    uint8_t record[] = {0, 6, 14, 5, 5};  // kings first, then two queens
    ASSERT_EQ(tb_read_encoding(enc, e, record, 0, 0), 873642u);
    EXPECT_EQ(enc.norm[0], 2);
    EXPECT_EQ(enc.norm[2], 2);
    EXPECT_EQ(enc.factor[0], 1u);
    EXPECT_EQ(enc.factor[2], 462u);
    int sq[] = {A1, C3, D4, B7};
    EXPECT_LT(tb_position_index(sq, enc, e, false), 873642u);
    int adjacent[] = {A1, B2, D4, B7};
    EXPECT_EQ(tb_position_index(adjacent, enc, e, false), TB_NO_INDEX);
    // An order past the last group does not describe this signature.
    uint8_t broken[] = {5, 6, 14, 5, 5};
    EXPECT_EQ(tb_read_encoding(enc, e, broken, 0, 0), 0u);
}

}  // namespace
