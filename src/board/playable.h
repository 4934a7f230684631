// Whether a position set up from outside text can be searched: the move
// generator, make/unmake and the evaluation assume what this checks.
#pragma once

#include "board/position.h"

// One king a side, no pawn on the first or last rank, and the side that
// just moved not left in check.
bool position_is_playable(const Position& pos);
