#include "eval/masks.h"
#include "eval/terms.h"

namespace {

// Knight and bishop bonuses on an outpost: [supported][on a rim file].
constexpr Score KNIGHT_OUTPOST[2][2] = {{make_score(15, 8), make_score(10, 5)},
                                        {make_score(30, 18), make_score(20, 12)}};
constexpr Score BISHOP_OUTPOST[2][2] = {{make_score(10, 5), make_score(6, 3)}, {make_score(20, 12), make_score(14, 8)}};
constexpr Score BLOCKED_PAWN_PER_BISHOP = make_score(-4, -6);

constexpr Bitboard RIM_FILES = FILE_A_BB | FILE_H_BB;

Score outpost_bonus(Bitboard pieces, Bitboard holes, Bitboard support, const Score (&table)[2][2]) {
    Score s = 0;
    for (Bitboard b = pieces & holes; b;) {
        Bitboard bit = square_bb(pop_lsb(b));
        s += table[(support & bit) != 0][(RIM_FILES & bit) != 0];
    }
    return s;
}

}  // namespace

Score eval_outposts(const Position& pos, const EvalAttacks& at, int color) {
    const int enemy = color ^ 1;
    const Bitboard outpost_ranks =
        color == WHITE ? rank_bb(3) | rank_bb(4) | rank_bb(5) : rank_bb(4) | rank_bb(3) | rank_bb(2);
    // Squares an enemy pawn attacks now or could attack after advancing.
    const Bitboard enemy_span = color == WHITE ? fill_down(at.pawns[BLACK]) : fill_up(at.pawns[WHITE]);
    const Bitboard holes = outpost_ranks & ~enemy_span;
    const Bitboard knights = pos.piece_bb[make_piece(color, KNIGHT)];
    const Bitboard bishops = pos.piece_bb[make_piece(color, BISHOP)];

    Score s = outpost_bonus(knights, holes, at.pawns[color], KNIGHT_OUTPOST) +
              outpost_bonus(bishops, holes, at.pawns[color], BISHOP_OUTPOST);

    // Own pawns with an enemy pawn right in front of them.
    const Bitboard blocked =
        pos.piece_bb[make_piece(color, PAWN)] & shift_up(pos.piece_bb[make_piece(enemy, PAWN)], enemy);
    if (blocked && bishops) {
        const int on_dark = popcount(blocked & DARK_SQUARES), on_light = popcount(blocked & ~DARK_SQUARES);
        s += BLOCKED_PAWN_PER_BISHOP *
             (popcount(bishops & DARK_SQUARES) * on_light + popcount(bishops & ~DARK_SQUARES) * on_dark);
    }
    return s;
}
