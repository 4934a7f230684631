// The `eval` console command: the static evaluation broken down by term.
#pragma once

#include "board/position.h"

// Prints phase, the main terms as middle-game/end-game parts, bishop pair,
// king danger of each side and the final value to standard output.
void eval_trace(const Position& pos);
