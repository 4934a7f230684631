#include "search/root.h"

#include <cstdio>
#include <cstring>

#include "board/legality.h"
#include "platform/clock.h"
#include "search/history.h"
#include "search/info.h"
#include "search/output.h"
#include "search/pv.h"
#include "search/search.h"
#include "search/tt.h"
#include "tablebase/tablebase.h"

RootLine root_lines[MAX_MULTIPV];
int root_line_count = 0;
Move best_root_move = NO_MOVE;
int multipv = 1;

namespace {

constexpr int MAX_ITERATION_DEPTH = 127;
constexpr int ASPIRATION_START_DEPTH = 5;
constexpr int ASPIRATION_WINDOW = 25;
constexpr int WINDOW_SNAP = 31900;  // bounds beyond this open fully

StackEntry* const root_entry = &search_stack[ROOT_STACK_INDEX];

// Root search of one line, with an aspiration window around prev from depth 5 on.
int search_line(Position& pos, int depth, int prev) {
    if (depth < ASPIRATION_START_DEPTH) return search(pos, root_entry, depth, -INFINITE_SCORE, INFINITE_SCORE, true, 0);
    int a = prev - ASPIRATION_WINDOW, b = prev + ASPIRATION_WINDOW, delta = ASPIRATION_WINDOW;
    int s = search(pos, root_entry, depth, a, b, true, 0);
    while (!stop_search) {
        if (s <= a) a -= delta;
        else if (s < b) break;
        else b += delta;
        delta *= 2;
        if (a < -WINDOW_SNAP) a = -INFINITE_SCORE;
        if (b > WINDOW_SNAP) b = INFINITE_SCORE;
        s = search(pos, root_entry, depth, a, b, true, 0);
    }
    return s;
}

// The tables' move when they cover the root; true when it has been played.
bool play_tablebase_move(Position& pos) {
    if (tb_probe_limit <= 0 || pos.castling != 0 || popcount(pos.occupied) > tb_probe_limit) return false;
    Move m = NO_MOVE;
    if (!tb_root_move(pos, m) || m == NO_MOVE) return false;
    best_root_move = m;
    std::printf("info depth 1 seldepth 1 score cp 0 nodes 1 tbhits 1 pv %s\n", move_to_str(m));
    std::printf("bestmove %s\n", move_to_str(m));
    std::fflush(stdout);
    return true;
}

void iterate(Position& pos, int max_depth, int lines) {
    for (int d = 1;; ++d) {
        if (stop_search) break;
        root_depth = d;
        for (int i = 0; i < lines && !stop_search; ++i) {
            root_excluded_count = i;
            for (int k = 0; k < i; ++k) root_excluded[k] = root_lines[k].move;
            const int prev = d >= 2 && i < root_line_count ? root_lines[i].score : 0;
            const int s = search_line(pos, d, prev);
            if (stop_search && d > 1) break;
            if (root_entry->pv_length == 0) break;
            RootLine& line = root_lines[i];
            line.move = root_entry->pv[0];
            line.score = s;
            line.pv_length = root_entry->pv_length;
            std::memcpy(line.pv, root_entry->pv, sizeof(Move) * size_t(line.pv_length));
            print_info(pos, d, multipv > 1 ? i + 1 : 0, s, line.pv, line.pv_length);
        }
        root_excluded_count = 0;
        root_line_count = lines;
        // An empty line 0 means the root itself is a draw by rule: deeper iterations cannot change that.
        if (root_lines[0].pv_length == 0) break;
        best_root_move = root_lines[0].move;
        if (search_elapsed_ms() >= time_soft) break;
        search_poll();
        if (stop_search) break;
        if (d + 1 > max_depth) break;
    }
}

}  // namespace

void start_search(Position& pos, const SearchLimits& limits) {
    pv_report_active = false;
    search_nodes = 0;
    sel_depth = 0;
    stop_search = false;
    best_root_move = NO_MOVE;
    search_limits = limits;
    search_start = tick_ms();

    const TimeBudget budget = allot_time(limits, pos.side);
    time_soft = budget.soft;
    time_hard = budget.hard;

    ++tt_generation;
    age_search_tables();
    root_excluded_count = 0;
    root_line_count = 0;
    std::memset(search_stack, 0, sizeof(search_stack));

    if (play_tablebase_move(pos)) return;

    MoveList legal;
    generate_legal_moves(pos, legal);
    if (legal.count == 0) {
        std::printf("bestmove 0000\n");
        std::fflush(stdout);
        return;
    }

    const int max_depth = limits.depth > 0 ? limits.depth : MAX_ITERATION_DEPTH;
    const int lines = multipv < legal.count ? multipv : legal.count;
    std::memset(root_lines, 0, sizeof(RootLine) * size_t(lines));
    iterate(pos, max_depth, lines);

    if (best_root_move == NO_MOVE) best_root_move = legal.moves[0];
    char text[64];
    std::snprintf(text, sizeof(text), "bestmove %s", move_to_str(best_root_move));
    search_print(text);
}
