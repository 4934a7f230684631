#include "eval/terms.h"

namespace {

constexpr Score PAWN_ATTACKS_MINOR = make_score(55, 30);
constexpr Score PAWN_ATTACKS_ROOK = make_score(60, 15);

}  // namespace

Score eval_threats(const Position& pos, const EvalAttacks& at, int color) {
    const int enemy = color ^ 1;
    const Bitboard minors = pos.piece_bb[make_piece(enemy, KNIGHT)] | pos.piece_bb[make_piece(enemy, BISHOP)];
    Score s = at.minor_threats[color];
    if (at.pawns[color] & minors) s += PAWN_ATTACKS_MINOR;
    if (at.pawns[color] & pos.piece_bb[make_piece(enemy, ROOK)]) s += PAWN_ATTACKS_ROOK;
    return s;
}

Score eval_threats(const Position& pos, int color) {
    EvalAttacks at;
    collect_attacks(pos, at);
    return eval_threats(pos, at, color);
}
