#include "eval/kpk.h"
#include "tablebase/probe.h"
#include "tb_test_util.h"

namespace {

// The evaluation's KPK bitbase against the KPvK table (built independently)
// over every legal placement, for a pawn of either colour. The bitbase never
// misses a win. It does claim some drawn placements as wins: it gives a pawn
// side left without any move "no result" rather than stalemate, so a defender
// whose only saving line walks into that stalemate is scored as lost. Those
// are exactly 820 placements per pawn colour; any other disagreement is a
// fault in one of the two.
TEST(TbKpk, BitbaseAgreesWithTheTableBarTheStalemateTraps) {
    load_real_tables();
    int positions = 0, table_wins = 0, only_table_win = 0, only_bitbase_win = 0;
    for (bool white_pawn : {true, false}) {
        const TbPiece strong_king{white_pawn, TB_KING}, pawn{white_pawn, TB_PAWN}, weak_king{!white_pawn, TB_KING};
        for_each_position({strong_king, pawn, weak_king}, ~Bitboard(0), [&](const TbPosition& pos) {
            Bitboard strong = white_pawn ? pos.white : pos.black;
            bool strong_to_move = pos.turn == white_pawn;
            int s;
            bool table_win = tb_wdl(pos, s) == (strong_to_move ? 2 : -2);
            EXPECT_NE(s, 0);
            bool bitbase_win = kpk_is_win(lsb(pos.kings & strong), lsb(pos.pawns), lsb(pos.kings & ~strong),
                                          white_pawn ? WHITE : BLACK, strong_to_move);
            positions++;
            table_wins += table_win;
            only_table_win += table_win && !bitbase_win;
            only_bitbase_win += bitbase_win && !table_win;
        });
    }
    EXPECT_EQ(positions, 2 * 331352);
    EXPECT_EQ(only_table_win, 0);
    EXPECT_EQ(only_bitbase_win, 2 * 820);
    EXPECT_GT(table_wins, positions / 2);
}

}  // namespace
