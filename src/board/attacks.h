// Attack tables: fixed leaper tables and magic-bitboard slider tables, all
// built once by init_attack_tables() before anything else runs.
#pragma once

#include <cstdint>

#include "board/types.h"

struct MagicEntry {
    Bitboard mask;       // relevant occupancy: the rays without their rim squares
    uint64_t magic;      // multiplier found at start-up
    Bitboard* attacks;   // this square's slice of the shared table
    uint32_t shift;      // 64 - popcount(mask)
};

// Squares a pawn of the colour on the square attacks: pawn_attacks[WHITE][A2] = {b3}.
extern Bitboard pawn_attacks[2][64];
// Knight destinations: knight_attacks[A1] = {b3, c2}.
extern Bitboard knight_attacks[64];
// Adjacent squares: king_attacks[A1] = {a2, b1, b2}.
extern Bitboard king_attacks[64];

extern MagicEntry bishop_magics[64];
extern MagicEntry rook_magics[64];
extern Bitboard bishop_table[32768];
extern Bitboard rook_table[262144];

void init_attack_tables();

// Ray-walking attacks, used only to build and verify the magic tables.
Bitboard bishop_attacks_slow(int sq, Bitboard occ);
Bitboard rook_attacks_slow(int sq, Bitboard occ);

inline Bitboard bishop_attacks(int sq, Bitboard occ) {
    assert(is_square(sq));
    const MagicEntry& e = bishop_magics[sq];
    return e.attacks[((occ & e.mask) * e.magic) >> e.shift];
}

inline Bitboard rook_attacks(int sq, Bitboard occ) {
    assert(is_square(sq));
    const MagicEntry& e = rook_magics[sq];
    return e.attacks[((occ & e.mask) * e.magic) >> e.shift];
}

inline Bitboard queen_attacks(int sq, Bitboard occ) {
    return bishop_attacks(sq, occ) | rook_attacks(sq, occ);
}

// Attack set of a piece type on a square; pawns by colour, empty for type 6.
inline Bitboard piece_attacks(int type, int sq, int color, Bitboard occ) {
    switch (type) {
    case PAWN: return pawn_attacks[color][sq];
    case KNIGHT: return knight_attacks[sq];
    case BISHOP: return bishop_attacks(sq, occ);
    case ROOK: return rook_attacks(sq, occ);
    case QUEEN: return queen_attacks(sq, occ);
    case KING: return king_attacks[sq];
    default: return 0;
    }
}
