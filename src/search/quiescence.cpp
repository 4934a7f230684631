#include <algorithm>
#include <cstring>

#include "board/legality.h"
#include "board/makemove.h"
#include "eval/evaluate.h"
#include "search/limits.h"
#include "search/search.h"
#include "search/see.h"
#include "search/tt.h"

namespace {
constexpr int DELTA_MARGIN = 200;
constexpr int CLOCK_INTERVAL = 4096;
}  // namespace

int quiescence(Position& pos, StackEntry* ss, int alpha, int beta, int ply) {
    assert(alpha < beta);
    if (!enter_node(ss, ply)) return 0;
    if (search_nodes % CLOCK_INTERVAL == 0 && search_elapsed_ms() >= time_hard) stop_search = true;

    const int stand_pat = evaluate(pos);
    if (ply >= MAX_PLY) return stand_pat;
    if (stand_pat >= beta) return stand_pat;
    alpha = std::max(alpha, stand_pat);

    const TTProbe tt = tt_probe(pos.hash, ply);
    if (tt.hit) {
        if (tt.bound == BOUND_EXACT) return tt.score;
        if (tt.bound == BOUND_LOWER && tt.score >= beta) return tt.score;
        if (tt.bound == BOUND_UPPER && tt.score <= alpha) return tt.score;
    }

    // Only captures that win material and could bring the score near alpha
    // are ever tried; as alpha only rises, the others are left out at once,
    // most without an exchange evaluation. That leaves the order of the rest
    // as it is.
    Move moves[MAX_MOVES];
    int values[MAX_MOVES];
    const int generated = int(generate_captures(pos, moves) - moves);
    int count = 0;
    for (int i = 0; i < generated; ++i) {
        if (captured_value(pos, moves[i]) + DELTA_MARGIN + stand_pat < alpha) continue;
        const int v = see(pos, moves[i]);
        if (v < 0 || v + DELTA_MARGIN + stand_pat < alpha) continue;
        moves[count] = moves[i];
        values[count++] = v;
    }

    int best = stand_pat;
    Move best_move = NO_MOVE;
    // Needed exactly when a capture is kept: each could reach alpha as it stands, so the first is always tried.
    const LegalityMasks masks = count > 0 ? legality_masks(pos, in_check(pos)) : LegalityMasks{};
    for (int i = 0; i < count; ++i) {
        // The first maximum of the rest moves up front; the others keep generation order.
        int pick = i;
        for (int j = i + 1; j < count; ++j)
            if (values[j] > values[pick]) pick = j;
        const Move m = moves[pick];
        const int v = values[pick];
        std::memmove(moves + i + 1, moves + i, sizeof(Move) * size_t(pick - i));
        std::memmove(values + i + 1, values + i, sizeof(int) * size_t(pick - i));
        moves[i] = m;
        values[i] = v;

        if (v + DELTA_MARGIN + stand_pat < alpha) break;  // and so every later, smaller one
        if (!legal_before_make(pos, m, masks)) continue;
        make_move(pos, m);
        tt_prefetch(pos.hash);
        prefetch_evaluation(pos.hash);
        const int s = -quiescence(pos, ss + 1, -beta, -alpha, ply + 1);
        unmake_move(pos, m);
        if (stop_search) return best_move != NO_MOVE ? best : 0;
        if (s > best) {
            best = s;
            best_move = m;
            if (s > alpha) {
                copy_child_pv(ss, m);
                alpha = s;
                if (s >= beta) break;
            }
        }
    }

    if (stop_search) return best;
    const int bound = best >= beta ? BOUND_LOWER : best > stand_pat ? BOUND_EXACT : BOUND_UPPER;
    tt_store(pos.hash, best, bound, 0, best_move, ply);
    return best;
}
