// Principal variations: the legality guard on lines collected in the search.
#pragma once

#include <cstdint>

#include "board/move.h"
#include "board/position.h"

// Limits corruption reports to five per search; cleared when a search starts.
extern bool pv_report_active;
extern int pv_report_count;

// Unmakes the first count moves, last first.
void take_back(Position& pos, const Move* moves, int count);

// True when new_pv (move, then child_pv) plays legally from pos. Otherwise a
// "[PV-CORRUPTION #n]" report goes to the protocol log (at most five per
// search). pos is unchanged. child_replayed says child_pv has already been
// found legal from the position after move, so only move is played.
bool update_pv(Position& pos, int ply, int depth, Move move, const Move* child_pv, int child_len, const Move* new_pv,
               int new_len, bool child_replayed = false);
