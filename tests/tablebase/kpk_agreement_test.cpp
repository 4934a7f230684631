#include "eval/kpk.h"
#include "tablebase/probe.h"
#include "tb_test_util.h"

namespace {

struct KpkComparison {
    int positions = 0, table_wins = 0, only_table_win = 0, only_bitbase_win = 0;
};

// Compares the evaluation's KPK bitbase with the KPvK table (built
// independently) over every legal placement, for a pawn of either colour.
KpkComparison compare_kpk() {
    load_real_tables();
    KpkComparison c;
    for (bool white_pawn : {true, false}) {
        const TbPiece strong_king{white_pawn, TB_KING}, pawn{white_pawn, TB_PAWN}, weak_king{!white_pawn, TB_KING};
        for_each_position({strong_king, pawn, weak_king}, ~Bitboard(0), [&](const TbPosition& pos) {
            Bitboard strong = white_pawn ? pos.white : pos.black;
            int sk = lsb(pos.kings & strong), p = lsb(pos.pawns), wk = lsb(pos.kings & ~strong);
            bool strong_to_move = pos.turn == white_pawn;
            int s;
            int v = tb_wdl(pos, s);
            EXPECT_NE(s, 0);
            bool table_win = v == (strong_to_move ? 2 : -2);
            bool bitbase_win = kpk_is_win(sk, p, wk, white_pawn ? WHITE : BLACK, strong_to_move);
            c.positions++;
            c.table_wins += table_win;
            c.only_table_win += table_win && !bitbase_win;
            c.only_bitbase_win += bitbase_win && !table_win;
        });
    }
    return c;
}

// The bitbase never misses a win. It does claim some drawn placements as
// wins: its classification gives a pawn side left without any move "no
// result" rather than stalemate, so a defender whose only saving line walks
// into that stalemate is scored as lost. Those are exactly 820 placements
// per pawn colour; any other disagreement is a fault in one of the two.
TEST(TbKpk, BitbaseAgreesWithTheTableBarTheStalemateTraps) {
    KpkComparison c = compare_kpk();
    EXPECT_EQ(c.positions, 2 * 331352);
    EXPECT_EQ(c.only_table_win, 0);
    EXPECT_EQ(c.only_bitbase_win, 2 * 820);
    EXPECT_GT(c.table_wins, c.positions / 2);
}

}  // namespace
