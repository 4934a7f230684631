// Line geometry: for two squares on one rank, file or diagonal, the whole
// line through them and the squares between them. Built at compile time.
#pragma once

#include <array>

#include "board/types.h"

namespace line_detail {

using SquarePairs = std::array<std::array<Bitboard, 64>, 64>;

// For each pair of squares a, b on one rank, file or diagonal: every square
// of the line through them (whole_line) or those strictly between them.
// Pairs on no common line, and a square with itself, stay empty.
constexpr SquarePairs build(bool whole_line) {
    SquarePairs t{};
    for (int a = 0; a < 64; ++a)
        for (int b = 0; b < 64; ++b) {
            const int df = file_of(b) - file_of(a), dr = rank_of(b) - rank_of(a);
            if (a == b || (df != 0 && dr != 0 && df != dr && df != -dr)) continue;
            for (int s = 0; s < 64; ++s) {
                // s - a = k * (b - a) for some k: on the line; 0 < k < 1: between.
                const int sf = file_of(s) - file_of(a), sr = rank_of(s) - rank_of(a);
                if (sf * dr != sr * df) continue;
                const int k_times_length = sf * df + sr * dr, length = df * df + dr * dr;
                if (whole_line || (k_times_length > 0 && k_times_length < length)) t[a][b] |= square_bb(s);
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
