// Polyglot opening book: loading, the Polyglot key, weighted probing.
#pragma once

#include <cstdint>

#include "board/move.h"
#include "board/position.h"

extern bool book_enabled;

// Replaces the loaded book; true on success (book play is then on).
bool book_load(const char* path);
uint64_t polyglot_key(const Position& pos);
// A legal book move for the position, or NO_MOVE.
Move book_probe(Position& pos);
