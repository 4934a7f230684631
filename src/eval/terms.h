// The evaluation's terms scored apart from the attack pass (mobility and
// threats are scored whole in it, attack_terms.h). Each is for one colour,
// as that colour's bonus, except the passed-pawn extras, which are White's
// minus Black's.
#pragma once

#include "board/position.h"
#include "eval/attack_terms.h"

// Minor pieces on holes of the enemy's pawn cover, and bishops hemmed in by blocked pawns.
Score eval_outposts(const Position& pos, const EvalAttacks& at, int color);
// Rooks on open and half-open files and on the seventh rank.
Score eval_rooks(const Position& pos, int color);
// Danger to the colour's king in plain centipawns, never negative; 0 without a king.
int eval_king_danger(const Position& pos, const EvalAttacks& at, int color);
// End-game bonuses of passed pawns for king proximity, rooks behind them and
// races the bare king cannot win, White's minus Black's; needs both kings.
Score eval_passed_extras(const Position& pos);
