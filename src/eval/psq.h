// Material plus piece-square values in two styles, folded into one packed
// table indexed by piece code and square (White positive, Black negated).
#pragma once

#include "eval/score.h"

enum EvalStyle : int { STYLE_PESTO = 0, STYLE_LINEAR = 1 };

extern int eval_style;
extern Score psq_table[12][64];
extern const Score piece_value[6];

// Rebuilds psq_table for the current eval_style.
void psq_init();

struct Position;
// Knights + bishops + 2 * rooks + 4 * queens over both colours, capped at 24.
int game_phase(const Position& pos);
