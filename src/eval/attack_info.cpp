#include "eval/attack_info.h"

#include "board/attacks.h"
#include "eval/masks.h"

namespace {

// Stores the attacks of every piece of one kind and returns the next free slot.
template <typename AttackFn>
int collect_kind(EvalAttacks& out, int c, int type, Bitboard pieces, Bitboard enemy_zone, int n, AttackFn attacks_of) {
    const int k = type - KNIGHT;
    Bitboard all = 0;
    int hits = 0;
    out.begin[c][k] = n;
    while (pieces) {
        const Bitboard a = attacks_of(pop_lsb(pieces));
        out.pieces[c][n++] = a;
        all |= a;
        hits += (a & enemy_zone) != 0;
    }
    out.by_kind[c][k] = all;
    out.zone_hits[c][k] = hits;
    return n;
}

}  // namespace

void collect_attacks(const Position& pos, EvalAttacks& out) {
    const Bitboard occ = pos.occupied;
    for (int c = WHITE; c <= BLACK; ++c) {
        const Bitboard* own = pieces_of(pos, c);
        const Bitboard enemy_king = pos.piece_bb[make_piece(c ^ 1, KING)];
        const Bitboard enemy_zone = enemy_king ? king_attacks[lsb(enemy_king)] : 0;
        out.pawns[c] = pawn_attack_set(own[PAWN], c);
        int n = collect_kind(out, c, KNIGHT, own[KNIGHT], enemy_zone, 0, [](int sq) { return knight_attacks[sq]; });
        n = collect_kind(out, c, BISHOP, own[BISHOP], enemy_zone, n, [occ](int sq) { return bishop_attacks(sq, occ); });
        n = collect_kind(out, c, ROOK, own[ROOK], enemy_zone, n, [occ](int sq) { return rook_attacks(sq, occ); });
        n = collect_kind(out, c, QUEEN, own[QUEEN], enemy_zone, n, [occ](int sq) { return queen_attacks(sq, occ); });
        out.begin[c][4] = n;
    }
}
