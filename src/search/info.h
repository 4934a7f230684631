// The UCI info line of a finished root line.
#pragma once

#include "board/move.h"
#include "board/position.h"

// Score text of an info line: 30997 gives "mate 2", -30998 "mate -1", 35 "cp 35".
void format_score(char* out, int size, int score);

// Prints and logs "info depth .. seldepth .. [multipv ..] score .. nodes .. nps .. time .. pv ..",
// the line cut before its first illegal move. multipv_line is the number the multipv field
// shows, 0 to leave the field out.
void print_info(Position& pos, int depth, int multipv_line, int score, const Move* pv, int pv_length);
