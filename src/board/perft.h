// Move-tree counting and move-generator self-checks.
#pragma once

#include <cstdint>

#include "board/position.h"

// Number of legal move sequences of the given length; pos is left unchanged.
uint64_t perft(Position& pos, int depth);
// The perft command: one line per legal first move, then the total.
void perft_divide(Position& pos, int depth);
// The six-position suite; returns the number of rows that passed.
int perft_suite();
void cmd_dupcheck(Position& pos);
void cmd_illegalcheck(Position& pos);
