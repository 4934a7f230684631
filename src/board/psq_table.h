// Material plus piece-square value of each piece code on each square, White
// positive and Black negated. A position keeps the sum over its pieces in
// psq_score as they move; the evaluation fills the table for its style.
#pragma once

#include "board/score.h"

extern Score psq_table[12][64];
