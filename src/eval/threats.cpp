#include "eval/terms.h"

namespace {

constexpr Score MINOR_ATTACKS_ROOK = make_score(45, 20);
constexpr Score MINOR_ATTACKS_QUEEN = make_score(50, 25);
constexpr Score PAWN_ATTACKS_MINOR = make_score(55, 30);
constexpr Score PAWN_ATTACKS_ROOK = make_score(60, 15);

}  // namespace

Score eval_threats(const Position& pos, const EvalAttacks& at, int color) {
    const int enemy = color ^ 1;
    const Bitboard rooks = pos.piece_bb[make_piece(enemy, ROOK)];
    const Bitboard queens = pos.piece_bb[make_piece(enemy, QUEEN)];
    const Bitboard minors = pos.piece_bb[make_piece(enemy, KNIGHT)] | pos.piece_bb[make_piece(enemy, BISHOP)];

    Score s = 0;
    // Knights and bishops sit side by side in the attack list.
    for (int i = first_slot(at, color, KNIGHT); i < end_slot(at, color, BISHOP); ++i) {
        if (at.pieces[color][i] & rooks) s += MINOR_ATTACKS_ROOK;
        if (at.pieces[color][i] & queens) s += MINOR_ATTACKS_QUEEN;
    }
    if (at.pawns[color] & minors) s += PAWN_ATTACKS_MINOR;
    if (at.pawns[color] & rooks) s += PAWN_ATTACKS_ROOK;
    return s;
}

Score eval_threats(const Position& pos, int color) {
    EvalAttacks at;
    collect_attacks(pos, at);
    return eval_threats(pos, at, color);
}
