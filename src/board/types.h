// Basic chess vocabulary shared by every subsystem: squares, colours,
// pieces and bitboards, with the bit-twiddling helpers used in hot loops.
#pragma once

#include <bit>
#include <cassert>
#include <cstdint>

using Bitboard = uint64_t;

// Squares run rank-major from White's side: a1 = 0, b1 = 1, ..., h8 = 63.
enum Square : int {
    A1, B1, C1, D1, E1, F1, G1, H1,
    A2, B2, C2, D2, E2, F2, G2, H2,
    A3, B3, C3, D3, E3, F3, G3, H3,
    A4, B4, C4, D4, E4, F4, G4, H4,
    A5, B5, C5, D5, E5, F5, G5, H5,
    A6, B6, C6, D6, E6, F6, G6, H6,
    A7, B7, C7, D7, E7, F7, G7, H7,
    A8, B8, C8, D8, E8, F8, G8, H8,
    NO_SQUARE
};

enum Color : int { WHITE = 0, BLACK = 1 };

// NO_PIECE_TYPE marks "nothing captured" in the undo record.
enum PieceType : int { PAWN, KNIGHT, BISHOP, ROOK, QUEEN, KING, NO_PIECE_TYPE };

// Piece code = 6 * colour + type.
enum Piece : int {
    W_PAWN, W_KNIGHT, W_BISHOP, W_ROOK, W_QUEEN, W_KING,
    B_PAWN, B_KNIGHT, B_BISHOP, B_ROOK, B_QUEEN, B_KING,
    NO_PIECE
};

// Castling-right bits of Position::castling.
enum CastlingRight : int {
    WHITE_OO = 1, WHITE_OOO = 2, BLACK_OO = 4, BLACK_OOO = 8, ALL_CASTLING = 15
};

constexpr int file_of(int sq) { return sq & 7; }
constexpr int rank_of(int sq) { return sq >> 3; }
constexpr int make_square(int file, int rank) { return 8 * rank + file; }
constexpr int make_piece(int color, int type) { return 6 * color + type; }
constexpr int color_of(int piece) { return piece / 6; }
constexpr int type_of(int piece) { return piece % 6; }

constexpr bool is_square(int sq) { return sq >= 0 && sq < 64; }

constexpr Bitboard square_bb(int sq) {
    assert(is_square(sq));
    return Bitboard(1) << sq;
}

constexpr Bitboard FILE_A_BB = 0x0101010101010101ULL;
constexpr Bitboard FILE_H_BB = FILE_A_BB << 7;
constexpr Bitboard RANK_1_BB = 0xFFULL;
constexpr Bitboard RANK_8_BB = RANK_1_BB << 56;

constexpr Bitboard file_bb(int file) { return FILE_A_BB << file; }
constexpr Bitboard rank_bb(int rank) { return RANK_1_BB << (8 * rank); }

inline int popcount(Bitboard b) { return std::popcount(b); }
// The lowest set square of a non-empty b.
inline int lsb(Bitboard b) {
    assert(b);
    return std::countr_zero(b);
}

// Removes and returns the lowest set square of a non-empty b.
inline int pop_lsb(Bitboard& b) {
    assert(b);
    int sq = std::countr_zero(b);
    b &= b - 1;
    return sq;
}
