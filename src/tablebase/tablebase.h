// Endgame tablebases as the rest of the engine sees them: set-up from the
// SyzygyPath option, the in-search WDL probe and the root move choice. The
// only tablebase header outside this folder; nothing inside includes it.
#pragma once

#include "board/move.h"
#include "board/position.h"

// Piece count up to which the search probes; 0 = probing off.
extern int tb_probe_limit;
// Largest piece count among the registered tables.
extern int tb_largest;

// False when a table file in the directories lacks its partner; the
// offending file name goes into message (512 bytes).
bool tb_check_pairs(const char* path, char* message);
// Releases any earlier load and registers the tables under path (';'-separated).
bool tb_load(const char* path);

// WDL value (-2..2) of pos for the side to move, probed with a fifty-move
// counter of 0; success false when the tables have no answer.
int tb_probe_wdl(const Position& pos, bool& success);

// The tables' choice of move at the root; false when they cannot rank, true
// with move_out NO_MOVE when the side to move has no legal move.
bool tb_root_move(Position& pos, Move& move_out);
