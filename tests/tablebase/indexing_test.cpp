#include <set>

#include "tablebase/decompress.h"
#include "tablebase/indexing.h"
#include "tablebase/probe.h"
#include "tb_test_util.h"

namespace {

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
