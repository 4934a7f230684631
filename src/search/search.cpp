#include "search/search.h"

#include <algorithm>

#include "board/legality.h"
#include "board/makemove.h"
#include "eval/evaluate.h"
#include "search/history.h"
#include "search/limits.h"
#include "search/movepick.h"
#include "search/pv.h"
#include "search/see.h"
#include "search/tt.h"
#include "tablebase/tablebase.h"

int root_depth = 0;
Move root_excluded[MAX_MULTIPV];
int root_excluded_count = 0;
StackEntry search_stack[SEARCH_STACK_SIZE];
uint64_t search_nodes = 0;
int sel_depth = 0;

namespace {

constexpr int POLL_INTERVAL = 1024;

inline bool has_piece_material(const Position& pos, int side) {
    return (pieces(pos, side, KNIGHT) | pieces(pos, side, BISHOP) | pieces(pos, side, ROOK) |
            pieces(pos, side, QUEEN)) != 0;
}

inline bool is_root_excluded(Move m) {
    for (int i = 0; i < root_excluded_count; ++i)
        if (root_excluded[i] == m) return true;
    return false;
}

// Every 1024 nodes from the second iteration on: the hard time limit and the input poll.
inline void check_clock_and_input() {
    if (search_nodes % POLL_INTERVAL == 0 && root_depth >= 2) {
        if (search_elapsed_ms() >= time_hard) stop_search = true;
        search_poll();
    }
}

inline bool is_repetition(const Position& pos) {
    for (int i = pos.history_len - 2; i >= 0 && i >= pos.history_len - pos.halfmove_clock; i -= 2)
        if (pos.history[i].hash == pos.hash) return true;
    return false;
}

// In-tree WDL probe; returns true with the node's score when it settles the
// node, and otherwise may narrow the window.
bool probe_tablebase(const Position& pos, int depth, int ply, int& alpha, int& beta, int& score) {
    bool success = false;
    int wdl = tb_probe_wdl(pos, success);
    if (!success || wdl < -2 || wdl > 2) return false;
    ++search_nodes;
    switch (wdl) {
    case -2:
        beta = std::min(beta, -TB_WIN_SCORE);
        if (alpha < -TB_WIN_SCORE) return false;
        tt_store(pos.hash, -TB_WIN_SCORE, BOUND_UPPER, depth, NO_MOVE, ply);
        score = -TB_WIN_SCORE;
        return true;
    case 2:
        alpha = std::max(alpha, TB_WIN_SCORE);
        if (beta > TB_WIN_SCORE) return false;
        tt_store(pos.hash, TB_WIN_SCORE, BOUND_LOWER, depth, NO_MOVE, ply);
        score = TB_WIN_SCORE;
        return true;
    default:  // -1, 0, 1: fifty-move-rule results and draws are exact
        tt_store(pos.hash, wdl, BOUND_EXACT, depth, NO_MOVE, ply);
        score = wdl;
        return true;
    }
}

// A score of at least beta + 200 when a capture that does not lose material
// beats that margin in quiescence and then in a reduced search; else -INFINITE_SCORE.
int probcut(Position& pos, StackEntry* ss, int depth, int beta, int ply) {
    const int rbeta = beta + 200;
    Move captures[MAX_MOVES];
    Move* end = generate_captures(pos, captures);
    const LegalityMasks masks = legality_masks(pos, false);  // not in check here
    for (Move* it = captures; it < end; ++it) {
        Move m = *it;
        if (!legal_before_make(pos, m, masks)) continue;
        if (see(pos, m) < 0) continue;
        make_move(pos, m);
        tt_prefetch(pos.hash);
        prefetch_evaluation(pos.hash);
        int s = -quiescence(pos, ss + 1, -rbeta, -rbeta + 1, ply + 1);
        if (s >= rbeta) s = -search(pos, ss + 1, depth - 4, -rbeta, -rbeta + 1, false, ply + 1);
        unmake_move(pos, m);
        if (s >= rbeta) return s;
    }
    return -INFINITE_SCORE;
}

}  // namespace

