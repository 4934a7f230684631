// Material plus piece-square values in two styles, folded into the packed
// psq_table, and the game phase that blends its two halves.
#pragma once

#include "board/psq_table.h"

enum EvalStyle : int { STYLE_PESTO = 0, STYLE_LINEAR = 1 };

extern int eval_style;
extern const Score piece_value[6];

// Rebuilds psq_table for the current eval_style.
void psq_init();

struct Position;
// Knights + bishops + 2 * rooks + 4 * queens over both colours, capped at 24.
int game_phase(const Position& pos);

constexpr int MAX_PHASE = 24;

// Blend of the two halves by game phase (24 = pure middle game), truncating toward zero.
constexpr int taper(Score s, int phase) {
    return (mg_value(s) * phase + eg_value(s) * (MAX_PHASE - phase)) / MAX_PHASE;
}
