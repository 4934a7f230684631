#include "eval/attack_terms.h"

#include "board/attacks.h"
#include "eval/attack_weights.h"
#include "eval/masks.h"

namespace {

// What one colour's pieces are measured against.
struct Targets {
    Bitboard occupied;
    Bitboard enemy_zone;  // squares next to the enemy king
    Bitboard mobility_area;
    Bitboard enemy_rooks, enemy_queens;
};

// The attacks of every piece of one kind, by ascending square, with the
// mobility, threats and king-zone units they earn.
template <int Type>
void score_kind(EvalAttacks& out, int c, Bitboard pieces, const Targets& t) {
    constexpr int k = Type - KNIGHT;
    Bitboard all = 0;
    int hits = 0;
    Score mobility = 0, threats = 0;
    if constexpr (Type == QUEEN) out.first_queen[c] = 0;
    for (bool first = true; pieces; first = false) {
        const int sq = pop_lsb(pieces);
        const Bitboard a = Type == KNIGHT   ? knight_attacks[sq]
                           : Type == BISHOP ? bishop_attacks(sq, t.occupied)
                           : Type == ROOK   ? rook_attacks(sq, t.occupied)
                                            : queen_attacks(sq, t.occupied);
        all |= a;
        hits += (a & t.enemy_zone) != 0;
        mobility += mobility_bonus<Type>(popcount(a & t.mobility_area));
        if constexpr (Type == KNIGHT || Type == BISHOP) threats += minor_threats(a, t.enemy_rooks, t.enemy_queens);
        if constexpr (Type == QUEEN)
            if (first) out.first_queen[c] = a;
    }
    out.by_kind[c][k] = all;
    out.zone_units[c] += ZONE_UNITS<Type> * hits;
    out.mobility[c] += mobility;
    out.threats[c] += threats;
}

// Bit f set when b has a square on file f.
int occupied_files(Bitboard b) {
    b |= b >> 32;
    b |= b >> 16;
    b |= b >> 8;
    return int(b & 0xFF);
}

}  // namespace

void score_attack_terms(const Position& pos, EvalAttacks& out) {
    out.pawns[WHITE] = pawn_attack_set(pos.piece_bb[W_PAWN], WHITE);
    out.pawns[BLACK] = pawn_attack_set(pos.piece_bb[B_PAWN], BLACK);
    for (int c = WHITE; c <= BLACK; ++c) {
        const Bitboard* own = pieces_of(pos, c);
        const Bitboard* enemy = pieces_of(pos, c ^ 1);
        const Targets t{pos.occupied, enemy[KING] ? king_attacks[lsb(enemy[KING])] : 0,
                        ~(own[PAWN] | own[KING] | out.pawns[c ^ 1]), enemy[ROOK], enemy[QUEEN]};
        out.pawn_files[c] = occupied_files(own[PAWN]);
        out.zone_units[c] = 0;
        out.mobility[c] = 0;
        out.threats[c] = pawn_threats(out.pawns[c], enemy[KNIGHT] | enemy[BISHOP], enemy[ROOK]);
        score_kind<KNIGHT>(out, c, own[KNIGHT], t);
        score_kind<BISHOP>(out, c, own[BISHOP], t);
        score_kind<ROOK>(out, c, own[ROOK], t);
        score_kind<QUEEN>(out, c, own[QUEEN], t);
    }
}
