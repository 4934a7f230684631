// Principal variations: the legality guard on lines collected in the search
// and the UCI info line of a finished root line.
#pragma once

#include <cstdint>

#include "board/move.h"
#include "board/position.h"

// Limits corruption reports to five per search; cleared when a search starts.
extern bool pv_report_active;
extern int pv_report_count;

// True when new_pv plays legally from pos. Otherwise a "[PV-CORRUPTION #n]"
// report goes to the protocol log (at most five per search). pos is unchanged.
bool update_pv(Position& pos, int ply, int depth, Move move, const Move* child_pv, int child_len, const Move* new_pv,
               int new_len);

// Score text of an info line: 30997 gives "mate 2", -30998 "mate -1", 35 "cp 35".
void format_score(char* out, int size, int score);

// Prints and logs "info depth .. seldepth .. [multipv ..] score .. nodes .. nps .. time .. pv ..",
// the line cut before its first illegal move.
void print_info(Position& pos, int depth, int line_index, int score, const Move* pv, int pv_length);
