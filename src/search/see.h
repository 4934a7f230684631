// Static exchange evaluation: the material outcome of the capture sequence
// on a move's target square, each side recapturing with its cheapest piece.
#pragma once

#include "board/move.h"
#include "board/position.h"

// Exchange value of a piece type: see_value[KNIGHT] = 300.
inline constexpr int see_value[6] = {100, 300, 300, 500, 900, 20000};

// Centipawns won by the side to move when it plays the capture (or promotion
// push) and both sides keep recapturing while it pays: PxN defended by a pawn = 200.
int see(const Position& pos, Move move);
