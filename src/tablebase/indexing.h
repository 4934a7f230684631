// Position indexing: the symmetry folds, the special first group of a table
// (three unique pieces, a king pair, or the leading pawns), combinatorial
// numbering of further groups of like pieces, and the per-table factors.
#pragma once

#include <array>
#include <cstdint>

#include "tablebase/entry.h"

// Index of a position the tables cannot hold (adjacent kings, a piece on a
// square the encoding excludes); it exceeds every table size.
constexpr uint64_t TB_NO_INDEX = ~uint64_t(0);

namespace tb_detail {
constexpr int file_of(int sq) { return sq & 7; }
constexpr int rank_of(int sq) { return sq >> 3; }
constexpr int min_int(int a, int b) { return a < b ? a : b; }
constexpr int fold_distance(int a, int b) {
    int df = file_of(a) - file_of(b), dr = rank_of(a) - rank_of(b);
    if (df < 0) df = -df;
    if (dr < 0) dr = -dr;
    return df > dr ? df : dr;
}
}  // namespace tb_detail

// Side of the a1-h8 diagonal: 0 on it, +1 when rank > file, -1 below: tb_off_diag[A2] = 1.
inline constexpr std::array<int8_t, 64> tb_off_diag = [] {
    std::array<int8_t, 64> t{};
    for (int sq = 0; sq < 64; sq++) {
        int f = tb_detail::file_of(sq), r = tb_detail::rank_of(sq);
        t[sq] = int8_t(r > f ? 1 : f > r ? -1 : 0);
    }
    return t;
}();

// Square mirrored in the a1-h8 diagonal (file * 8 + rank): tb_transpose[B1] = A2.
inline constexpr std::array<uint8_t, 64> tb_transpose = [] {
    std::array<uint8_t, 64> t{};
    for (int sq = 0; sq < 64; sq++) t[sq] = uint8_t(tb_detail::file_of(sq) * 8 + tb_detail::rank_of(sq));
    return t;
}();

// The ten squares a fold onto the a1-d1-d4 triangle can reach, in class order.
inline constexpr int TB_TRIANGLE_SQUARES[10] = {1, 2, 3, 10, 11, 19, 0, 9, 18, 27};

// Class 0..9 of a square folded onto the a1-d1-d4 triangle (files e-h and
// ranks 5-8 mirrored, then above-diagonal transposed): tb_triangle[G8] = 0 (b1).
inline constexpr std::array<uint8_t, 64> tb_triangle = [] {
    std::array<uint8_t, 64> t{};
    for (int sq = 0; sq < 64; sq++) {
        int f = tb_detail::file_of(sq), r = tb_detail::rank_of(sq);
        if (f > 3) f = 7 - f;
        if (r > 3) r = 7 - r;
        if (r > f) { int x = f; f = r; r = x; }
        int folded = r * 8 + f;
        for (int c = 0; c < 10; c++)
            if (TB_TRIANGLE_SQUARES[c] == folded) t[sq] = uint8_t(c);
    }
    return t;
}();

// Place on a long diagonal: file on a1-h8, 8 + rank on h1-a8, else 0: tb_diag[A8] = 15.
inline constexpr std::array<uint8_t, 64> tb_diag = [] {
    std::array<uint8_t, 64> t{};
    for (int sq = 0; sq < 64; sq++) {
        int f = tb_detail::file_of(sq), r = tb_detail::rank_of(sq);
        t[sq] = uint8_t(f == r ? f : f + r == 7 ? 8 + r : 0);
    }
    return t;
}();

// Below-diagonal squares numbered 0..27 in square order, diagonal squares
// 28 + file, above-diagonal squares as their mirror: tb_lower_triangle[C2] = 7.
inline constexpr std::array<uint8_t, 64> tb_lower_triangle = [] {
    std::array<uint8_t, 64> t{};
    int next = 0;
    for (int sq = 0; sq < 64; sq++) {
        int f = tb_detail::file_of(sq), r = tb_detail::rank_of(sq);
        if (f > r) t[sq] = uint8_t(next++);
        else if (f == r) t[sq] = uint8_t(28 + f);
    }
    for (int sq = 0; sq < 64; sq++)
        if (tb_detail::rank_of(sq) > tb_detail::file_of(sq)) t[sq] = t[tb_transpose[sq]];
    return t;
}();

// Pawn placement order on ranks 2-7, central files and advanced ranks
// first, d before e: tb_pawn_order[E7] = 0, [D7] = 1, [A2] = 47; ranks 1 and 8 give 0.
inline constexpr std::array<uint8_t, 64> tb_pawn_order = [] {
    std::array<uint8_t, 64> t{};
    for (int sq = 8; sq < 56; sq++) {
        int f = tb_detail::file_of(sq), r = tb_detail::rank_of(sq);
        t[sq] = uint8_t(12 * (3 - tb_detail::min_int(f, 7 - f)) + 2 * (6 - r) + (f < 4 ? 1 : 0));
    }
    return t;
}();

