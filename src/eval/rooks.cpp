#include "eval/masks.h"
#include "eval/terms.h"

namespace {

constexpr Score ROOK_HALF_OPEN_FILE = make_score(20, 13);
constexpr Score ROOK_OPEN_FILE = make_score(47, 26);
constexpr Score ROOK_ON_SEVENTH = make_score(27, 33);

}  // namespace

Score eval_rooks(const Position& pos, int color) {
    const int enemy = color ^ 1;
    const Bitboard own_pawns = pos.piece_bb[make_piece(color, PAWN)];
    const Bitboard enemy_pawns = pos.piece_bb[make_piece(enemy, PAWN)];
    const Bitboard seventh = rank_bb(color == WHITE ? 6 : 1), eighth = rank_bb(color == WHITE ? 7 : 0);
    const bool seventh_has_targets = (pos.piece_bb[make_piece(enemy, KING)] & eighth) || (enemy_pawns & seventh);

    Score s = 0;
    for (Bitboard b = pos.piece_bb[make_piece(color, ROOK)]; b;) {
        const int sq = pop_lsb(b);
        const Bitboard file = file_bb(file_of(sq));
        if (!(own_pawns & file)) s += (enemy_pawns & file) ? ROOK_HALF_OPEN_FILE : ROOK_OPEN_FILE;
        if ((seventh & square_bb(sq)) && seventh_has_targets) s += ROOK_ON_SEVENTH;
    }
    return s;
}
