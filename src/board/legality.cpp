#include "board/legality.h"

void generate_legal_moves(const Position& pos, MoveList& list) {
    Move scratch[MAX_MOVES];
    Move* end = generate_moves(pos, scratch);
    const LegalityMasks masks = legality_masks(pos, in_check(pos));
    list.count = 0;
    for (Move* m = scratch; m < end; ++m)
        if (legal_before_make(pos, *m, masks)) list.moves[list.count++] = *m;
}
