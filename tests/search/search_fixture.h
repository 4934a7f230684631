// Silent fixed-depth search for the tests: the same preparation as a `go`,
// plain iterative deepening over full windows, nothing printed.
#pragma once

#include <cstring>

#include "board/board_test_util.h"
#include "platform/clock.h"
#include "search/history.h"
#include "search/limits.h"
#include "search/root.h"
#include "search/search.h"
#include "search/tt.h"

struct FixedDepthResult {
    int score;
    Move move;
    uint64_t nodes;
};

inline void prepare_quiet_search() {
    search_nodes = 0;
    sel_depth = 0;
    stop_search = false;
    search_limits = SearchLimits{};
    search_start = tick_ms();
    time_soft = time_hard = NO_TIME_LIMIT;
    ++tt_generation;
    age_search_tables();
    root_excluded_count = 0;
    root_depth = 1;
    std::memset(search_stack, 0, sizeof(search_stack));
}

inline FixedDepthResult search_fixed_depth(Position& pos, int depth) {
    prepare_quiet_search();
    FixedDepthResult r{0, NO_MOVE, 0};
    StackEntry* root = &search_stack[ROOT_STACK_INDEX];
    for (int d = 1; d <= depth; ++d) {
        root_depth = d;
        r.score = search(pos, root, d, -INFINITE_SCORE, INFINITE_SCORE, true, 0);
        r.move = root->pv_length > 0 ? root->pv[0] : NO_MOVE;
    }
    r.nodes = search_nodes;
    return r;
}

// Clean learned state and a small table, so results do not depend on earlier tests.
inline void reset_search_state(int hash_mb = 16) {
    tt_resize(hash_mb);
    tt_clear();
    clear_search_tables();
}
