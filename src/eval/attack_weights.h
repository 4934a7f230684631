// The weights of the three terms scored from attack sets, each term's all
// here: mobility and threats, which score_attack_terms scores whole, and
// king danger, whose king-zone units it adds up for eval_king_danger.
#pragma once

#include <array>

#include "board/score.h"
#include "board/types.h"

// Mobility, by number of reachable squares in the mobility area, with an entry for
// every count the piece can reach on an empty board, so none is ever capped.
inline constexpr Score KNIGHT_MOBILITY[9] = {
    make_score(-62, -79), make_score(-53, -57), make_score(-12, -31), make_score(-3, -17), make_score(3, 7),
    make_score(12, 13),   make_score(21, 16),   make_score(28, 21),   make_score(37, 25)};
inline constexpr Score BISHOP_MOBILITY[14] = {
    make_score(-47, -59), make_score(-20, -25), make_score(14, -8), make_score(29, 12), make_score(39, 21),
    make_score(53, 40),   make_score(53, 56),   make_score(60, 58), make_score(62, 65), make_score(69, 72),
    make_score(78, 78),   make_score(83, 87),   make_score(91, 88), make_score(96, 98)};
inline constexpr Score ROOK_MOBILITY[15] = {
    make_score(-60, -82), make_score(-24, -15), make_score(0, 17),   make_score(3, 43),   make_score(4, 72),
    make_score(14, 100),  make_score(20, 102),  make_score(30, 122), make_score(41, 133), make_score(41, 139),
    make_score(41, 153),  make_score(45, 160),  make_score(57, 165), make_score(58, 170), make_score(67, 175)};
inline constexpr auto QUEEN_MOBILITY = [] {
    constexpr Score first[13] = {make_score(-29, -18), make_score(-16, -5), make_score(-8, 8), make_score(-8, 13),
                                 make_score(-7, 16),   make_score(-7, 23),  make_score(-4, 20), make_score(0, 21),
                                 make_score(2, 21),    make_score(4, 28),   make_score(6, 25),  make_score(6, 28),
                                 make_score(7, 25)};
    std::array<Score, 28> t{};
    for (int i = 0; i < 28; ++i) t[i] = i < 13 ? first[i] : make_score(7, 28);
    return t;
}();

template <int Type>
inline Score mobility_bonus(int squares) {
    static_assert(Type >= KNIGHT && Type <= QUEEN);
    if constexpr (Type == KNIGHT) return KNIGHT_MOBILITY[squares];
    else if constexpr (Type == BISHOP) return BISHOP_MOBILITY[squares];
    else if constexpr (Type == ROOK) return ROOK_MOBILITY[squares];
    else return QUEEN_MOBILITY[squares];
}

// Threats: a knight or bishop attacking an enemy rook, an enemy queen (each
// at most once per piece); the colour's pawns attacking any enemy minor
// piece, any enemy rook (each at most once in all).
constexpr Score MINOR_ATTACKS_ROOK = make_score(45, 20);
constexpr Score MINOR_ATTACKS_QUEEN = make_score(50, 25);
constexpr Score PAWN_ATTACKS_MINOR = make_score(55, 30);
constexpr Score PAWN_ATTACKS_ROOK = make_score(60, 15);

// One knight's or bishop's threats.
inline Score minor_threats(Bitboard attacks, Bitboard enemy_rooks, Bitboard enemy_queens) {
    if (!(attacks & (enemy_rooks | enemy_queens))) return 0;  // the usual case
    return ((attacks & enemy_rooks) ? MINOR_ATTACKS_ROOK : 0) + ((attacks & enemy_queens) ? MINOR_ATTACKS_QUEEN : 0);
}

// The threats of all the colour's pawns.
inline Score pawn_threats(Bitboard pawn_attacks, Bitboard enemy_minors, Bitboard enemy_rooks) {
    return ((pawn_attacks & enemy_minors) ? PAWN_ATTACKS_MINOR : 0) +
           ((pawn_attacks & enemy_rooks) ? PAWN_ATTACKS_ROOK : 0);
}

// King danger: units for each piece whose attacks reach a square next to the
// enemy king, by kind, and for each kind that can give a safe check.
template <int Type>
constexpr int ZONE_UNITS = Type == KNIGHT ? 2 : Type == BISHOP ? 2 : Type == ROOK ? 3 : 5;
constexpr int QUEEN_CHECK_UNITS = 6, ROOK_CHECK_UNITS = 3, BISHOP_CHECK_UNITS = 2, KNIGHT_CHECK_UNITS = 2;
constexpr int MAX_ATTACK_UNITS = 99;

// Danger in centipawns by attack units: slow growth up to 91 at 22 units,
// then 100 + 10 per unit, so KING_DANGER[99] = 860.
inline constexpr auto KING_DANGER = [] {
    constexpr int start[23] = {0, 0, 1, 2, 3, 5, 7, 10, 13, 16, 20, 24, 28, 33, 38, 44, 50, 56, 62, 68, 75, 83, 91};
    std::array<int, MAX_ATTACK_UNITS + 1> t{};
    for (int i = 0; i <= MAX_ATTACK_UNITS; ++i) t[i] = i < 23 ? start[i] : 100 + 10 * (i - 23);
    return t;
}();
static_assert(KING_DANGER[99] == 860);

// Missing shelter: for each of the king's file and its neighbours without an
// own pawn, 20 centipawns when the file is open, 10 when an enemy pawn stands on it.
constexpr int OPEN_FILE_DANGER = 20, HALF_OPEN_FILE_DANGER = 10;
