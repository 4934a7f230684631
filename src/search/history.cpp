#include "search/history.h"

#include <cstring>

int32_t quiet_history[2][64][64];
int32_t cont_history[12][64][12][64];
Move killers[128][2];
Move counter_moves[12][64];

namespace {
// Depth 127 keeps the bonus below 16384, which keeps every entry within +-16384.
constexpr int MAX_BONUS_DEPTH = 127;
}

void update_quiet_stats(const Position& pos, Move best_move, const Move* quiets, int quiet_count, int depth,
                        int prev_piece, int prev_to) {
    if (depth > MAX_BONUS_DEPTH) depth = MAX_BONUS_DEPTH;
    const int bonus = depth * depth;
    const int side = pos.side;
    apply_gravity(quiet_history[side][move_from(best_move)][move_to(best_move)], bonus);
    for (int i = 0; i < quiet_count; ++i) {
        Move m = quiets[i];
        if (m != best_move) apply_gravity(quiet_history[side][move_from(m)][move_to(m)], -bonus);
    }
    if (prev_piece == NO_PIECE) return;
    int32_t (*cont)[64] = cont_history[prev_piece][prev_to];
    int piece = pos.board[move_from(best_move)];
    if (piece != NO_PIECE) apply_gravity(cont[piece][move_to(best_move)], bonus);
    for (int i = 0; i < quiet_count; ++i) {
        Move m = quiets[i];
        piece = pos.board[move_from(m)];
        if (m != best_move && piece != NO_PIECE) apply_gravity(cont[piece][move_to(m)], -bonus);
    }
}

void record_quiet_cutoff(const Position& pos, Move move, int ply, const Move* quiets, int quiet_count, int depth,
                         int prev_piece, int prev_to) {
    if (killers[ply][0] != move) {
        killers[ply][1] = killers[ply][0];
        killers[ply][0] = move;
    }
    update_quiet_stats(pos, move, quiets, quiet_count, depth, prev_piece, prev_to);
    if (prev_piece != NO_PIECE) counter_moves[prev_piece][prev_to] = move;
}

void clear_search_tables() {
    std::memset(quiet_history, 0, sizeof(quiet_history));
    std::memset(cont_history, 0, sizeof(cont_history));
    std::memset(killers, 0, sizeof(killers));
    std::memset(counter_moves, 0, sizeof(counter_moves));
}

void age_search_tables() {
    std::memset(killers, 0, sizeof(killers));
    for (auto& side : quiet_history)
        for (auto& from : side)
            for (int32_t& v : from) v /= 2;
    int32_t* cont = &cont_history[0][0][0][0];
    for (size_t i = 0; i < sizeof(cont_history) / sizeof(int32_t); ++i) cont[i] /= 2;
}
