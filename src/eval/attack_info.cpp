#include "eval/attack_info.h"

#include "board/attacks.h"
#include "eval/masks.h"

void collect_attacks(const Position& pos, EvalAttacks& out) {
    const Bitboard occ = pos.occupied;
    for (int c = WHITE; c <= BLACK; ++c) {
        out.pawns[c] = pawn_attack_set(pos.piece_bb[make_piece(c, PAWN)], c);
        int n = 0;
        out.begin[c][0] = 0;
        for (Bitboard b = pos.piece_bb[make_piece(c, KNIGHT)]; b;) out.pieces[c][n++] = knight_attacks[pop_lsb(b)];
        out.begin[c][1] = n;
        for (Bitboard b = pos.piece_bb[make_piece(c, BISHOP)]; b;) out.pieces[c][n++] = bishop_attacks(pop_lsb(b), occ);
        out.begin[c][2] = n;
        for (Bitboard b = pos.piece_bb[make_piece(c, ROOK)]; b;) out.pieces[c][n++] = rook_attacks(pop_lsb(b), occ);
        out.begin[c][3] = n;
        for (Bitboard b = pos.piece_bb[make_piece(c, QUEEN)]; b;) out.pieces[c][n++] = queen_attacks(pop_lsb(b), occ);
        out.begin[c][4] = n;
    }
}
