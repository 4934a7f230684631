// The main alpha-beta search and the quiescence search, with the per-ply
// search stack and the counters they share with the root driver, and what
// the two searches do alike at every node.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>

#include "board/move.h"
#include "board/position.h"
#include "search/limits.h"
#include "search/score_scale.h"

struct StackEntry {
    int32_t static_eval;  // NO_SCORE when the side to move is in check
    Move excluded_move;   // skipped by a singular-extension verification search
    Move current_move;    // NULL_MOVE during the null-move search
    Move pv[MAX_PLY];
    int32_t pv_length;
    bool pv_replayed;  // update_pv found the line in pv legal from this node (left false by quiescence)
};

// Entries 0 and 1 sit above the root, so two plies up is always readable.
constexpr int SEARCH_STACK_SIZE = MAX_PLY + 4;
constexpr int ROOT_STACK_INDEX = 2;
extern StackEntry search_stack[SEARCH_STACK_SIZE];

constexpr int MAX_MULTIPV = 256;

// Set by the root driver for each line it searches.
extern int root_depth;  // depth of the iteration being searched
// Root moves the line being searched may not start with (the first moves of the lines before it).
extern Move root_excluded[MAX_MULTIPV];
extern int root_excluded_count;

extern uint64_t search_nodes;
extern int sel_depth;  // highest ply reached

// Late-move reduction in plies by depth and move number:
// trunc(ln(d) * ln(m) / 2.25 + 0.75), row and column 0 zero; lmr_table[8][8] = 2.
extern int32_t lmr_table[128][256];
void init_lmr_table();

// Moves tried before late-move pruning stops the quiet ones, by improving and depth.
inline constexpr int32_t lmp_table[2][7] = {{0, 3, 5, 8, 13, 18, 25}, {0, 5, 8, 12, 18, 25, 35}};

// Fail-soft principal-variation search of pos to depth plies; ss is the
// node's entry of search_stack. pos is unchanged on return.
int search(Position& pos, StackEntry* ss, int depth, int alpha, int beta, bool is_pv, int ply);
// Captures and promotions only, standing pat on the static evaluation.
int quiescence(Position& pos, StackEntry* ss, int alpha, int beta, int ply);

// Node entry: clears the node's line, counts the node (the node limit may
// stop the search here) and raises the selective depth. False when the
// search is stopping, and the node returns at once.
inline bool enter_node(StackEntry* ss, int ply) {
    assert(ply >= 0 && ply <= MAX_PLY);
    ss->pv_length = 0;
    if (stop_search) return false;
    ++search_nodes;
    if (search_limits.nodes > 0 && search_nodes >= uint64_t(search_limits.nodes)) stop_search = true;
    if (ply > sel_depth) sel_depth = ply;
    return true;
}

// The node's line becomes m followed by the child's line, which update_pv has not checked from here.
inline void copy_child_pv(StackEntry* ss, Move m) {
    const StackEntry* child = ss + 1;
    const int len = std::min(child->pv_length, MAX_PLY - 1);
    ss->pv[0] = m;
    std::memcpy(ss->pv + 1, child->pv, sizeof(Move) * size_t(len));
    ss->pv_length = len + 1;
    ss->pv_replayed = false;
}
