// Line geometry: for two squares on one rank, file or diagonal, the whole
// line through them and the squares between them. Built at compile time.
#pragma once

#include <array>

#include "board/types.h"

namespace line_detail {

using SquarePairs = std::array<std::array<Bitboard, 64>, 64>;

constexpr bool on_board(int file, int rank) { return file >= 0 && file < 8 && rank >= 0 && rank < 8; }

// The squares from sq onwards in one direction, sq itself left out.
constexpr Bitboard ray(int sq, int df, int dr) {
    Bitboard b = 0;
    for (int f = file_of(sq) + df, r = rank_of(sq) + dr; on_board(f, r); f += df, r += dr)
        b |= square_bb(make_square(f, r));
    return b;
}

// Walks from each square a in the eight directions; each square b reached
// gets the whole line through a and b (whole_line), or the squares passed
// on the way from a. Pairs on no common line, and a square with itself, stay empty.
constexpr SquarePairs build(bool whole_line) {
    constexpr int DIRECTIONS[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {-1, -1}, {1, -1}, {-1, 1}};
    SquarePairs t{};
    for (int a = 0; a < 64; ++a)
        for (const auto& d : DIRECTIONS) {
            const Bitboard line = ray(a, d[0], d[1]) | ray(a, -d[0], -d[1]) | square_bb(a);
            Bitboard passed = 0;
            for (int f = file_of(a) + d[0], r = rank_of(a) + d[1]; on_board(f, r); f += d[0], r += d[1]) {
                const int b = make_square(f, r);
                t[a][b] = whole_line ? line : passed;
                passed |= square_bb(b);
            }
        }
    return t;
}

}  // namespace line_detail

// The whole line through two aligned squares, both included:
// LINE_THROUGH[C4][F7] = a2, b3, c4, d5, e6, f7, g8; empty when they share no line.
inline constexpr line_detail::SquarePairs LINE_THROUGH = line_detail::build(true);

// The squares strictly between two aligned squares: BETWEEN[C4][F7] = d5, e6;
// empty for neighbours and for squares that share no line.
inline constexpr line_detail::SquarePairs BETWEEN = line_detail::build(false);
