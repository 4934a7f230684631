// The root driver: iterative deepening with aspiration windows and MultiPV
// lines over the main search, ending in the bestmove line.
#pragma once

#include <cstdint>

#include "board/move.h"
#include "board/position.h"
#include "search/limits.h"
#include "search/score_scale.h"

constexpr int MAX_MULTIPV = 256;

struct RootLine {
    Move move;  // first move of the line
    int32_t score;
    Move pv[MAX_PLY];
    int32_t pv_length;
};

extern int root_depth;  // depth of the iteration being searched
extern RootLine root_lines[MAX_MULTIPV];
extern int root_line_count;  // lines of the previous iteration
// Root moves the line being searched may not start with (the first moves of the lines before it).
extern Move root_excluded[MAX_MULTIPV];
extern int root_excluded_count;
extern Move best_root_move;
extern int multipv;  // the MultiPV option, 1..256

// Searches pos under the limits, printing info lines and the bestmove line.
void start_search(Position& pos, const SearchLimits& limits);
