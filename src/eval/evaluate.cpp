#include "eval/evaluate.h"

#include "eval/attack_terms.h"
#include "eval/endgames.h"
#include "eval/pawns.h"
#include "eval/psq.h"
#include "eval/terms.h"

namespace {

constexpr Score BISHOP_PAIR = make_score(22, 30);
constexpr int TEMPO_BONUS = 20;  // for the side to move

// Below this phase a lone rook or queen side can be mating a bare king.
constexpr int MATING_PHASE_LIMIT = 8;

// Recent results by position key. The value depends on the pieces, the side
// to move and the running material/placement sum, which a Style change
// without a new position leaves on the old tables; so the sum is part of the
// match. A key of 0 is never cached, which keeps the zeroed slots empty. Like
// the transposition table, this trusts that two positions never share a key.
struct EvalCacheEntry {
    uint64_t key;
    Score psq_score;
    int32_t value;
};
constexpr int EVAL_CACHE_SIZE = 1 << 18;  // 4 MB: several iterations' worth of leaves
EvalCacheEntry eval_cache[EVAL_CACHE_SIZE];

int evaluate_uncached(const Position& pos);

}  // namespace

void prefetch_evaluation(uint64_t key) { __builtin_prefetch(&eval_cache[key % EVAL_CACHE_SIZE]); }

int evaluate(const Position& pos) {
    EvalCacheEntry& e = eval_cache[pos.hash % EVAL_CACHE_SIZE];
    if (e.key == pos.hash && e.psq_score == pos.psq_score && pos.hash != 0) return e.value;
    const int value = evaluate_uncached(pos);
    e = {pos.hash, pos.psq_score, value};
    return value;
}

namespace {

int evaluate_uncached(const Position& pos) {
    const Bitboard* bb = pos.piece_bb;
    const int tempo = pos.side == WHITE ? TEMPO_BONUS : -TEMPO_BONUS;
    // A hand-written position without a king gets material and placement only.
    if (!bb[W_KING] || !bb[B_KING]) {
        int v = taper(pos.psq_score, game_phase(pos)) + tempo;
        return pos.side == WHITE ? v : -v;
    }

    EvalAttacks at;
    score_attack_terms(pos, at);

    Score s = pos.psq_score;
    s += eval_pawns(pos);
    s += at.mobility[WHITE] - at.mobility[BLACK];
    s += eval_outposts(pos, at, WHITE) - eval_outposts(pos, at, BLACK);
    if (popcount(bb[W_BISHOP]) >= 2) s += BISHOP_PAIR;
    if (popcount(bb[B_BISHOP]) >= 2) s -= BISHOP_PAIR;
    s += eval_rooks(pos, WHITE) - eval_rooks(pos, BLACK);
    s += at.threats[WHITE] - at.threats[BLACK];
    s += eval_king_danger(pos, at, BLACK) - eval_king_danger(pos, at, WHITE);  // middle-game half only
    s += eval_passed_extras(pos);

    if (is_insufficient_material(pos)) return 0;
    const int phase = game_phase(pos);
    if (phase < MATING_PHASE_LIMIT)
        if (int mate = bare_king_mate_value(pos)) return mate;

    int v = taper(s, phase) + eval_special_endgames(pos) + tempo;
    if (int f = eval_scale_factor(pos, v); f != NORMAL_SCALE) v = f * v / NORMAL_SCALE;
    return pos.side == WHITE ? v : -v;
}

}  // namespace
