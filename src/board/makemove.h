// Playing moves on the Position in place, and taking them back.
#pragma once

#include "board/move.h"
#include "board/position.h"

// Rights kept when a move starts or ends on the square: e1 12 drops both white rights.
extern int castling_mask[64];
void init_castling_mask();

void make_move(Position& pos, Move m);
void unmake_move(Position& pos, Move m);
void make_null_move(Position& pos);
void unmake_null_move(Position& pos);