// Slot of a leading pawn: file group * 6 + rank - 2 on ranks 2-7: tb_lead_slot[H7] = 5, [D2] = 18.
inline constexpr std::array<uint8_t, 64> tb_lead_slot = [] {
    std::array<uint8_t, 64> t{};
    for (int sq = 8; sq < 56; sq++) {
        int f = tb_detail::file_of(sq), r = tb_detail::rank_of(sq);
        t[sq] = uint8_t(6 * tb_detail::min_int(f, 7 - f) + (r - 1));
    }
    return t;
}();

// File group of a file, a/h 0, b/g 1, c/f 2, d/e 3: tb_file_group[4] = 3.
inline constexpr uint8_t tb_file_group[8] = {0, 1, 2, 3, 3, 2, 1, 0};

// Number of a king pair, first king by triangle class, second by square;
// -1 for pairs that never occur: tb_kk_index[0][D1] = 0, [6][C3] = 441.
inline constexpr std::array<std::array<int16_t, 64>, 10> tb_kk_index = [] {
    std::array<std::array<int16_t, 64>, 10> t{};
    for (auto& row : t) row.fill(-1);
    int next = 0;
    for (int c = 0; c < 10; c++) {
        int k1 = TB_TRIANGLE_SQUARES[c];
        for (int sq = 0; sq < 64; sq++) {
            if (tb_detail::fold_distance(k1, sq) <= 1) continue;
            if (c >= 6 && tb_detail::rank_of(sq) >= tb_detail::file_of(sq)) continue;
            t[c][sq] = int16_t(next++);
        }
    }
    for (int c = 6; c < 10; c++) {
        int k1 = TB_TRIANGLE_SQUARES[c];
        for (int d = 0; d < 8; d++) {
            int sq = d * 9;
            if (tb_detail::fold_distance(k1, sq) > 1) t[c][sq] = int16_t(next++);
        }
    }
    return t;
}();

// C(n, k), zero when n < k: tb_binomial[2][62] = 1891.
inline constexpr std::array<std::array<uint64_t, 64>, 7> tb_binomial = [] {
    std::array<std::array<uint64_t, 64>, 7> t{};
    for (int k = 0; k < 7; k++)
        for (int n = 0; n < 64; n++) {
            uint64_t v = 1;
            for (int i = 0; i < k; i++) v = v * uint64_t(n - i) / uint64_t(i + 1);
            t[k][n] = n < k ? 0 : v;
        }
    return t;
}();

namespace tb_detail {
// Square of lead slot j: file j / 6 (a-d), rank 2 + j % 6.
constexpr int lead_slot_square(int j) { return (j % 6 + 1) * 8 + j / 6; }
}  // namespace tb_detail

// Positions of i + 1 leading pawns numbered before slot j within its file
// group: the sum of C(tb_pawn_order, i) over the group's earlier slots.
// tb_pawn_index[0][j] = j % 6.
inline constexpr std::array<std::array<uint64_t, 24>, 6> tb_pawn_index = [] {
    std::array<std::array<uint64_t, 24>, 6> t{};
    for (int i = 0; i < 6; i++)
        for (int j = 0; j < 24; j++) {
            uint64_t s = 0;
            for (int e = j - j % 6; e < j; e++) s += tb_binomial[i][tb_pawn_order[tb_detail::lead_slot_square(e)]];
            t[i][j] = s;
        }
    return t;
}();

// Positions of i + 1 leading pawns in file group g: the same sum over all
// six slots of the group. tb_pawn_factor[0][g] = 6.
inline constexpr std::array<std::array<uint64_t, 4>, 6> tb_pawn_factor = [] {
    std::array<std::array<uint64_t, 4>, 6> t{};
    for (int i = 0; i < 6; i++)
        for (int g = 0; g < 4; g++) {
            uint64_t s = 0;
            for (int e = g * 6; e < g * 6 + 6; e++) s += tb_binomial[i][tb_pawn_order[tb_detail::lead_slot_square(e)]];
            t[i][g] = s;
        }
    return t;
}();

// Reads one piece record of a file (shift 0 for side 0, 4 for side 1) into
// `pieces`, fills `norm` and `factor`, and returns the table size; 0 when the
// record does not fit the signature. t is the file group (0 when pawnless).
uint64_t tb_read_encoding(TbEncoding& enc, const TbEntry& entry, const uint8_t* record, int shift, int t);

// Index of the position whose squares p (one per piece, in the order of
// enc.pieces) are given; the squares are folded and sorted in place.
// TB_NO_INDEX when the placement cannot occur.
uint64_t tb_position_index(int* p, const TbEncoding& enc, const TbEntry& entry, bool pawn_mode);
