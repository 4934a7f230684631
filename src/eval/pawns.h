// Pawn structure: doubled, isolated, connected, passed, candidate and
// backward pawns, White's minus Black's, served from a direct-mapped cache
// keyed by the position's pawn hash.
#pragma once

#include "board/position.h"

constexpr int PAWN_CACHE_SIZE = 8192;

struct PawnCacheEntry {
    uint64_t key;
    Score score;
};

// Zero at start-up: an all-zero entry is right for a position without pawns.
extern PawnCacheEntry pawn_cache[PAWN_CACHE_SIZE];

// The pawn term through the cache.
Score eval_pawns(const Position& pos);
// The pawn term computed from the board, bypassing the cache.
Score pawn_structure(const Position& pos);
// A test seam: the engine never needs it, as entries are checked against the full pawn hash.
void clear_pawn_cache();
