// Handlers of the search-related commands: go, setoption and bench.
#pragma once

#include "board/position.h"
#include "search/limits.h"

// The limits a go line asks for; unknown words and missing numbers count as 0.
SearchLimits parse_go(const char* line);
// Answers from the book when book play is on, otherwise searches; prints bestmove.
void cmd_go(const char* line, Position& pos);
void cmd_setoption(const char* line);
// The benchmark positions, ended by an empty string.
extern const char* const BENCH_FENS[];
// Searches the five benchmark positions to depth from a clean state and reports nodes, time and speed.
void cmd_bench(int depth);
