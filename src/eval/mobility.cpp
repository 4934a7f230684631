#include "eval/terms.h"

Score eval_mobility(const Position&, const EvalAttacks& at, int color) { return at.mobility[color]; }

Score eval_mobility(const Position& pos, int color) {
    EvalAttacks at;
    collect_attacks(pos, at);
    return eval_mobility(pos, at, color);
}
