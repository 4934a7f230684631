// The tables' choice of move at the root: every legal move ranked by its
// distance to zeroing. tb_root_move (tablebase.h) turns it into the engine's move.
#pragma once

#include <cstdint>

#include "tablebase/tb_position.h"

// Results of tb_rank_root_moves besides a move.
constexpr uint16_t TB_CHECKMATE = 0xFFFE;  // lost and no legal move
constexpr uint16_t TB_STALEMATE = 0xFFFF;  // drawn and no legal move
// Score of a generated move that is illegal.
constexpr int TB_ILLEGAL_SCORE = 32767;

// The best TbMove: the fastest zeroing win, the slowest loss, or the drawing
// move whose rank among the drawing moves is the material key modulo their
// number. 0 when a probe fails. dtz_out receives the position's own DTZ.
uint16_t tb_rank_root_moves(const TbPosition& pos, int& dtz_out);
