// The command front end: start-up, the command loop and the dispatcher.
#pragma once

#include "board/position.h"

// Builds every start-up table in order; run once before any command.
void engine_init();
// Frees what engine_init allocated.
void engine_shutdown();
// The program after the processor check: start-up, then the mode the first
// argument picks (bench [depth], perfttest, or the command loop); returns
// the exit status.
int engine_main(int argc, char** argv);

// Reads and runs commands until "quit" or the end of input.
void uci_loop();
// Runs one command line (no line end) against the position.
void uci_dispatch(const char* line, Position& pos);
void position_command(const char* line, Position& pos);
