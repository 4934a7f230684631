// What the search learns about quiet moves across nodes and searches:
// butterfly and continuation histories, killers and counter moves.
#pragma once

#include <cstdint>

#include "board/move.h"
#include "board/position.h"

// Success of a quiet move: quiet_history[side][from][to].
extern int32_t quiet_history[2][64][64];
// Success of a quiet move after a given previous move:
// cont_history[previous piece][previous to][moving piece][to].
extern int32_t cont_history[12][64][12][64];
// Two most recent quiet cut-off moves per ply, slot 0 the newer.
extern Move killers[128][2];
// Quiet move that last refuted the previous move: counter_moves[previous piece][previous to].
extern Move counter_moves[12][64];

// Moves v toward the bonus' sign, the more slowly the nearer v is to
// +-16384: 10000 with bonus 64 gives 10025.
inline void apply_gravity(int32_t& v, int bonus) {
    int magnitude = bonus < 0 ? -bonus : bonus;
    v = v + bonus - (magnitude * v) / 16384;
}

// History update after a quiet beta cut-off by best_move; quiets lists the
// quiet moves searched at the node (best_move included).
void update_quiet_stats(const Position& pos, Move best_move, const Move* quiets, int quiet_count, int depth,
                        int prev_piece, int prev_to);
// Killer and counter-move update plus update_quiet_stats, in that order.
void record_quiet_cutoff(const Position& pos, Move move, int ply, const Move* quiets, int quiet_count, int depth,
                         int prev_piece, int prev_to);

void clear_search_tables();
// Start of every search: killers cleared, histories halved toward zero.
void age_search_tables();
