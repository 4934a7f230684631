// What the main search and the quiescence search do alike at every node.
#pragma once

#include <algorithm>
#include <cstring>

#include "search/limits.h"
#include "search/search.h"

// Node entry: clears the node's line, counts the node (the node limit may
// stop the search here) and raises the selective depth. False when the
// search is stopping, and the node returns at once.
inline bool enter_node(StackEntry* ss, int ply) {
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
