// Win/draw/loss and distance-to-zeroing probes on a TbPosition.
//
// Values: WDL -2 loss, -1 blessed loss (saved by the fifty-move rule), 0 draw,
// 1 cursed win (spoiled by it), 2 win, from the side to move. Every probe
// writes `success`: 0 no answer, 1 answer from the tables, 2 decided by a
// capture (the best move is that capture), -1 (DTZ lookups only) the table
// holds the other side to move.
#pragma once

#include "tablebase/tb_position.h"

// DTZ of a position whose best move zeroes the counter at once, by WDL value: -1, -101, 0, 101, 1.
inline constexpr int TB_ZEROING_DTZ[5] = {-1, -101, 0, 101, 1};

// One stored value of the position's exact material (captures and en
// passant not considered); kind TB_WDL or TB_DTZ, wdl the known WDL value
// for DTZ.
int tb_lookup(const TbPosition& pos, int wdl, int& success, int kind);

// WDL value within (alpha, beta) with captures searched first.
int tb_capture_search(const TbPosition& pos, int alpha, int beta, int& success);

// WDL value of the position for the side to move.
int tb_wdl(const TbPosition& pos, int& success);

// Distance to the next zeroing move with the sign of the result: 1 or -1
// when the best move zeroes at once, 101 or -101 for a cursed win or blessed
// loss that does, otherwise that plus the distance in plies; 0 for a draw.
int tb_dtz(const TbPosition& pos, int& success);
