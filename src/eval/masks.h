// Board-geometry masks and set shifts the evaluation terms share: files
// around a square, squares ahead of a pawn, pawn attack sets, square colours.
// "Ahead" is in the colour's direction of pawn movement.
#pragma once

#include <algorithm>
#include <array>
#include <cstdlib>

#include "board/types.h"

// Squares with (file + rank) even; a1 is dark.
constexpr Bitboard DARK_SQUARES = 0xAA55AA55AA55AA55ULL;

constexpr Bitboard shift_up(Bitboard b, int color) { return color == WHITE ? b << 8 : b >> 8; }

// Squares attacked by the given pawns of the colour, never wrapping a rim.
constexpr Bitboard pawn_attack_set(Bitboard pawns, int color) {
    Bitboard west = pawns & ~FILE_A_BB, east = pawns & ~FILE_H_BB;
    return color == WHITE ? (west << 7) | (east << 9) : (west >> 9) | (east >> 7);
}

// Every square of b and all squares below (fill_down) or above (fill_up) it on its file.
constexpr Bitboard fill_down(Bitboard b) {
    b |= b >> 8;
    b |= b >> 16;
    return b | (b >> 32);
}
constexpr Bitboard fill_up(Bitboard b) {
    b |= b << 8;
    b |= b << 16;
    return b | (b << 32);
}

// King-move distance: square_distance(A1, C2) = 2.
inline int square_distance(int a, int b) {
    return std::max(std::abs(file_of(a) - file_of(b)), std::abs(rank_of(a) - rank_of(b)));
}

// Rank index as seen by the colour: relative_rank(BLACK, A7) = 1.
constexpr int relative_rank(int color, int sq) { return color == WHITE ? rank_of(sq) : 7 - rank_of(sq); }

// Neighbouring files of a file: ADJACENT_FILES[0] = file b, ADJACENT_FILES[3] = files c and e.
inline constexpr std::array<Bitboard, 8> ADJACENT_FILES = [] {
    std::array<Bitboard, 8> t{};
    for (int f = 0; f < 8; ++f) t[f] = (f > 0 ? file_bb(f - 1) : 0) | (f < 7 ? file_bb(f + 1) : 0);
    return t;
}();

// Squares strictly ahead of a square on its own file: FORWARD_FILE[WHITE][E6] = {e7, e8}.
inline constexpr auto FORWARD_FILE = [] {
    std::array<std::array<Bitboard, 64>, 2> t{};
    for (int sq = 0; sq < 64; ++sq)
        for (int r = 0; r < 8; ++r) {
            if (r > rank_of(sq)) t[WHITE][sq] |= square_bb(make_square(file_of(sq), r));
            if (r < rank_of(sq)) t[BLACK][sq] |= square_bb(make_square(file_of(sq), r));
        }
    return t;
}();

// Squares strictly ahead of a square on the neighbouring files:
// ADJACENT_AHEAD[WHITE][A6] = {b7, b8}; with the other colour, the squares behind.
inline constexpr auto ADJACENT_AHEAD = [] {
    std::array<std::array<Bitboard, 64>, 2> t{};
    for (int c = 0; c < 2; ++c)
        for (int sq = 0; sq < 64; ++sq)
            t[c][sq] =
                (file_of(sq) > 0 ? FORWARD_FILE[c][sq - 1] : 0) | (file_of(sq) < 7 ? FORWARD_FILE[c][sq + 1] : 0);
    return t;
}();

// Pawns of the colour with no enemy pawn ahead on their own or a neighbouring file.
constexpr Bitboard passed_pawns(Bitboard own, Bitboard enemy, int color) {
    Bitboard shadow = color == WHITE ? fill_down(enemy >> 8) : fill_up(enemy << 8);
    shadow |= ((shadow << 1) & ~FILE_A_BB) | ((shadow >> 1) & ~FILE_H_BB);
    return own & ~shadow;
}
