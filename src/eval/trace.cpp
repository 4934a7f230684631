#include "eval/trace.h"

#include <cstdio>

#include "eval/evaluate.h"
#include "eval/pawns.h"
#include "eval/psq.h"
#include "eval/terms.h"

namespace {

void print_halves(const char* name, int mg, int eg) { std::printf("%-16s  MG: %+5d  EG: %+5d\n", name, mg, eg); }

void print_score(const char* name, Score s) { print_halves(name, mg_value(s), eg_value(s)); }

}  // namespace

void eval_trace(const Position& pos) {
    EvalAttacks at;
    score_attack_terms(pos, at);
    const Score black_rooks = eval_rooks(pos, BLACK);
    const int white_danger = eval_king_danger(pos, at, WHITE), black_danger = eval_king_danger(pos, at, BLACK);
    int bishop_pair = 0;
    if (popcount(pos.piece_bb[W_BISHOP]) >= 2) bishop_pair += 22;
    if (popcount(pos.piece_bb[B_BISHOP]) >= 2) bishop_pair -= 22;

    std::printf("=== Evaluation Trace ===\n");
    std::printf("Phase: %d/%d\n", game_phase(pos), MAX_PHASE);
    print_score("Material+PST", pos.psq_score);
    print_score("Pawns", eval_pawns(pos));
    print_score("Mobility", at.mobility[WHITE] - at.mobility[BLACK]);
    print_score("RooksW", eval_rooks(pos, WHITE));
    // Black's rook term as it enters the sum: each half read, then negated.
    print_halves("RooksB", -mg_value(black_rooks), -eg_value(black_rooks));
    print_score("Threats", at.threats[WHITE] - at.threats[BLACK]);
    std::printf("%-16s  %+5d\n", "BishopPair", bishop_pair);
    std::printf("%-16s  W: %d  B: %d  net: %+d\n", "KingSafety", white_danger, black_danger,
                black_danger - white_danger);
    std::printf("---\n");
    std::printf("Total (side-to-move): %+d cp\n", evaluate(pos));
    std::fflush(stdout);
}
