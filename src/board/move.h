// The 16-bit move: origin in bits 0-5, target in bits 6-11, kind in 12-15.
#pragma once

#include <cstdint>

using Move = uint16_t;

enum MoveKind : int {
    QUIET = 0,
    DOUBLE_PUSH = 1,
    KING_CASTLE = 2,
    QUEEN_CASTLE = 3,
    CAPTURE = 4,
    EN_PASSANT = 5,
    PROMO_KNIGHT = 8,
    PROMO_BISHOP = 9,
    PROMO_ROOK = 10,
    PROMO_QUEEN = 11,
    PROMO_CAPTURE_KNIGHT = 12,
    PROMO_CAPTURE_BISHOP = 13,
    PROMO_CAPTURE_ROOK = 14,
    PROMO_CAPTURE_QUEEN = 15,
};

constexpr Move NO_MOVE = 0;
constexpr Move NULL_MOVE = 65;  // b1b1: no generated move has origin == target
constexpr int MAX_MOVES = 256;

constexpr Move make_move_value(int from, int to, int kind) {
    return static_cast<Move>(from | (to << 6) | (kind << 12));
}
constexpr int move_from(Move m) { return m & 63; }
constexpr int move_to(Move m) { return (m >> 6) & 63; }
constexpr int move_kind(Move m) { return m >> 12; }
constexpr bool is_capture(Move m) { return (m & 0x4000) != 0; }
constexpr bool is_promotion(Move m) { return (m & 0x8000) != 0; }
// Piece type a promotion creates: knight, bishop, rook, queen for kind & 3 = 0..3.
constexpr int promotion_type(Move m) { return (move_kind(m) & 3) + 1; }

struct MoveList {
    Move moves[MAX_MOVES];
    int count;
};

// Coordinate text ("e2e4", "a7a8q", "0000") in a static buffer each call overwrites.
const char* move_to_str(Move m);
