// The root driver: iterative deepening with aspiration windows and MultiPV
// lines over the main search, ending in the bestmove line.
#pragma once

#include <cstdint>

#include "board/move.h"
#include "board/position.h"
#include "search/limits.h"
#include "search/score_scale.h"
#include "search/search.h"

struct RootLine {
    Move move;  // first move of the line
    int32_t score;
    Move pv[MAX_PLY];
    int32_t pv_length;
};

extern RootLine root_lines[MAX_MULTIPV];
extern int root_line_count;  // lines of the previous iteration
extern Move best_root_move;
extern int multipv;  // the MultiPV option, 1..256

// Searches pos under the limits, printing info lines and the bestmove line.
void start_search(Position& pos, const SearchLimits& limits);
