#include "eval/evaluate.h"

#include "eval/psq.h"

// Material and placement only, until the full set of terms lands.
int evaluate(const Position& pos) {
    int v = taper(pos.psq_score, game_phase(pos)) + (pos.side == WHITE ? TEMPO_BONUS : -TEMPO_BONUS);
    return pos.side == WHITE ? v : -v;
}
