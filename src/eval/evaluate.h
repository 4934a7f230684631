// Static evaluation in centipawns from the side to move's point of view.
#pragma once

#include <cstdint>

#include "board/position.h"

int evaluate(const Position& pos);

// Starts loading the evaluation cache's slot of a position about to be evaluated.
void prefetch_evaluation(uint64_t key);