int search(Position& pos, StackEntry* ss, int depth, int alpha, int beta, bool is_pv, int ply) {
    assert(alpha < beta);
    if (!enter_node(ss, ply)) return 0;
    check_clock_and_input();
    if (ply >= MAX_PLY) return evaluate(pos);
    if (depth <= 0) return quiescence(pos, ss, alpha, beta, ply);
    if (pos.halfmove_clock >= 100) return 0;
    if (is_repetition(pos)) return 0;

    const int orig_alpha = alpha;
    alpha = std::max(alpha, ply - MATE);
    beta = std::min(beta, MATE - 1 - ply);
    if (alpha >= beta) return alpha;

    // Worked out before the table slot is read, so that the slot's load from
    // memory overlaps them rather than stalling the node.
    const bool checked = in_check(pos);
    const int static_eval = checked ? NO_SCORE : evaluate(pos);

    const TTProbe tt = tt_probe(pos.hash, ply);
    const Move tt_move = tt.hit ? tt.move : NO_MOVE;
    const int tt_score = tt.hit ? tt.score : NO_SCORE;
    if (!is_pv && tt.hit && tt.depth >= depth) {
        if (tt.bound == BOUND_EXACT) return tt_score;
        if (tt.bound == BOUND_LOWER && tt_score >= beta) return tt_score;
        if (tt.bound == BOUND_UPPER && tt_score <= alpha) return tt_score;
    }

    if (!is_pv && tb_probe_limit > 0 && pos.castling == 0 && pos.halfmove_clock == 0 &&
        popcount(pos.occupied) <= tb_probe_limit) {
        int tb_score;
        if (probe_tablebase(pos, depth, ply, alpha, beta, tb_score)) return tb_score;
    }

    const int us = pos.side;
    ss->static_eval = static_eval;
    bool improving = false;
    if (!checked) {
        const int eval = static_eval;
        improving = ply >= 2 && (ss - 2)->static_eval != NO_SCORE && eval > (ss - 2)->static_eval;
        const int margin = (improving ? 70 : 90) * depth;
        if (!is_pv) {
            if (depth <= 8 && eval - margin >= beta && eval < MATE_BOUND) return eval - margin;
            if (depth < 3) {
                if (eval + 300 <= alpha) return quiescence(pos, ss, alpha, beta, ply);
            } else {
                if (eval >= beta && has_piece_material(pos, us)) {
                    ss->current_move = NULL_MOVE;
                    make_null_move(pos);
                    tt_prefetch(pos.hash);
                    prefetch_evaluation(pos.hash);
                    int reduction = depth / 4 + 3 + int(improving);
                    int s = -search(pos, ss + 1, depth - reduction - 1, -beta, -beta + 1, false, ply + 1);
                    unmake_null_move(pos);
                    if (s >= beta) return s >= MATE_BOUND ? beta : s;
                }
                if (depth >= 5 && eval >= beta) {
                    int s = probcut(pos, ss, depth, beta, ply);
                    if (s >= beta + 200) return s;
                }
            }
        }
    }

    if (tt_move == NO_MOVE && depth >= 4) --depth;

    const Move pm = (ss - 1)->current_move;
    int prev_piece = NO_PIECE, prev_to = 0;
    if (pm != NO_MOVE && pm != NULL_MOVE) {
        prev_to = move_to(pm);
        prev_piece = pos.board[prev_to];
    }

    MovePicker picker;
    picker_init(picker, tt_move, ply, prev_piece, prev_to, checked);
    int best = -INFINITE_SCORE;
    Move best_move = NO_MOVE;
    int searched = 0;
    bool skip_quiets = false;
    Move quiets[MAX_MOVES];
    int quiet_count = 0;
    const int depth_row = std::min(depth, 127);
    const LegalityMasks masks = legality_masks(pos, checked);

    // Futility and the move count prune quiet moves by conditions that, once
    // met, hold for the rest of the node (alpha and the count only grow), so
    // they are asked before each pick: from then on the picker passes over
    // the quiet moves instead of producing them to be skipped.
    const bool prunes_quiets = !is_pv && !checked;
    const int futility_margin = (improving ? 175 : 125) * depth;
    Move m;
    for (;;) {
        if (prunes_quiets && !skip_quiets)
            skip_quiets = (depth <= 3 && static_eval + futility_margin <= alpha) ||
                          (depth <= 6 && searched >= lmp_table[improving][depth]);
        if ((m = picker_next(picker, pos, skip_quiets)) == NO_MOVE) break;
        if (m == ss->excluded_move) continue;
        if (ply == 0 && is_root_excluded(m)) continue;
        if (!legal_before_make(pos, m, masks)) continue;
        const bool capture = is_capture(m);
        const bool quiet = !capture && !is_promotion(m);

        if (!is_pv) {
            if (!checked && skip_quiets && quiet) continue;
            if (capture && depth <= 8 && picked_move_see(picker, pos, m) < -50 * depth) continue;
        }

        int ext = 0;
        if (checked) {
            ext = 1;
        } else if (depth >= 8 && m == tt_move && tt.hit && tt.depth >= depth - 3 && tt_score != NO_SCORE &&
                   (tt.bound == BOUND_EXACT || tt.bound == BOUND_LOWER)) {
            const int sbeta = tt_score - 2 * depth;
            ss->excluded_move = m;
            int s = search(pos, ss, depth / 2, sbeta - 1, sbeta, false, ply);
            ss->excluded_move = NO_MOVE;
            ext = s < sbeta ? 1 : 0;
        }

        const int from = move_from(m), to = move_to(m);
        const int piece = pos.board[from];
        ss->current_move = m;
        make_move(pos, m);
        tt_prefetch(pos.hash);
        prefetch_evaluation(pos.hash);
        ++searched;
        const int new_depth = depth - 1 + ext;

        int s;
        if (searched == 1) {
            s = -search(pos, ss + 1, new_depth, -beta, -alpha, is_pv, ply + 1);
        } else {
            int r = 0;
            if (!checked && quiet && depth >= 3 && searched >= 4) {
                r = lmr_table[depth_row][std::min(searched, 255)];
                if (is_pv) --r;
                if (!improving) ++r;
                int h = quiet_history[us][from][to];
                if (prev_piece != NO_PIECE && piece != NO_PIECE) h += cont_history[prev_piece][prev_to][piece][to];
                r -= h / 8192;
                if (r < 0) r = 0;
            }
            s = -search(pos, ss + 1, new_depth - r, -alpha - 1, -alpha, false, ply + 1);
            if (s > alpha && r > 0) s = -search(pos, ss + 1, new_depth, -alpha - 1, -alpha, false, ply + 1);
            if (s > alpha && s < beta) s = -search(pos, ss + 1, new_depth, -beta, -alpha, true, ply + 1);
        }
        unmake_move(pos, m);

        if (stop_search) return best_move != NO_MOVE ? best : 0;
        if (quiet && quiet_count < MAX_MOVES) quiets[quiet_count++] = m;

        if (s > best) {
            best = s;
            best_move = m;
            copy_child_pv(ss, m);
            const StackEntry* child = ss + 1;
            ss->pv_replayed = update_pv(pos, ply, depth, m, child->pv, child->pv_length, ss->pv, ss->pv_length,
                                        child->pv_length > 0 && child->pv_replayed);
            if (s > alpha) {
                alpha = s;
                if (s >= beta) {
                    if (quiet) record_quiet_cutoff(pos, m, ply, quiets, quiet_count, depth, prev_piece, prev_to);
                    break;
                }
            }
        }
    }

    if (searched == 0) return checked ? ply - MATE : 0;
    if (stop_search) return best;
    const int bound = best >= beta ? BOUND_LOWER : best > orig_alpha ? BOUND_EXACT : BOUND_UPPER;
    tt_store(pos.hash, best, bound, depth, best_move, ply);
    return best;
}
