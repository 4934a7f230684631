#include <algorithm>
#include <iterator>

#include "eval/terms.h"

namespace {

#define S make_score
// By number of reachable squares in the mobility area; counts past the end use the last entry.
constexpr Score KNIGHT_MOBILITY[] = {S(-62, -79), S(-53, -57), S(-12, -31), S(-3, -17), S(3, 7),
                                     S(12, 13),   S(21, 16),   S(28, 21),   S(37, 25)};
constexpr Score BISHOP_MOBILITY[] = {S(-47, -59), S(-20, -25), S(14, -8), S(29, 12), S(39, 21), S(53, 40), S(53, 56),
                                     S(60, 58),   S(62, 65),   S(69, 72), S(78, 78), S(83, 87), S(91, 88), S(96, 98)};
constexpr Score ROOK_MOBILITY[] = {S(-60, -82), S(-24, -15), S(0, 17),   S(3, 43),   S(4, 72),
                                   S(14, 100),  S(20, 102),  S(30, 122), S(41, 133), S(41, 139),
                                   S(41, 153),  S(45, 160),  S(57, 165), S(58, 170), S(67, 175)};
constexpr Score QUEEN_MOBILITY[] = {S(-29, -18), S(-16, -5), S(-8, 8), S(-8, 13), S(-7, 16), S(-7, 23), S(-4, 20),
                                    S(0, 21),    S(2, 21),   S(4, 28), S(6, 25),  S(6, 28),  S(7, 25),  S(7, 28),
                                    S(7, 28),    S(7, 28),   S(7, 28), S(7, 28),  S(7, 28),  S(7, 28),  S(7, 28),
                                    S(7, 28),    S(7, 28),   S(7, 28), S(7, 28),  S(7, 28),  S(7, 28),  S(7, 28)};
#undef S

static_assert(std::size(KNIGHT_MOBILITY) == 9 && std::size(BISHOP_MOBILITY) == 14 && std::size(ROOK_MOBILITY) == 15 &&
              std::size(QUEEN_MOBILITY) == 28);

template <size_t N>
Score sum_mobility(const EvalAttacks& at, int color, int type, Bitboard area, const Score (&table)[N]) {
    Score s = 0;
    for (int i = first_slot(at, color, type); i < end_slot(at, color, type); ++i)
        s += table[std::min(popcount(at.pieces[color][i] & area), int(N) - 1)];
    return s;
}

}  // namespace

Score eval_mobility(const Position& pos, const EvalAttacks& at, int color) {
    const Bitboard area =
        ~(pos.piece_bb[make_piece(color, PAWN)] | pos.piece_bb[make_piece(color, KING)] | at.pawns[color ^ 1]);
    return sum_mobility(at, color, KNIGHT, area, KNIGHT_MOBILITY) +
           sum_mobility(at, color, BISHOP, area, BISHOP_MOBILITY) + sum_mobility(at, color, ROOK, area, ROOK_MOBILITY) +
           sum_mobility(at, color, QUEEN, area, QUEEN_MOBILITY);
}

Score eval_mobility(const Position& pos, int color) {
    EvalAttacks at;
    collect_attacks(pos, at);
    return eval_mobility(pos, at, color);
}
