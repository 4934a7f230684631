// The transposition table: one 16-byte slot per index, selected by the low
// bits of the Zobrist key, shared by the main and quiescence searches.
#pragma once

#include <cassert>
#include <cstdint>

#include "board/move.h"
#include "search/score_scale.h"

enum Bound : int { BOUND_EXACT = 0, BOUND_LOWER = 1, BOUND_UPPER = 2 };

struct TTEntry {
    uint64_t key;  // 0 in an empty slot
    int16_t score;  // mate scores counted from the node, not the root
    uint16_t move;
    uint8_t depth;  // 0 for quiescence entries
    uint8_t bound;
    uint8_t generation;
    uint8_t spare;
};
static_assert(sizeof(TTEntry) == 16, "slot count of tt_resize assumes 16-byte entries");

extern TTEntry* tt_table;
extern uint64_t tt_count;  // always a power of two
extern uint8_t tt_generation;

// Slots filled since the table was last zeroed, so that clearing a lightly
// used table (a new game, every benchmark position) touches only those slots
// instead of the whole table. Past the capacity a clear zeroes everything.
constexpr uint32_t TT_FILLED_CAPACITY = 1u << 20;
extern uint32_t tt_filled[TT_FILLED_CAPACITY];
extern uint64_t tt_filled_count;

// Frees the old table and allocates a zeroed one of the largest power-of-two
// slot count that fits: 1 MB gives 65536 slots.
void tt_resize(int megabytes);
// Zeroes every slot and the generation.
void tt_clear();
void tt_free();
// A fresh table is committed piece by piece on first touch; these commit it
// ahead of the searches, keeping its contents. tt_commit_step does one short
// step and returns false once the whole table is committed.
bool tt_commit_step();
void tt_commit_all();

struct TTProbe {
    bool hit;
    int score;  // counted from the root again
    Move move;
    int depth;
    int bound;
};

// Starts loading the key's slot into the cache ahead of its probe.
inline void tt_prefetch(uint64_t key) {
    if (tt_table) __builtin_prefetch(&tt_table[key & (tt_count - 1)]);
}

inline TTProbe tt_probe(uint64_t key, int ply) {
    TTProbe r{false, 0, NO_MOVE, 0, BOUND_EXACT};
    if (!tt_table) return r;
    const TTEntry e = tt_table[key & (tt_count - 1)];
    if (e.key != key) return r;
    int v = e.score;
    if (v >= MATE_BOUND) v -= ply;
    else if (v <= -MATE_BOUND) v += ply;
    return {true, v, e.move, e.depth, e.bound};
}

// Another position's slot from the current search survives a shallower
// result; everything else is overwritten.
inline void tt_store(uint64_t key, int score, int bound, int depth, Move move, int ply) {
    assert(ply >= 0 && ply <= MAX_PLY && bound >= BOUND_EXACT && bound <= BOUND_UPPER);
    if (!tt_table) return;
    const uint64_t index = key & (tt_count - 1);
    TTEntry& e = tt_table[index];
    if (e.key != 0 && e.key != key && e.generation == tt_generation && depth < int(e.depth)) return;
    if (e.key == 0) {
        if (tt_filled_count < TT_FILLED_CAPACITY) tt_filled[tt_filled_count] = uint32_t(index);
        tt_filled_count++;
    }
    if (score >= MATE_BOUND) score += ply;
    else if (score <= -MATE_BOUND) score -= ply;
    e.key = key;
    e.score = int16_t(score);
    e.move = move;
    e.depth = uint8_t(depth < 0 ? 0 : depth < 255 ? depth : 255);
    e.bound = uint8_t(bound);
    e.generation = tt_generation;
}
