// Static exchange evaluation: the material outcome of the capture sequence
// on a move's target square, each side recapturing with its cheapest piece.
#pragma once

#include "board/move.h"
#include "board/position.h"

// Exchange value of a piece type: see_value[KNIGHT] = 300.
inline constexpr int see_value[6] = {100, 300, 300, 500, 900, 20000};

// Piece type by piece code, an empty square read as a pawn: a promotion
// push is priced like a pawn capture.
inline constexpr int EXCHANGE_TYPE[13] = {PAWN, KNIGHT, BISHOP, ROOK, QUEEN, KING, PAWN,
                                          KNIGHT, BISHOP, ROOK, QUEEN, KING, PAWN};

// Exchange value of what a capture takes (a pawn for en passant): the most see can give for the move.
inline int captured_value(const Position& pos, Move move) {
    return see_value[move_kind(move) == EN_PASSANT ? PAWN : EXCHANGE_TYPE[pos.board[move_to(move)]]];
}

// Centipawns won by the side to move when it plays the capture (or promotion
// push) and both sides keep recapturing while it pays: PxN defended by a pawn = 200.
int see(const Position& pos, Move move);
